// What must hold after any extraction, whatever the server sent: shared by the parser's fuzz
// targets. The checks derive every expectation from the raw bytes, not from the parser.
#ifndef CERT_FETCH_PARSER_FUZZ_CHECKS_H
#define CERT_FETCH_PARSER_FUZZ_CHECKS_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fake_network.h"
#include "fetch_certificate.h"
#include "recording_console.h"
#include "response_parser.h"

inline void Require(bool holds, const char* what) {
  if (holds) return;
  fprintf(stderr, "extraction check failed: %s\n", what);
  abort();
}

const unsigned char Untouched = 0xEE;

struct ParserRun {
  int status;
  uint32_t capacity;
  uint32_t size;
  std::vector<unsigned char> certificate;  // exactly capacity bytes, so ASan sees any overrun
  std::vector<unsigned char> answer;       // the receive buffer after the call
};

inline ParserRun RunExtraction(const std::vector<unsigned char>& answer, int32_t count,
                               uint32_t capacity) {
  ParserRun run;
  run.capacity = capacity;
  run.size = capacity;
  run.certificate.assign(capacity == 0 ? 1 : capacity, Untouched);
  run.answer = answer;
  run.status = ExtractCertificate(5, run.answer.data(), count, run.certificate.data(), run.size);
  return run;
}

inline uint32_t Big16(const std::vector<unsigned char>& at, size_t i) {
  return static_cast<uint32_t>(at[i]) << 8 | at[i + 1];
}

inline bool EndsWith(const std::string& text, const char* tail) {
  size_t length = strlen(tail);
  return text.size() >= length && text.compare(text.size() - length, length, tail) == 0;
}

// received: the receive buffer as the worker left it, count bytes of answer then zeros.
inline void CheckExtraction(const ParserRun& run, const std::vector<unsigned char>& received,
                            int32_t count) {
  Require(Network.closes.load() == 1, "the socket is closed exactly once");
  Require(Network.receiveLimits.size() <= 1, "at most one further receive");
  Require(Console.text.rfind("\n\n\n[*] Downloading the SSL Certificate from the server", 0) == 0,
          "the step is announced first");
  Require(memcmp(run.answer.data(), received.data(), count) == 0,
          "the data already received stays as it was");

  // The layout as the raw bytes give it. Both lengths count in all their 24 bits, so that a
  // huge length cannot pass for a small one.
  const bool hello = received[0] == 0x16 && received[5] == 0x02;
  const uint32_t helloEnd = 9 + Big16(received, 7);
  int32_t message = -1;
  if (hello && received[6] == 0 && helloEnd <= 200) {
    if (received[helloEnd] == 0x0B)
      message = static_cast<int32_t>(helloEnd);
    else if (received[helloEnd] == 0x16 && received[helloEnd + 5] == 0x0B)
      message = static_cast<int32_t>(helloEnd + 5);
  }
  const uint32_t length24 =
      message < 0 ? 0 : static_cast<uint32_t>(received[message + 7]) << 16 | Big16(received, message + 8);
  const int64_t available = message < 0 ? 0 : static_cast<int64_t>(count) - message - 10;

  // One more receive for a certificate that fits but has not all arrived, if there is room;
  // it brings what the stand-in network was scripted to give.
  const int room = ReceiveBufferSize - 1 - count;
  const bool wanted = message >= 0 && length24 <= run.capacity && available < length24;
  const bool receiveMade = Network.receiveLimits.size() == 1;
  Require(receiveMade == (wanted && room > 0), "a further receive exactly when one is due");
  int got = 0;
  if (receiveMade) {
    Require(Network.receiveLimits[0] == room, "it asks for the room left less the closing zero");
    got = Network.receives.empty() ? -1
          : static_cast<int>(Network.receives[0].size()) < room
              ? static_cast<int>(Network.receives[0].size())
              : room;
  }
  const int32_t total = count + (got > 0 ? got : 0);
  Require(run.answer[total] == 0, "a zero byte follows the data");

  int expected = Success;
  if (!hello)
    expected = NotServerHello;
  else if (message < 0)
    expected = BadLayout;
  else if (length24 > run.capacity)
    expected = BufferTooSmall;
  else if (got < 0)
    expected = ReceiveFailed;
  else if (available + got < length24)
    expected = CertificateIncomplete;
  Require(run.status == expected, "the status is the one the answer calls for");

  if (run.status == Success) {
    Require(run.size == length24, "the size is the certificate's length");
    Require(message + 10 + static_cast<int64_t>(run.size) <= total,
            "the certificate lies within the received data");
    Require(memcmp(run.certificate.data(), run.answer.data() + message + 10, run.size) == 0,
            "the certificate is copied as received");
    for (size_t i = run.size; i < run.capacity; ++i)
      Require(run.certificate[i] == Untouched, "nothing is written past the certificate");
    Require(EndsWith(Console.text, "\n\t Successfully downloaded the SSL Certificate"),
            "success is reported");
    return;
  }
  Require(run.size == run.capacity, "a failure keeps the size");
  for (size_t i = 0; i < run.capacity; ++i)
    Require(run.certificate[i] == Untouched, "a failure leaves the buffer alone");
  const char* report =
      run.status == BufferTooSmall
          ? "\n\n\t Error: Buffer size is too small to copy certificate from server.\n\n"
      : run.status == NotServerHello || run.status == BadLayout
          ? ImproperResponseMessage
          : "\n\n\t Error: Failed to receive complete SSL certificate from server. Kindly try "
            "again.\n\n";
  Require(EndsWith(Console.text, report), "the failure is reported with its message");
}

#endif
