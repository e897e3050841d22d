#include "port_text.h"

#include <climits>

namespace {
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
}  // namespace

int ConvertPortText(const char* text) {
  while (IsSpace(*text)) ++text;
  bool negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;
  // One past INT_MAX is the magnitude of INT_MIN; stop growing beyond it.
  const long long limit = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    magnitude = magnitude * 10 + (*text - '0');
    if (magnitude > limit) magnitude = limit;
  }
  if (negative) return static_cast<int>(-magnitude);
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}
