#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_registry.h"
#include "recording_console.h"
#include "switch_main.h"

namespace {

const std::string Rule = "\n\n****************************************************************";
const std::string UsageBody =
    "\n\n\n Usage: \n\t BrellowCli.exe [-e | -d | -s | -h]  "
    "\n\n\n Examples:\n"
    "\n\t // Display this help screen\n\t BrellowCli.exe"
    "\n\n\t // Enable IPv6 on this system\n\t BrellowCli.exe -e"
    "\n\n\t // Disable IPv6 on this system\n\t BrellowCli.exe -d"
    "\n\n\t // Display the current Status of IPv6\n\t BrellowCli.exe -s"
    "\n\n\t // Show this help screen\n\t BrellowCli.exe -h"
    "\n\n";
const std::string Usage =
    Rule + "\n\n    Brellow v1.5 by Quennet\n\n    http://www.quennet.example/brellow" + Rule +
    UsageBody;
const std::string Invalid =
    "\n\n Error: Invalid input parameters. Kindly see the above examples and try again.\n\n";
const std::string Guard =
    "\n This is a console application. Kindly Run it from the CMD Prompt as Administrator!"
    "\n\n Press any key to exit....\n";

class SwitchMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRecordingConsole();
    ResetFakeRegistry();
    Console.prompt = "$P$G";
  }
  static void Run(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    std::string name = "renamed.exe";
    argv.push_back(&name[0]);
    for (std::string& a : arguments) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    RunSwitch(static_cast<int>(arguments.size() + 1), argv.data());
  }
};

TEST_F(SwitchMainTest, UsageScreenWithColours) {
  Run({});
  EXPECT_EQ(Console.transcript,
            "<15>" + Rule + "\n\n    Brellow v1.5 by Quennet\n\n    http://www.quennet.example/brellow" +
                "<15>" + Rule + "<15><10>" + UsageBody + "<15><15>");
  EXPECT_EQ(Console.keyWaits, 0);
  EXPECT_TRUE(Registry.calls.empty());
}

TEST_F(SwitchMainTest, WithoutPromptTheGuardWaitsThenTheSavedAttributeReturns) {
  const char* prompts[] = {nullptr, ""};
  for (const char* prompt : prompts) {
    SetUp();
    Console.prompt = prompt;
    Console.attribute = 0x17;
    Run({});
    EXPECT_EQ(Console.text, Usage + Guard);
    EXPECT_EQ(Console.keyWaits, 1);
    const std::string& t = Console.transcript;
    EXPECT_EQ(t.substr(t.size() - Guard.size() - 12), "<31><12>" + Guard + "<31>");
  }
}

TEST_F(SwitchMainTest, EachOptionAloneRunsItsOperationWhateverItsCase) {
  const struct {
    const char* option;
    std::vector<std::string> calls;
    std::string written;
  } cases[] = {
      {"-e", {"create", "query", "set", "close"}, DwordData(0)},
      {"-E", {"create", "query", "set", "close"}, DwordData(0)},
      {"-d", {"create", "query", "set", "close"}, DwordData(0xFFFFFFFF)},
      {"-D", {"create", "query", "set", "close"}, DwordData(0xFFFFFFFF)},
      {"-s", {"open", "query", "close"}, ""},
      {"-S", {"open", "query", "close"}, ""},
      {"-h", {}, ""},
      {"-H", {}, ""},
  };
  for (const auto& c : cases) {
    SetUp();
    Console.prompt = nullptr;  // only the run without arguments guards
    Run({c.option});
    EXPECT_EQ(Registry.calls, c.calls) << c.option;
    EXPECT_EQ(Registry.writtenData, c.written) << c.option;
    EXPECT_EQ(Console.keyWaits, 0);
    EXPECT_EQ(Console.text.find("Error"), std::string::npos) << c.option;
  }
  SetUp();
  Run({"-H"});
  EXPECT_EQ(Console.text, Usage);
}

TEST_F(SwitchMainTest, AnyOtherCommandLineIsReportedAndTouchesNoRegistry) {
  const std::vector<std::vector<std::string>> commandLines = {
      {"/e"}, {"--e"}, {"-ex"}, {"e"}, {""}, {"-"}, {"-e "}, {"-e", "x"}, {"-h", "-h"},
      {"-s", "-s", "-s"}, {"-e\xC9"}, {"\re"},
  };
  for (const auto& commandLine : commandLines) {
    SetUp();
    Console.prompt = nullptr;
    Run(commandLine);
    EXPECT_EQ(Console.text, Usage + Invalid) << commandLine[0];
    EXPECT_TRUE(Registry.calls.empty()) << commandLine[0];
    EXPECT_EQ(Registry.wow64Checks, 0);
    EXPECT_EQ(Console.keyWaits, 0);
  }
}

TEST_F(SwitchMainTest, NoArgumentVectorAtAllIsInvalidInput) {
  char* argv[] = {nullptr};
  RunSwitch(0, argv);
  EXPECT_EQ(Console.text, Usage + Invalid);
  EXPECT_TRUE(Registry.calls.empty());
}

}  // namespace
