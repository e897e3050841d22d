#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "console.h"
#include "fake_network.h"
#include "fetch_certificate.h"
#include "fetch_texts.h"
#include "probe_record.h"
#include "recording_console.h"
#include "tls_answer.h"

namespace {

using namespace fetch_texts;

class FetchCertificateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRecordingConsole();
    ResetFakeNetwork();
    WorkerThreads = PlatformWorkerThreads;
    BuildProbeRecord();
    memset(certificate, 0xEE, sizeof certificate);
  }
  int Fetch(const char* address = "127.0.0.1", int32_t port = 443) {
    return FetchCertificate(address, port, certificate, size);
  }
  unsigned char certificate[20000];
  uint32_t size = 20000;
};

TEST_F(FetchCertificateTest, SuccessfulRunSendsTheProbeOnceAndPrintsEveryStep) {
  const std::string cert = CertificateBytes(700);
  Network.receives = {TlsAnswer({70, true, 0x0B, 700}, cert)};
  ASSERT_EQ(Fetch(), Success);
  EXPECT_EQ(Console.text, Connecting + Connected + Answered + Downloading + Downloaded);
  EXPECT_EQ(Network.sent, std::string(reinterpret_cast<char*>(ProbeRecord), ProbeRecordLength));
  EXPECT_EQ(Network.connectedAddress, "127.0.0.1");
  EXPECT_EQ(Network.receiveLimits, std::vector<int>{9999});
  EXPECT_EQ(Network.closes.load(), 1);
  EXPECT_EQ(size, 700u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(certificate), size), cert);
}

TEST_F(FetchCertificateTest, AnswerIsReadUntilItsBytesCanBeJudged) {
  const std::string cert = CertificateBytes(700);
  const std::string answer = TlsAnswer({70, true, 0x0B, 700}, cert);
  const struct {
    const char* name;
    std::vector<std::string> pieces;
    int status;
    std::vector<int> limits;  // what each receive asked for
    std::string text;
  } cases[] = {
      {"hello record alone, then the rest", {answer.substr(0, 79), answer.substr(79)}, Success,
       {9999, 9920}, Connecting + Connected + Answered + Downloading + Downloaded},
      {"split inside the certificate header", {answer.substr(0, 90), answer.substr(90)}, Success,
       {9999, 9909}, Connecting + Connected + Answered + Downloading + Downloaded},
      // No further receive: one would fail here, since nothing more is scripted.
      {"SMTP banner on a connection held open", {"220 mail.example ESMTP\r\n"},
       ResponseTooShort, {9999}, Connecting + Connected + Improper},
      {"89 bytes, then the server closes", {answer.substr(0, 89), ""}, ResponseTooShort,
       {9999, 9910}, Connecting + Connected + Improper},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Network.receives = c.pieces;
    EXPECT_EQ(Fetch(), c.status);
    EXPECT_EQ(Console.text, c.text);
    EXPECT_EQ(Network.receiveLimits, c.limits);
    EXPECT_EQ(Network.closes.load(), 1);
    if (c.status == Success) {
      EXPECT_EQ(std::string(reinterpret_cast<char*>(certificate), size), cert);
    }
  }
}

TEST_F(FetchCertificateTest, ConnectsToTheLowSixteenBitsOfThePort) {
  const struct {
    int32_t port;
    int wirePort;
  } cases[] = {{-5, 65531}, {70000, 4464}, {65536, 0}, {65536 + 443, 443}, {2147483647, 65535}};
  for (const auto& c : cases) {
    ResetRecordingConsole();
    ResetFakeNetwork();
    Network.connectFails = true;
    Fetch("127.0.0.1", c.port);
    EXPECT_EQ(Network.connectedPort, c.wirePort);
    EXPECT_EQ(Console.text.substr(0, Console.text.find(ConnectFailure)),
              "\n\n\n[*] Connecting to Server 127.0.0.1:" + std::to_string(c.port));
  }
}

TEST_F(FetchCertificateTest, WorkerFailuresAreReportedOnceAndCloseTheSocket) {
  const struct {
    const char* name;
    bool connectFails, sendFails;
    std::vector<std::string> receives;
    int status;
    std::string text;
  } cases[] = {
      {"refused", true, false, {}, ConnectFailed, Connecting + ConnectFailure},
      {"send fails", false, true, {}, SendFailed,
       Connecting + Connected + "\n\n\t Error: Failed to send SSL handshake message to server\n\n"},
      {"receive fails", false, false, {}, ReceiveFailed, Connecting + Connected + NoResponse},
      {"closed without answer", false, false, {""}, ResponseTooShort, Connecting + Connected + Improper},
      {"89 bytes", false, false, {std::string(89, '\x16')}, ResponseTooShort,
       Connecting + Connected + Improper},
      {"90 bytes reach the parser", false, false, {std::string(90, '\x17')}, NotServerHello,
       Connecting + Connected + Answered + Downloading + Improper},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Network.connectFails = c.connectFails;
    Network.sendFails = c.sendFails;
    Network.receives = c.receives;
    EXPECT_EQ(Fetch(), c.status);
    EXPECT_EQ(Console.text, c.text);
    EXPECT_EQ(Network.closes.load(), 1);
    EXPECT_EQ(size, 20000u);
    EXPECT_EQ(certificate[0], 0xEE);
  }
}

TEST_F(FetchCertificateTest, SocketThatCannotBeCreated) {
  Network.openFails = true;
  EXPECT_EQ(Fetch(), SocketFailed);
  EXPECT_EQ(Console.text, Connecting +
                              "\n\n\t Error: Socket creation failed due to internal system error.\n\n");
  EXPECT_EQ(Network.closes.load(), 0);
}

double SecondsOf(const std::chrono::steady_clock::time_point& start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A real worker thread blocked in a call that only the close ends, under short limits.
TEST_F(FetchCertificateTest, TimeOutsEndAPendingCallByClosingTheSocket) {
  const FetchTimeLimits limits = {200, 500, 200};
  const struct {
    const char* name;
    FakeBlocking connect, receive;
    int status;
    std::string text;
  } cases[] = {
      {"connect never completes", BlocksUntilClosed, DoesNotBlock, ConnectTimedOut,
       Connecting + ConnectFailure},
      {"server never answers", DoesNotBlock, BlocksUntilClosed, ResponseTimedOut,
       Connecting + Connected + NoResponse},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Network.connectBlocking = c.connect;
    Network.receiveBlocking = c.receive;
    Network.receives = {TlsAnswer({70, true, 0x0B, 10}, "0123456789")};
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FetchCertificateWithin(limits, "127.0.0.1", 443, certificate, size), c.status);
    double seconds = SecondsOf(start);
    EXPECT_GE(seconds, 0.19);
    EXPECT_LT(seconds, 0.7 + 1.0);
    EXPECT_EQ(Console.text, c.text);
    EXPECT_EQ(Network.closes.load(), 1);
    EXPECT_EQ(size, 20000u);
  }
}

}  // namespace
