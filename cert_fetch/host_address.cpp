#include "host_address.h"

#include "network.h"
#include "text_format.h"

namespace {
const size_t LongestLiteral = 15;
const int MostDots = 3;
}  // namespace

int IsDottedIPv4(const char* text) {
  int dots = 0;
  for (size_t i = 0; text[i] != '\0'; ++i) {
    if (i >= LongestLiteral) return 0;
    if (text[i] == '.')
      ++dots;
    else if (text[i] < '0' || text[i] > '9')
      return 0;
  }
  return dots > MostDots ? 0 : 1;
}

int ResolveHost(const char* name, char* buffer, size_t size) {
  unsigned char address[4];
  if (!Net.lookupFirstIPv4(name, address)) return 0;
  FormatText(buffer, size, "%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
  return 1;
}
