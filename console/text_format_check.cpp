// A Windows check program for the formatting seam, run under Wine by the tests: it formats
// texts of every length around the size of a small buffer and prints each buffer whole, so
// that a missing zero or a byte written past it shows.
#include <cstdio>

#include "text_format.h"

int main() {
  const char Digits[] = "0123456789";
  const unsigned BufferSize = 8;
  for (unsigned size = 0; size <= BufferSize; ++size) {
    for (unsigned length = 0; length <= BufferSize + 1; ++length) {
      char buffer[BufferSize];
      for (char& c : buffer) c = '#';
      FormatText(buffer, size, "%.*s", static_cast<int>(length), Digits);
      printf("%u %u ", size, length);
      for (char c : buffer) putchar(c == '\0' ? '|' : c);
      putchar('\n');
    }
  }
  return 0;
}
