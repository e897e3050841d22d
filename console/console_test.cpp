#include <gtest/gtest.h>

#include <string>

#include "console.h"
#include "recording_console.h"

namespace {

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetRecordingConsole(); }
};

const std::string Rule = "\n\n****************************************************************";

TEST_F(ConsoleTest, ReportInsideGreenStretchComesBackToGreen) {
  SetTextColour(2);
  PrintMessage("step %d", 1);
  ReportError("\n failed: %s\n", "reason");
  PrintMessage("next");
  EXPECT_EQ(Console.transcript, "<10>step 1<12>\n failed: reason\n<10>next");
}

TEST_F(ConsoleTest, PercentSignsInReportArgumentsArePrintedAsTheyAre) {
  ReportError("[%s]", "100% %d %s %n");
  EXPECT_EQ(Console.text, "[100% %d %s %n]");
}

TEST_F(ConsoleTest, UnreadableAttributeFallsBackToBrightWhite) {
  Console.attributeReadable = false;
  EXPECT_EQ(GetTextAttribute(), 15);
  ReportError("x");
  EXPECT_EQ(Console.transcript, "<12>x<15>");
}

TEST_F(ConsoleTest, BackgroundIsKeptAndRestoredWithIntensity) {
  Console.attribute = 0x17;  // white on blue
  ReportError("x");
  EXPECT_EQ(Console.transcript, "<12>x<31>");
}

TEST_F(ConsoleTest, OverlongReportIsCutAtTheBuffer) {
  std::string longText(5000, 'a');
  ReportError("%s", longText.c_str());
  EXPECT_EQ(Console.text, std::string(MessageBufferSize - 1, 'a'));
}

TEST_F(ConsoleTest, BannerWithAndWithoutClosingNewline) {
  const std::string body = "<15>" + Rule + "\n\n    Name v1.0 by Quennet\n\n    http://x.example<15>";
  PrintBanner("Name", "1.0", "http://x.example", false);
  EXPECT_EQ(Console.transcript, body + Rule + "<15>");
  ResetRecordingConsole();
  SetTextColour(2);
  Console.transcript.clear();
  PrintBanner("Name", "1.0", "http://x.example", true);
  EXPECT_EQ(Console.transcript, body + Rule + "\n<10>");
}

TEST_F(ConsoleTest, GuardWaitsForAKeyWhenPromptIsUnsetOrEmpty) {
  const char* prompts[] = {nullptr, ""};
  for (const char* prompt : prompts) {
    ResetRecordingConsole();
    Console.prompt = prompt;
    GuardConsoleLaunch("\n Run it from the prompt!");
    EXPECT_EQ(Console.transcript, "<12>\n Run it from the prompt!\n\n Press any key to exit....\n");
    EXPECT_EQ(Console.keyWaits, 1);
  }
}

TEST_F(ConsoleTest, GuardReturnsAtOnceWhenPromptIsSet) {
  const std::string longPrompt(200, 'p');
  const char* prompts[] = {"$P$G", longPrompt.c_str()};
  for (const char* prompt : prompts) {
    ResetRecordingConsole();
    Console.prompt = prompt;
    GuardConsoleLaunch("\n Run it from the prompt!");
    EXPECT_EQ(Console.transcript, "");
    EXPECT_EQ(Console.keyWaits, 0);
  }
}

}  // namespace
