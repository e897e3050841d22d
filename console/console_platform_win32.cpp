#include "console_platform.h"

#include <conio.h>
#include <cstdio>
#include <windows.h>

namespace {
volatile LONG OutputLock = 0;
}

bool ReadOutputAttribute(int* attribute) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return false;
  *attribute = info.wAttributes;
  return true;
}

void WriteOutputAttribute(int attribute) {
  SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), static_cast<WORD>(attribute));
}

// The runtime's C99 printf would be linked into the image whole; msvcrt's own printf is
// on every Windows and does the same for every conversion that the programs use.
void WriteOutputText(const char* format, va_list arguments) {
  __ms_vprintf(format, arguments);
  fflush(stdout);
}

unsigned long ReadPromptVariable(char* buffer, unsigned long size) {
  return GetEnvironmentVariableA("PROMPT", buffer, size);
}

void WaitForKeyPress() { _getch(); }

// A plain flag rather than a critical section: a thread stopped while it waits here
// leaves nothing behind.
void AcquireOutputLock() {
  while (InterlockedExchange(&OutputLock, 1) != 0) Sleep(1);
}

void ReleaseOutputLock() { InterlockedExchange(&OutputLock, 0); }
