// Test stand-in for the console platform: records every attribute and text in order.
#ifndef CONSOLE_RECORDING_CONSOLE_H
#define CONSOLE_RECORDING_CONSOLE_H

#include <string>

struct RecordingConsole {
  bool attributeReadable = true;
  int attribute = 7;
  // Attributes appear as "<n>", texts as they are.
  std::string transcript;
  std::string text;  // the texts alone
  const char* prompt = nullptr;
  int keyWaits = 0;
};

extern RecordingConsole Console;
void ResetRecordingConsole();

#endif
