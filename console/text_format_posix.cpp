#include "text_format.h"

#include <cstdio>

void FormatTextList(char* buffer, size_t size, const char* format, va_list arguments) {
  vsnprintf(buffer, size, format, arguments);
}
