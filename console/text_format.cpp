#include "text_format.h"

void FormatText(char* buffer, size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  FormatTextList(buffer, size, format, arguments);
  va_end(arguments);
}
