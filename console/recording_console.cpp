#include "recording_console.h"

#include <cstdio>
#include <cstring>
#include <atomic>
#include <thread>

#include "console_platform.h"

RecordingConsole Console;

namespace {
std::atomic<bool> OutputLock(false);
}

void ResetRecordingConsole() { Console = RecordingConsole(); }

bool ReadOutputAttribute(int* attribute) {
  if (!Console.attributeReadable) return false;
  *attribute = Console.attribute;
  return true;
}

void WriteOutputAttribute(int attribute) {
  Console.attribute = attribute;
  Console.transcript += "<" + std::to_string(attribute) + ">";
}

void WriteOutputText(const char* format, va_list arguments) {
  char text[16384];
  vsnprintf(text, sizeof text, format, arguments);
  Console.transcript += text;
  Console.text += text;
}

unsigned long ReadPromptVariable(char* buffer, unsigned long size) {
  if (Console.prompt == nullptr) return 0;
  size_t length = strlen(Console.prompt);
  if (length >= size) return static_cast<unsigned long>(length + 1);
  memcpy(buffer, Console.prompt, length + 1);
  return static_cast<unsigned long>(length);
}

void WaitForKeyPress() { ++Console.keyWaits; }

void AcquireOutputLock() {
  while (OutputLock.exchange(true, std::memory_order_acquire)) std::this_thread::yield();
}
void ReleaseOutputLock() { OutputLock.store(false, std::memory_order_release); }
