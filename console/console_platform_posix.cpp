#include "console_platform.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

// A terminal has no attribute to read back, so the one last set stands for it.
int CurrentAttribute = 7;
bool ResetRegistered = false;
std::atomic<bool> OutputLock(false);

// A reader of standard output that has gone away must not end the program before its work
// is done: writes to the closed pipe then fail quietly instead of raising SIGPIPE.
void IgnoreClosedOutput() {
  static std::atomic<bool> ignoring(false);
  if (!ignoring.exchange(true)) signal(SIGPIPE, SIG_IGN);
}

void RestoreTerminalColours() {
  fputs("\x1b[0m", stdout);
  fflush(stdout);
}

// Windows numbers the colour bits blue 1, green 2, red 4; ANSI numbers them red, green, blue.
int AnsiColour(int windowsBits) {
  return ((windowsBits & 4) ? 1 : 0) | (windowsBits & 2) | ((windowsBits & 1) ? 4 : 0);
}

}  // namespace

bool ReadOutputAttribute(int* attribute) {
  if (!isatty(STDOUT_FILENO)) return false;
  *attribute = CurrentAttribute;
  return true;
}

void WriteOutputAttribute(int attribute) {
  IgnoreClosedOutput();
  if (!isatty(STDOUT_FILENO)) return;
  CurrentAttribute = attribute & 0xFFFF;
  if (!ResetRegistered) {
    ResetRegistered = true;
    atexit(RestoreTerminalColours);
  }
  int foreground = ((attribute & 8) ? 90 : 30) + AnsiColour(attribute);
  int background = ((attribute & 0x80) ? 100 : 40) + AnsiColour(attribute >> 4);
  printf("\x1b[0;%d;%dm", foreground, background);
  fflush(stdout);
}

void WriteOutputText(const char* format, va_list arguments) {
  IgnoreClosedOutput();
  vprintf(format, arguments);
  fflush(stdout);
}

unsigned long ReadPromptVariable(char* buffer, unsigned long size) {
  const char* value = getenv("PROMPT");
  if (value == nullptr || size == 0) return 0;
  size_t length = strlen(value);
  if (length >= size) return static_cast<unsigned long>(length + 1);
  memcpy(buffer, value, length + 1);
  return static_cast<unsigned long>(length);
}

void WaitForKeyPress() {
  char key = 0;
  termios saved;
  bool raw = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
  if (raw) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    quiet.c_cc[VMIN] = 1;
    quiet.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  // A read of 0 (end of input) or an error ends the wait as well as a key does.
  ssize_t got = read(STDIN_FILENO, &key, 1);
  (void)got;
  if (raw) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

// A plain flag rather than a mutex: a thread stopped while it waits here leaves nothing behind.
void AcquireOutputLock() {
  const timespec pause = {0, 1000000};
  while (OutputLock.exchange(true, std::memory_order_acquire)) nanosleep(&pause, nullptr);
}

void ReleaseOutputLock() { OutputLock.store(false, std::memory_order_release); }
