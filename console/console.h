// Console front-end shared by both programs: colours, printing, red error reports,
// the boxed banner and the guard for programs started outside a command prompt.
#ifndef CONSOLE_CONSOLE_H
#define CONSOLE_CONSOLE_H

// The three colours the programs use; each is shown with the intensity bit added.
const int Green = 2;
const int Red = 4;
const int White = 7;
// Attribute used whenever the real one cannot be read (output redirected, for instance).
const int FallbackTextAttribute = 15;
const int MessageBufferSize = 4096;
// Two newlines and 64 asterisks: opens and closes every banner.
extern const char BannerRule[];

int GetTextAttribute();
// Applies value | 8: every colour is shown bright.
void SetTextColour(int value);
void PrintMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
void ReportError(const char* format, ...) __attribute__((format(printf, 1, 2)));
void PrintBanner(const char* displayName, const char* version, const char* webAddress,
                 bool closingNewline);
void GuardConsoleLaunch(const char* message);

// Held by every print and report. A thread that has to stop another one forcibly takes it
// first, so the stopped thread cannot be caught in the middle of writing to the console.
void LockConsoleOutput();
void UnlockConsoleOutput();

#endif
