// What must hold after any fetch of an answer, whatever the server sent and however TCP cut
// it into receives: shared by the parser's fuzz targets. The expected outcome is worked out
// from the raw bytes, not from the parser.
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

inline void Require(bool holds, const char* what) {
  if (holds) return;
  fprintf(stderr, "fetch check failed: %s\n", what);
  abort();
}

const unsigned char Untouched = 0xEE;

// What the user is left with: a message, or the saved certificate.
enum OutcomeKind { Saved, Improper, NoResponse, TooSmall, Incomplete };

struct Outcome {
  OutcomeKind kind;
  std::string certificate;
};

// After the answer the server either closes the connection or the next receive fails.
enum StreamEnd { ServerCloses, ReceiveBreaks };

// The answer as it arrives, with how the stream ends and where TCP cut it.
struct StreamedAnswer {
  std::string bytes;
  StreamEnd end;
  std::vector<size_t> cuts;  // ascending positions inside bytes
};

inline unsigned char ByteOr0(const std::string& bytes, size_t taken, size_t at) {
  return at < taken ? static_cast<unsigned char>(bytes[at]) : 0;
}

inline Outcome ExpectedOutcome(const std::string& bytes, StreamEnd end, uint32_t capacity) {
  const size_t taken = bytes.size() < 9999 ? bytes.size() : 9999;  // the buffer, less its zero
  auto at = [&](size_t i) { return ByteOr0(bytes, taken, i); };
  auto length24 = [&](size_t i) {
    return static_cast<uint32_t>(at(i)) << 16 | static_cast<uint32_t>(at(i + 1)) << 8 | at(i + 2);
  };
  // The layout read over what can ever be taken, as zero past it; last is the highest position
  // that the verdict rests on.
  OutcomeKind verdict = Saved;
  size_t last = 0, start = 0;
  uint32_t n = 0;
  if (at(0) != 0x16) {
    verdict = Improper;
  } else if (at(5) != 0x02) {
    verdict = Improper, last = 5;
  } else if (length24(6) + 9 > 200) {
    verdict = Improper, last = 8;
  } else {
    size_t message = length24(6) + 9;
    last = message;
    if (at(message) == 0x16) last = message += 5;
    if (at(message) != 0x0B) {
      verdict = Improper;
    } else {
      last = message + 9;
      n = length24(message + 7);
      start = message + 10;
      if (n > capacity) verdict = TooSmall;
    }
  }
  const bool decided = last < taken && (verdict == Improper || taken >= 90);
  // Undecided, the worker reads on to the end of the stream.
  if (!decided && end == ReceiveBreaks && taken == bytes.size()) return {NoResponse, ""};
  if (taken < 90) return {Improper, ""};
  if (verdict != Saved) return {verdict, ""};
  if (start + n > taken) return {Incomplete, ""};
  return {Saved, bytes.substr(start, n)};
}

inline std::vector<std::string> Pieces(const StreamedAnswer& streamed) {
  std::vector<std::string> pieces;
  size_t from = 0;
  for (size_t cut : streamed.cuts) {
    pieces.push_back(streamed.bytes.substr(from, cut - from));
    from = cut;
  }
  if (from < streamed.bytes.size()) pieces.push_back(streamed.bytes.substr(from));
  if (streamed.end == ServerCloses) pieces.push_back("");
  return pieces;
}

inline bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The worker's part and the rest, on this thread over the stand-in network.
inline Outcome RunFetchOf(const StreamedAnswer& streamed, uint32_t capacity) {
  ResetRecordingConsole();
  ResetFakeNetwork();
  Network.receives = Pieces(streamed);
  // On the heap and exactly as large as the product's, so a read past them is caught.
  std::vector<unsigned char> buffer(ReceiveBufferSize, Untouched);
  std::vector<unsigned char> certificate(capacity == 0 ? 1 : capacity, Untouched);
  ConnectionJob job = {5, "127.0.0.1", 443, buffer.data(), ReceiveBufferSize, Success};
  ConnectionWorker(&job);
  uint32_t size = capacity;
  int status = job.status;
  if (status == Success) {
    Require(job.length >= 90 && job.length <= 9999, "the worker hands on 90 to 9999 bytes");
    Require(buffer[job.length] == 0, "a zero byte follows the data");
    status = ExtractCertificate(5, buffer.data(), job.length, certificate.data(), size,
                                ProgramTimeLimits.completionMs);
  }
  Require(Network.closes.load() == 0, "the socket is left to the fetch to close");
  for (size_t i = 1; i < Network.receiveLimits.size(); ++i)
    Require(Network.receiveLimits[i] <= Network.receiveLimits[i - 1], "receives fill on");
  if (status != Success) {
    Require(size == capacity, "a failure keeps the size");
    for (size_t i = 0; i < capacity; ++i)
      Require(certificate[i] == Untouched, "a failure leaves the buffer alone");
  }
  switch (status) {
    case Success:
      for (size_t i = size; i < capacity; ++i)
        Require(certificate[i] == Untouched, "nothing is written past the certificate");
      Require(EndsWith(Console.text, "\n\t Successfully downloaded the SSL Certificate"),
              "success is reported");
      return {Saved, std::string(reinterpret_cast<char*>(certificate.data()), size)};
    case ResponseTooShort:
    case NotServerHello:
    case BadLayout:
      Require(EndsWith(Console.text, ImproperResponseMessage), "improper response reported");
      return {Improper, ""};
    case BufferTooSmall:
      return {TooSmall, ""};
    case ReceiveFailed:
      if (job.status == ReceiveFailed) return {NoResponse, ""};
      Require(EndsWith(Console.text, IncompleteCertificateMessage), "incomplete reported");
      return {Incomplete, ""};
    case CertificateIncomplete:
      Require(EndsWith(Console.text, IncompleteCertificateMessage), "incomplete reported");
      return {Incomplete, ""};
    default:
      Require(false, "no other status can come of an answer");
      return {Improper, ""};
  }
}

// The answer in one piece and cut where the input says give the outcome the bytes call for.
inline void CheckStreamedFetch(const StreamedAnswer& streamed, uint32_t capacity) {
  const Outcome expected = ExpectedOutcome(streamed.bytes, streamed.end, capacity);
  StreamedAnswer whole = streamed;
  whole.cuts.clear();
  const Outcome inOnePiece = RunFetchOf(whole, capacity);
  Require(inOnePiece.kind == expected.kind, "in one piece: the outcome the bytes call for");
  Require(inOnePiece.certificate == expected.certificate, "in one piece: the certificate as sent");
  const Outcome cut = RunFetchOf(streamed, capacity);
  Require(cut.kind == expected.kind, "cut into pieces: the same outcome");
  Require(cut.certificate == expected.certificate, "cut into pieces: the same certificate");
}

#endif
