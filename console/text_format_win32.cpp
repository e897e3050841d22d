#include "text_format.h"

#include <cstdio>

// XP's msvcrt.dll has no C99 vsnprintf, and the runtime's stand-in for it brings a whole
// printf of its own into the image. msvcrt's _vsnprintf is on every Windows, but leaves
// the buffer unterminated when the text fills or overflows it: it gets one byte less, and
// the zero is added only in those two cases.
void FormatTextList(char* buffer, size_t size, const char* format, va_list arguments) {
  if (size == 0) return;
  int written = _vsnprintf(buffer, size - 1, format, arguments);
  if (written < 0 || static_cast<size_t>(written) >= size - 1) buffer[size - 1] = '\0';
}
