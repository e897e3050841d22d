#include "switch_main.h"

#include "brellow_identity.h"
#include "console.h"
#include "ipv6_state.h"

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whole strings, ASCII letters without regard to case, as the C runtime's _stricmp compares.
bool SameOptionText(const char* argument, const char* option) {
  for (;; ++argument, ++option) {
    if (LowerAscii(*argument) != LowerAscii(*option)) return false;
    if (*argument == '\0') return true;
  }
}

}  // namespace

void PrintUsage() {
  int kept = GetTextAttribute();
  PrintBanner(BrellowDisplayName, BrellowBannerVersion, BrellowWebAddress, false);
  SetTextColour(Green);
  PrintMessage("\n\n\n Usage: \n\t %s.exe [-e | -d | -s | -h]  ", BrellowProgramName);
  PrintMessage("\n\n\n Examples:\n");
  PrintMessage("\n\t // Display this help screen");
  PrintMessage("\n\t %s.exe", BrellowProgramName);
  PrintMessage("\n\n\t // Enable IPv6 on this system");
  PrintMessage("\n\t %s.exe -e", BrellowProgramName);
  PrintMessage("\n\n\t // Disable IPv6 on this system");
  PrintMessage("\n\t %s.exe -d", BrellowProgramName);
  PrintMessage("\n\n\t // Display the current Status of IPv6");
  PrintMessage("\n\t %s.exe -s", BrellowProgramName);
  PrintMessage("\n\n\t // Show this help screen");
  PrintMessage("\n\t %s.exe -h", BrellowProgramName);
  PrintMessage("\n\n");
  SetTextColour(kept);
}

void RunSwitch(int argc, char** argv) {
  int saved = GetTextAttribute();
  if (argc == 1) {
    PrintUsage();
    GuardConsoleLaunch(
        "\n This is a console application. Kindly Run it from the CMD Prompt as Administrator!");
    SetTextColour(saved);
    return;
  }
  // The empty text matches no option, so any other count falls through to the report.
  const char* option = argc == 2 ? argv[1] : "";
  if (SameOptionText(option, "-e")) {
    SetIPv6State(true);
  } else if (SameOptionText(option, "-d")) {
    SetIPv6State(false);
  } else if (SameOptionText(option, "-s")) {
    ShowStatus();
  } else if (SameOptionText(option, "-h")) {
    PrintUsage();
  } else {
    PrintUsage();
    ReportError(
        "\n\n Error: Invalid input parameters. Kindly see the above examples and try again.\n\n");
  }
}
