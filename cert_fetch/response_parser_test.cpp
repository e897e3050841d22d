#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_network.h"
#include "fetch_certificate.h"
#include "fetch_texts.h"
#include "recording_console.h"
#include "response_parser.h"
#include "tls_answer.h"

namespace {

using namespace fetch_texts;

std::string Cut(const std::string& text, size_t length) { return text.substr(0, length); }

AnswerReading Read(const std::string& answer, bool moreMayCome, uint32_t capacity = 20000) {
  return ReadAnswer(reinterpret_cast<const unsigned char*>(answer.data()),
                    static_cast<int32_t>(answer.size()), capacity, moreMayCome);
}

struct ParseCase {
  const char* name;
  std::string first;              // what the worker received
  std::vector<std::string> more;  // what the server sends after it; none: a receive fails
  uint32_t capacity;
  int status;
  std::string certificate;  // extracted on success
  int receivesMade;
};

std::vector<ParseCase> Cases() {
  const std::string cert1310 = CertificateBytes(1310);
  const std::string own = TlsAnswer({70, true, 0x0B, 1310}, cert1310);
  const std::string same = TlsAnswer({70, false, 0x0B, 1310}, cert1310);
  const std::string c500 = CertificateBytes(500);
  const std::string tail = "\x14\x03\x01";  // whatever follows the certificate
  std::vector<ParseCase> cases = {
      {"certificate in its own record", own + tail, {}, 20000, Success, cert1310, 0},
      {"certificate in the hello's record", same, {}, 20000, Success, cert1310, 0},
      {"rest in one more receive", Cut(own, 1024), {own.substr(1024)}, 20000, Success, cert1310, 1},
      {"rest in three pieces", Cut(own, 300),
       {own.substr(300, 1), own.substr(301, 600), own.substr(901)}, 20000, Success, cert1310, 3},
      {"server closes one byte short", Cut(own, 1024), {own.substr(1024, 379), ""}, 20000,
       CertificateIncomplete, "", 2},
      {"server closes at once", Cut(own, 1024), {""}, 20000, CertificateIncomplete, "", 1},
      {"a further receive fails", Cut(same, 1024), {same.substr(1024, 10)}, 20000, ReceiveFailed,
       "", 2},
      {"longest hello passes", TlsAnswer({191, false, 0x0B, 500}, c500), {}, 20000, Success, c500, 0},
      {"hello one byte longer fails", TlsAnswer({192, false, 0x0B, 500}, c500), {}, 20000,
       BadLayout, "", 0},
      {"not a handshake record", "\x15" + TlsAnswer({70, true, 0x0B, 500}, c500).substr(1), {},
       20000, NotServerHello, "", 0},
      {"plain text answer", "HTTP/1.1 400 Bad Request\r\n" + std::string(80, 'x'), {}, 20000,
       NotServerHello, "", 0},
      {"another handshake than ServerHello",
       TlsAnswer({70, true, 0x0B, 500}, c500).replace(5, 1, "\x01"), {}, 20000, NotServerHello,
       "", 0},
      {"hello done in the same record", TlsAnswer({70, false, 0x0E, 500}, c500), {}, 20000,
       BadLayout, "", 0},
      {"key exchange in the next record", TlsAnswer({70, true, 0x0C, 500}, c500), {}, 20000,
       BadLayout, "", 0},
      {"certificate as long as the buffer", TlsAnswer({70, true, 0x0B, 500}, c500), {}, 500,
       Success, c500, 0},
      {"certificate one longer than the buffer", TlsAnswer({70, true, 0x0B, 501}, c500 + "x"),
       {}, 500, BufferTooSmall, "", 0},
      {"zero-length certificate", TlsAnswer({70, true, 0x0B, 0}, ""), {}, 20000, Success, "", 0},
      {"certificate length uses all 24 bits", TlsAnswer({70, true, 0x0B, 0x010005}, "abcde"),
       {}, 20000, BufferTooSmall, "", 0},
      {"hello length uses all 24 bits", TlsAnswer({0x010046, true, 0x0B, 500}, c500), {}, 20000,
       BadLayout, "", 0},
      // The server closed after a hello longer than what arrived: the byte after it never came.
      {"type byte not received", Cut(TlsAnswer({150, true, 0x0B, 500}, c500), 90), {}, 20000,
       BadLayout, "", 0},
  };
  // A certificate that fits the caller's buffer but not what is left of the receive buffer.
  const std::string big = TlsAnswer({70, true, 0x0B, 12000}, CertificateBytes(12000));
  cases.push_back({"certificate longer than the receive buffer", Cut(big, 9000),
                   {big.substr(9000)}, 20000, CertificateIncomplete, "", 1});
  cases.push_back({"full answer leaves no room", Cut(big, 9999), {big.substr(9999)}, 20000,
                   CertificateIncomplete, "", 0});
  return cases;
}

TEST(ResponseParser, ExtractsTheFirstCertificateOrFailsWithItsStatus) {
  for (const ParseCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    ResetRecordingConsole();
    ResetFakeNetwork();
    Network.receives = c.more;
    ASSERT_LE(c.first.size(), 9999u);

    unsigned char answer[ReceiveBufferSize];
    memset(answer, 0xAA, sizeof answer);  // nothing past the received bytes may be read
    memcpy(answer, c.first.data(), c.first.size());
    answer[c.first.size()] = 0;
    unsigned char certificate[20000];
    memset(certificate, 0xEE, sizeof certificate);
    uint32_t size = c.capacity;
    int status = ExtractCertificate(5, answer, static_cast<int32_t>(c.first.size()), certificate,
                                    size, ProgramTimeLimits.completionMs);

    EXPECT_EQ(status, c.status);
    EXPECT_EQ(Network.closes.load(), 0);  // the fetch closes it, once, after this
    ASSERT_EQ(static_cast<int>(Network.receiveLimits.size()), c.receivesMade);
    int32_t count = static_cast<int32_t>(c.first.size());
    for (int i = 0; i < c.receivesMade; ++i) {
      // Each receive fills on from where the last one ended, within one shared deadline.
      EXPECT_EQ(Network.receiveLimits[i], 9999 - count);
      EXPECT_GT(Network.receiveTimeouts[i], 0);
      EXPECT_LE(Network.receiveTimeouts[i], ProgramTimeLimits.completionMs);
      if (i < static_cast<int>(c.more.size())) count += static_cast<int32_t>(c.more[i].size());
    }
    std::string expectedText = Downloading;
    if (status == Success) {
      EXPECT_EQ(size, c.certificate.size());
      EXPECT_EQ(std::string(reinterpret_cast<char*>(certificate), size), c.certificate);
      EXPECT_EQ(certificate[size], 0xEE);
      expectedText += Downloaded;
    } else {
      EXPECT_EQ(size, c.capacity);
      EXPECT_EQ(certificate[0], 0xEE);
      expectedText += status == BufferTooSmall                               ? TooSmall
                      : status == NotServerHello || status == BadLayout ? Improper
                                                                             : Incomplete;
    }
    EXPECT_EQ(Console.text, expectedText);
  }
}

TEST(ResponseParser, WorkedExampleFindsTheSameBytesInBothLayouts) {
  const std::string cert = CertificateBytes(1310);
  AnswerReading own = Read(TlsAnswer({70, true, 0x0B, 1310}, cert), false);
  AnswerReading same = Read(TlsAnswer({70, false, 0x0B, 1310}, cert), false);
  ASSERT_EQ(own.verdict, CertificateFound);
  ASSERT_EQ(same.verdict, CertificateFound);
  EXPECT_EQ(own.start, 94);
  EXPECT_EQ(same.start, 89);
  EXPECT_EQ(own.length, 1310u);
  EXPECT_EQ(same.length, 1310u);
}

// While the answer streams in, every prefix either waits for more or already gives the
// verdict of the whole answer, and the first prefix that decides is the one named.
TEST(ResponseParser, StreamedAnswerIsJudgedAsSoonAsItsBytesDecideIt) {
  const std::string c500 = CertificateBytes(500);
  const struct {
    const char* name;
    std::string answer;
    size_t decidedAt;  // the shortest prefix that decides
    AnswerVerdict verdict;
  } cases[] = {
      // The ServerHello record alone is 79 bytes: too short to judge, as is its first byte.
      {"certificate in its own record", TlsAnswer({70, true, 0x0B, 500}, c500), 94,
       CertificateFound},
      {"certificate in the hello's record", TlsAnswer({70, false, 0x0B, 500}, c500), 90,
       CertificateFound},
      {"short hello: decided at 90 bytes", TlsAnswer({40, true, 0x0B, 500}, c500), 90,
       CertificateFound},
      {"longest hello", TlsAnswer({191, true, 0x0B, 500}, c500), 215, CertificateFound},
      {"certificate longer than the buffer", TlsAnswer({70, true, 0x0B, 20001}, c500), 94,
       AnswerRejected},
      {"SMTP banner", "220 mail.example ESMTP ready\r\n", 1, AnswerRejected},
      {"TLS alert", std::string("\x15\x03\x01\x00\x02\x02\x46", 7), 1, AnswerRejected},
      {"handshake but not ServerHello", std::string("\x16\x03\x01\x00\x04\x0E\x00\x00\x00", 9), 6,
       AnswerRejected},
      {"hello past its bound", TlsAnswer({192, true, 0x0B, 500}, c500), 9, AnswerRejected},
      {"key exchange after the hello", TlsAnswer({70, true, 0x0C, 500}, c500), 85,
       AnswerRejected},
      {"hello done in the same record", TlsAnswer({70, false, 0x0E, 500}, c500), 80,
       AnswerRejected},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const AnswerReading whole = Read(c.answer, false);
    ASSERT_EQ(whole.verdict, c.verdict);
    for (size_t length = 0; length <= c.answer.size(); ++length) {
      const AnswerReading part = Read(c.answer.substr(0, length), true);
      if (length < c.decidedAt) {
        ASSERT_EQ(part.verdict, MoreBytesNeeded) << length;
        continue;
      }
      ASSERT_EQ(part.verdict, whole.verdict) << length;
      EXPECT_EQ(part.failure, whole.failure);
      EXPECT_EQ(part.start, whole.start);
      EXPECT_EQ(part.length, whole.length);
    }
  }
}

}  // namespace
