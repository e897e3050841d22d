// Fuzz target: the check that tells a dotted IPv4 literal from a host name, on any text.
// Only the check runs here: a text it accepts is never connected to.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host_address.h"

namespace {

// At most 15 characters, digits and dots only, at most three dots.
int Reference(const char* text) {
  const size_t length = strlen(text);
  if (length > 15 || strspn(text, "0123456789.") != length) return 0;
  int dots = 0;
  for (const char* c = strchr(text, '.'); c != nullptr; c = strchr(c + 1, '.')) ++dots;
  return dots <= 3 ? 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  const int literal = IsDottedIPv4(text.data());
  if (literal != Reference(text.data())) {
    fprintf(stderr, "IsDottedIPv4 gave %d for \"%s\"\n", literal, text.data());
    abort();
  }
  return 0;
}
