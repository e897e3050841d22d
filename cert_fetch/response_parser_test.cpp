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

struct ParseCase {
  const char* name;
  std::string first;   // the worker's receive
  std::vector<std::string> more;  // what the one further receive brings; none: it fails
  uint32_t capacity;
  int status;
  std::string certificate;  // extracted on success
  int receivesMade;
};

std::string Cut(const std::string& text, size_t length) { return text.substr(0, length); }

std::vector<ParseCase> Cases() {
  const std::string cert1310 = CertificateBytes(1310);
  const std::string own = TlsAnswer({70, true, 0x0B, 1310}, cert1310);
  const std::string same = TlsAnswer({70, false, 0x0B, 1310}, cert1310);
  const std::string c500 = CertificateBytes(500);
  const std::string tail = "\x14\x03\x01";  // whatever follows the certificate
  std::vector<ParseCase> cases = {
      {"certificate in its own record", own + tail, {}, 20000, Success, cert1310, 0},
      {"certificate in the hello's record", same, {}, 20000, Success, cert1310, 0},
      {"split over two receives", Cut(own, 1024), {own.substr(1024)}, 20000, Success, cert1310, 1},
      {"second receive one byte short", Cut(own, 1024), {own.substr(1024, 379)}, 20000,
       CertificateIncomplete, "", 1},
      {"second receive finds the connection closed", Cut(own, 1024), {""}, 20000,
       CertificateIncomplete, "", 1},
      {"second receive fails", Cut(same, 1024), {}, 20000, ReceiveFailed, "", 1},
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
      // A hello longer than what arrived: the byte after it was never sent and reads as zero.
      {"type byte not received", Cut(TlsAnswer({150, true, 0x0B, 500}, c500), 90), {}, 20000,
       BadLayout, "", 0},
  };
  // A certificate that fits the caller's buffer but not what is left of the receive buffer.
  const std::string big = TlsAnswer({70, true, 0x0B, 12000}, CertificateBytes(12000));
  cases.push_back({"certificate longer than the receive buffer", Cut(big, 9000),
                   {big.substr(9000)}, 20000, CertificateIncomplete, "", 1});
  cases.push_back({"full first receive leaves no room", Cut(big, 9999), {big.substr(9999)},
                   20000, CertificateIncomplete, "", 0});
  return cases;
}

TEST(ResponseParser, ExtractsTheFirstCertificateOrFailsWithItsStatus) {
  for (const ParseCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    ResetRecordingConsole();
    ResetFakeNetwork();
    Network.receives = {"(first receive, made by the worker)"};
    Network.receives.insert(Network.receives.end(), c.more.begin(), c.more.end());
    Network.receiveLimits.push_back(0);
    Network.receiveTimeouts.push_back(0);
    ASSERT_LE(c.first.size(), 9999u);

    unsigned char answer[ReceiveBufferSize] = {};
    memcpy(answer, c.first.data(), c.first.size());
    unsigned char certificate[20000];
    memset(certificate, 0xEE, sizeof certificate);
    uint32_t size = c.capacity;
    int status = ExtractCertificate(5, answer, static_cast<int32_t>(c.first.size()), certificate,
                                    size);

    EXPECT_EQ(status, c.status);
    EXPECT_EQ(Network.closes.load(), 1);
    EXPECT_EQ(static_cast<int>(Network.receiveLimits.size()) - 1, c.receivesMade);
    if (c.receivesMade == 1) {
      EXPECT_EQ(Network.receiveLimits[1], 9999 - static_cast<int>(c.first.size()));
      EXPECT_EQ(Network.receiveTimeouts[1], ConnectionTimeoutMs);
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
  unsigned char own[ReceiveBufferSize] = {};
  unsigned char same[ReceiveBufferSize] = {};
  std::string a = TlsAnswer({70, true, 0x0B, 1310}, cert);
  std::string b = TlsAnswer({70, false, 0x0B, 1310}, cert);
  memcpy(own, a.data(), a.size());
  memcpy(same, b.data(), b.size());
  CertificateLocation inOwn, inSame;
  ASSERT_EQ(LocateCertificate(own, 20000, &inOwn), Success);
  ASSERT_EQ(LocateCertificate(same, 20000, &inSame), Success);
  EXPECT_EQ(inOwn.start, 94);
  EXPECT_EQ(inSame.start, 89);
  EXPECT_EQ(inOwn.length, 1310u);
  EXPECT_EQ(inSame.length, 1310u);
  EXPECT_EQ(0, memcmp(own + 94, same + 89, 1310));
}

}  // namespace
