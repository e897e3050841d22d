// The supervision of the worker, over a scripted thread: every way the waits can answer,
// without waiting for them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_network.h"
#include "fake_worker_thread.h"
#include "fetch_certificate.h"
#include "fetch_texts.h"
#include "probe_record.h"
#include "recording_console.h"
#include "tls_answer.h"

namespace {

using namespace fetch_texts;

class FetchSupervision : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRecordingConsole();
    ResetFakeNetwork();
    ResetFakeWorkerThread();
    BuildProbeRecord();
  }
  int Fetch() {
    return FetchCertificateWithin({5000, 500, 5000}, "127.0.0.1", 443, certificate, size);
  }
  unsigned char certificate[64];
  uint32_t size = sizeof certificate;
};

TEST_F(FetchSupervision, ThreadThatCannotStart) {
  Worker.startFails = true;
  EXPECT_EQ(Fetch(), ThreadFailed);
  EXPECT_EQ(Console.text,
            Connecting + "\n\n\t Error: Failed to create thread to connect to server.\n\n");
  EXPECT_EQ(Network.closes.load(), 1);
  EXPECT_EQ(Worker.releases, 0);
}

TEST_F(FetchSupervision, BrokenWaitStopsTheWorkerAtOnce) {
  Worker.waits = {WaitBroken};
  EXPECT_EQ(Fetch(), WaitFailed);
  EXPECT_EQ(Console.transcript,
            Connecting +
                "<12>\n\n\t Error: Server connection thread terminated abnormally. Kindly try "
                "again\n\n<15>");
  EXPECT_EQ(Worker.waitLimits, std::vector<int>{5000});
  EXPECT_EQ(Worker.stops, 1);
  EXPECT_EQ(Worker.releases, 1);
  EXPECT_EQ(Network.closes.load(), 1);
  EXPECT_EQ(size, sizeof certificate);
}

// After the time-out the socket is closed first; whatever the worker then does within the
// grace period, only a connect or receive that the close ended is its own report.
TEST_F(FetchSupervision, WorkerThatOutlastsTheTimeOut) {
  const std::string answer = TlsAnswer({70, true, 0x0B, 10}, "0123456789");
  const struct {
    const char* name;
    bool sendFails;
    std::vector<std::string> receives;
    WaitOutcome grace;
    int status;
    std::string text;
    int stops;
  } cases[] = {
      {"ends with a good answer", false, {answer}, WorkerEnded, TimedOut,
       Connecting + Connected + Answered + TimedOutMessage, 0},
      {"ends with a failed send", true, {}, WorkerEnded, TimedOut,
       Connecting + Connected + "\n\n\t Error: Failed to send SSL handshake message to server\n\n" +
           TimedOutMessage,
       0},
      {"ends with a short answer", false, {"short", ""}, WorkerEnded, TimedOut,
       Connecting + Connected + Improper + TimedOutMessage, 0},
      {"ends with its receive failed", false, {}, WorkerEnded, ResponseTimedOut,
       Connecting + Connected + NoResponse, 0},
      {"does not end at all", false, {}, WorkerStillRunning, TimedOut,
       Connecting + TimedOutMessage, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Network.sendFails = c.sendFails;
    Network.receives = c.receives;
    Worker.waits = {WorkerStillRunning, c.grace};
    EXPECT_EQ(Fetch(), c.status);
    EXPECT_EQ(Console.text, c.text);
    EXPECT_EQ(Worker.waitLimits, (std::vector<int>{5000, 500}));
    EXPECT_EQ(Worker.stops, c.stops);
    EXPECT_EQ(Worker.releases, 1);
    EXPECT_EQ(Network.closes.load(), 1);
    EXPECT_EQ(size, sizeof certificate);  // an answer that came in the grace period is dropped
  }
}

}  // namespace
