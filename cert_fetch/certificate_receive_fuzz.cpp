// Fuzz target: an answer that the server sends in two parts, the parser's further receive
// included, with any capacity of the caller's buffer.
//
// Input: one byte for how the further receive ends (0: it fails, 1: the server has closed,
// else: it brings the rest of the input), two bytes big-endian for the length of the first
// receive, two for the capacity, then the answer as the server sends it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fake_network.h"
#include "fetch_certificate.h"
#include "parser_fuzz_checks.h"
#include "recording_console.h"
#include "response_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t HeaderLength = 5;
  if (size < HeaderLength) return 0;
  ResetRecordingConsole();
  ResetFakeNetwork();
  const unsigned char ending = data[0];
  size_t first = static_cast<size_t>(data[1]) << 8 | data[2];
  const uint32_t capacity = static_cast<uint32_t>(data[3]) << 8 | data[4];
  data += HeaderLength;
  size -= HeaderLength;

  const size_t longest = ReceiveBufferSize - 1;
  if (first < ShortestAnswer) first = ShortestAnswer;
  if (first > longest) first = longest;
  std::vector<unsigned char> answer(ReceiveBufferSize, 0);
  const size_t taken = size < first ? size : first;
  memcpy(answer.data(), data, taken);
  const std::vector<unsigned char> received(answer);
  if (ending == 1)
    Network.receives = {""};
  else if (ending != 0)
    Network.receives = {std::string(reinterpret_cast<const char*>(data) + taken, size - taken)};

  ParserRun run = RunExtraction(answer, static_cast<int32_t>(first), capacity);
  CheckExtraction(run, received, static_cast<int32_t>(first));
  return 0;
}
