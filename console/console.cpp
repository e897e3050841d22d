#include "console.h"

#include <cstdarg>

#include "console_platform.h"
#include "text_format.h"

const char BannerRule[] = "\n\n****************************************************************";

namespace {

const int ErrorColour = Red;
const int BannerColour = White;
const int IntensityBit = 8;
const unsigned long PromptBufferSize = 128;

char MessageBuffer[MessageBufferSize];

void Print(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  WriteOutputText(format, arguments);
  va_end(arguments);
}

}  // namespace

void LockConsoleOutput() { AcquireOutputLock(); }
void UnlockConsoleOutput() { ReleaseOutputLock(); }

int GetTextAttribute() {
  int attribute = 0;
  return ReadOutputAttribute(&attribute) ? attribute : FallbackTextAttribute;
}

void SetTextColour(int value) { WriteOutputAttribute(value | IntensityBit); }

void PrintMessage(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  AcquireOutputLock();
  WriteOutputText(format, arguments);
  ReleaseOutputLock();
  va_end(arguments);
}

void ReportError(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  AcquireOutputLock();
  // Longer reports are cut at the buffer's end; no caller forms one.
  FormatTextList(MessageBuffer, sizeof MessageBuffer, format, arguments);
  int kept = GetTextAttribute();
  SetTextColour(ErrorColour);
  Print("%s", MessageBuffer);
  SetTextColour(kept);
  ReleaseOutputLock();
  va_end(arguments);
}

void PrintBanner(const char* displayName, const char* version, const char* webAddress,
                 bool closingNewline) {
  int kept = GetTextAttribute();
  SetTextColour(BannerColour);
  PrintMessage("%s", BannerRule);
  PrintMessage("\n\n    %s v%s by Quennet", displayName, version);
  PrintMessage("\n\n    %s", webAddress);
  SetTextColour(BannerColour);
  PrintMessage(closingNewline ? "%s\n" : "%s", BannerRule);
  SetTextColour(kept);
}

void GuardConsoleLaunch(const char* message) {
  char prompt[PromptBufferSize];
  if (ReadPromptVariable(prompt, sizeof prompt) != 0) return;
  SetTextColour(ErrorColour);
  PrintMessage("%s", message);
  PrintMessage("\n\n Press any key to exit....\n");
  WaitForKeyPress();
}
