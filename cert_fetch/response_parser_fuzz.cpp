// Fuzz target: any first answer, as the worker hands it to the parser. A second receive, if
// the parser asks for one, finds the connection closed.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fake_network.h"
#include "fetch_certificate.h"
#include "parser_fuzz_checks.h"
#include "recording_console.h"
#include "response_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetRecordingConsole();
  ResetFakeNetwork();
  Network.receives = {""};

  // The worker accepts 90 to 9999 bytes; a shorter input stands for an answer padded with
  // zero bytes, which is what an answer of zero bytes reads as.
  const size_t count = size < ShortestAnswer ? ShortestAnswer
                       : size > ReceiveBufferSize - 1 ? ReceiveBufferSize - 1
                                                      : size;
  // On the heap and exactly as large as the product's, so a read past it is caught.
  std::vector<unsigned char> answer(ReceiveBufferSize, 0);
  memcpy(answer.data(), data, size < count ? size : count);
  const std::vector<unsigned char> received(answer);

  ParserRun run = RunExtraction(answer, static_cast<int32_t>(count), 20000);
  CheckExtraction(run, received, static_cast<int32_t>(count));
  return 0;
}
