// Fuzz target: the port argument, any text. The C library's own conversion, clamped to the
// int range, is the reference for what the fetcher must make of it.
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "port_text.h"

namespace {

int SaturatedReference(const char* text) {
  errno = 0;
  long long value = strtoll(text, nullptr, 10);  // saturates at the long long range itself
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Exactly the text and its zero, so that a read past the end is caught.
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  const int port = ConvertPortText(text.data());
  const int expected = SaturatedReference(text.data());
  if (port != expected) {
    fprintf(stderr, "ConvertPortText gave %d, expected %d\n", port, expected);
    abort();
  }
  return 0;
}
