// The wait for a real worker thread breaks while the worker is still at work. The fetch then
// reports, closes the socket and stops the worker at once, while the worker, woken by the
// close, may be reporting too: the one path on which both threads use the console at the
// same time. Under ThreadSanitizer this is the test that shows that path free of races.
//
// The wait is made to break by a stand-in in the worker thread's table, around the real one.
#include <gtest/gtest.h>

#include <string>

#include "console.h"
#include "fake_network.h"
#include "fetch_certificate.h"
#include "fetch_texts.h"
#include "probe_record.h"
#include "recording_console.h"
#include "worker_thread.h"

namespace {

// Really waits a while first, so that the worker is parked in its blocking call and not
// inside the stand-in network's bookkeeping when the wait breaks.
WaitOutcome BreakingWaitForWorker(WorkerThread thread, int timeoutMs) {
  const int parkMs = 100;
  WaitOutcome outcome =
      PlatformWorkerThreads.wait(thread, timeoutMs < parkMs ? timeoutMs : parkMs);
  return outcome == WorkerEnded ? WorkerEnded : WaitBroken;
}

using namespace fetch_texts;

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(WaitFailureRace, BothReportsArriveWholeAndTheWorkerIsStopped) {
  const struct {
    const char* name;
    FakeBlocking connect, receive;
    std::string before;  // what the worker has printed by the time the wait breaks
    std::string workerReport;  // what it may still report once the close wakes it
  } cases[] = {
      {"pending connect", BlocksUntilClosed, DoesNotBlock, Connecting, ConnectFailure},
      {"pending receive", DoesNotBlock, BlocksUntilClosed, Connecting + Connected, NoResponse},
  };
  BuildProbeRecord();
  // The interleaving differs from run to run; a few rounds give the race room to show.
  for (int round = 0; round < 5; ++round) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      ResetRecordingConsole();
      ResetFakeNetwork();
      WorkerThreads = PlatformWorkerThreads;
      WorkerThreads.wait = BreakingWaitForWorker;
      Network.connectBlocking = c.connect;
      Network.receiveBlocking = c.receive;
      unsigned char certificate[64];
      uint32_t size = sizeof certificate;

      EXPECT_EQ(FetchCertificate("127.0.0.1", 443, certificate, size), WaitFailed);
      const std::string text = Console.text;
      EXPECT_EQ(text.substr(0, c.before.size()), c.before);
      std::string rest = text.substr(c.before.size());
      EXPECT_EQ(Occurrences(rest, Abnormal), 1u) << rest;
      if (!c.workerReport.empty()) {
        // The worker may have been stopped before it got to report; if it did, its report
        // is whole, before or after the other one.
        EXPECT_LE(Occurrences(rest, c.workerReport), 1u) << rest;
        if (rest.find(c.workerReport) != std::string::npos)
          rest.erase(rest.find(c.workerReport), c.workerReport.size());
      }
      EXPECT_EQ(rest, Abnormal);
      EXPECT_EQ(Network.closes.load(), 1);
      EXPECT_EQ(size, sizeof certificate);
    }
  }
  WorkerThreads = PlatformWorkerThreads;
  // Nothing that the worker held is left held.
  PrintMessage("after");
  EXPECT_EQ(Console.text.substr(Console.text.size() - 5), "after");
}

}  // namespace
