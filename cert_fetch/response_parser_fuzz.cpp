// Fuzz target: any answer, in one piece and cut into pieces at points drawn from its own
// bytes, ending with the server's close. Both must end as the bytes call for.
#include <cstddef>
#include <cstdint>
#include <string>

#include "parser_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StreamedAnswer streamed = {std::string(reinterpret_cast<const char*>(data), size), ServerCloses,
                             {}};
  // A cheap, repeatable walk over the answer: each step moves on by 1 to 256 bytes.
  uint32_t state = 2166136261u;
  for (size_t i = 0; i < size; ++i) state = (state ^ data[i]) * 16777619u;
  for (size_t cut = 0;;) {
    state = state * 1103515245u + 12345u;
    cut += 1 + (state >> 16) % 256;
    if (cut >= size) break;
    streamed.cuts.push_back(cut);
  }
  CheckStreamedFetch(streamed, 20000);
  return 0;
}
