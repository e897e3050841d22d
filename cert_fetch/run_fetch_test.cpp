#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fake_network.h"
#include "fetcher_main.h"
#include "recording_console.h"
#include "run_fetch.h"
#include "tls_answer.h"
#include "worker_thread.h"

namespace {

const std::string Start =
    "\n\n\n[*] Initializing Tarnwick\n\t Success\n\n\n[*] Checking the validity of Host Address";
const std::string Lookup = "\n\n\n[*] Getting IP Address for the specified host name";

const std::string Rule = "\n\n" + std::string(64, '*');
const std::string Banner =
    Rule + "\n\n    Tarnwick v2.0 by Quennet\n\n    http://www.quennet.example/tarnwick" + Rule;

// The run's own lines, after its banner.
std::string RunLines() {
  EXPECT_EQ(Console.text.substr(0, Banner.size()), Banner);
  return Console.text.substr(Banner.size());
}

class RunFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRecordingConsole();
    ResetFakeNetwork();
    WorkerThreads = PlatformWorkerThreads;
    path = testing::TempDir() + "run_fetch_test.der";
    remove(path.c_str());
  }
  bool FileExists() {
    FILE* file = fopen(path.c_str(), "rb");
    if (file != nullptr) fclose(file);
    return file != nullptr;
  }
  std::string path;
};

TEST_F(RunFetchTest, NetworkThatCannotStart) {
  Network.startFails = true;
  RunFetch("127.0.0.1", 443, path.c_str());
  EXPECT_EQ(RunLines(), "\n\n\n[*] Initializing Tarnwick\n\n\t Error: Network initialization failed.\n\n");
  EXPECT_EQ(Network.opens.load(), 0);
}

TEST_F(RunFetchTest, NameThatCannotBeLookedUp) {
  Network.lookupFinds = false;
  RunFetch("nowhere.example", 443, path.c_str());
  EXPECT_EQ(RunLines(), Start + Lookup +
                            "\n\n\t Error: Failed to get IP address for the specified server name. "
                            "Make sure you have entered valid server name or enter the IP "
                            "address directly.\n\n");
  EXPECT_EQ(Network.opens.load(), 0);
  EXPECT_FALSE(FileExists());
}

TEST_F(RunFetchTest, ResolvedAddressIsWhatTheConnectionUses) {
  Network.lookupAddress[0] = 10;
  Network.connectFails = true;
  RunFetch("server.example", 443, path.c_str());
  EXPECT_EQ(Network.connectedAddress, "10.0.0.1");
  EXPECT_NE(RunLines().find("\n\t Got IP Address of the server - 10.0.0.1"
                            "\n\n\n[*] Connecting to Server 10.0.0.1:443"),
            std::string::npos);
}

TEST_F(RunFetchTest, ZeroLengthCertificateGivesAnEmptyFile) {
  Network.receives = {TlsAnswer({70, true, 0x0B, 0}, "") + std::string(10, '\0')};
  RunFetch("127.0.0.1", 443, path.c_str());
  const std::string saving = "\n\n\n[*] Saving the SSL certificate to the file " + path + " ";
  EXPECT_EQ(RunLines().substr(RunLines().size() - saving.size() - 16), saving + "\n\t Success !!!\n\n");
  FILE* file = fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(fgetc(file), EOF);
  fclose(file);
  remove(path.c_str());
}

}  // namespace
