// Fuzz target: an answer cut where the input says, with how the stream ends and any capacity
// of the caller's buffer.
//
// Input: one byte for the end (even: the server closes, odd: a receive fails), two bytes
// big-endian for the capacity, one byte k for the number of cuts, k two-byte big-endian cut
// positions, then the answer as the server sends it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "parser_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const StreamEnd end = data[0] % 2 == 0 ? ServerCloses : ReceiveBreaks;
  const uint32_t capacity = static_cast<uint32_t>(data[1]) << 8 | data[2];
  const size_t cutCount = data[3];
  size_t header = 4 + 2 * cutCount;
  if (size < header) return 0;
  StreamedAnswer streamed = {
      std::string(reinterpret_cast<const char*>(data) + header, size - header), end, {}};
  for (size_t i = 0; i < cutCount; ++i) {
    size_t cut = static_cast<size_t>(data[4 + 2 * i]) << 8 | data[5 + 2 * i];
    if (cut > 0 && cut < streamed.bytes.size()) streamed.cuts.push_back(cut);
  }
  std::sort(streamed.cuts.begin(), streamed.cuts.end());
  streamed.cuts.erase(std::unique(streamed.cuts.begin(), streamed.cuts.end()),
                      streamed.cuts.end());
  CheckStreamedFetch(streamed, capacity);
  return 0;
}
