#include <gtest/gtest.h>

#include <string>

#include "fake_network.h"
#include "fake_worker_thread.h"
#include "fetch_certificate.h"
#include "fetch_texts.h"
#include "recording_console.h"

namespace {

using namespace fetch_texts;

TEST(FetchThreadFailure, ThreadThatCannotStart) {
  ResetRecordingConsole();
  ResetFakeNetwork();
  Worker = FakeWorkerThread();
  Worker.startFails = true;
  unsigned char certificate[16];
  uint32_t size = sizeof certificate;
  EXPECT_EQ(FetchCertificate("127.0.0.1", 443, certificate, size), ThreadFailed);
  EXPECT_EQ(Console.text,
            Connecting + "\n\n\t Error: Failed to create thread to connect to server.\n\n");
  EXPECT_EQ(Network.closes.load(), 1);
  EXPECT_EQ(Worker.releases, 0);
}

TEST(FetchThreadFailure, BrokenWaitStopsTheWorkerAtOnce) {
  ResetRecordingConsole();
  ResetFakeNetwork();
  Worker = FakeWorkerThread();
  unsigned char certificate[16];
  uint32_t size = sizeof certificate;
  EXPECT_EQ(FetchCertificate("127.0.0.1", 443, certificate, size), WaitFailed);
  EXPECT_EQ(Console.transcript,
            Connecting +
                "<12>\n\n\t Error: Server connection thread terminated abnormally. Kindly try "
                "again\n\n<15>");
  EXPECT_EQ(Worker.waits, 1);
  EXPECT_EQ(Worker.stops, 1);
  EXPECT_EQ(Worker.releases, 1);
  EXPECT_EQ(Network.closes.load(), 1);
  EXPECT_EQ(size, sizeof certificate);
}

}  // namespace
