// What the console front-end needs of the platform: the text attribute of standard output,
// formatted writing, the PROMPT variable, one key press, and a lock.
#ifndef CONSOLE_CONSOLE_PLATFORM_H
#define CONSOLE_CONSOLE_PLATFORM_H

#include <cstdarg>

// False when standard output has no attribute to read (not a console or terminal).
bool ReadOutputAttribute(int* attribute);
void WriteOutputAttribute(int attribute);
// Formats to standard output; the text is written out before the call returns.
void WriteOutputText(const char* format, va_list arguments);
// Like GetEnvironmentVariableA: 0 when unset or empty, else the length, or the size needed
// (longer than the buffer) when the value does not fit.
unsigned long ReadPromptVariable(char* buffer, unsigned long size);
// Waits for one key without echo; end of input ends the wait too.
void WaitForKeyPress();
// A lock that a thread can be stopped while waiting for without harm.
void AcquireOutputLock();
void ReleaseOutputLock();

#endif
