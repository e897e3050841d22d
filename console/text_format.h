// Bounded formatting into a buffer of the caller's, with the results of C99 snprintf: at
// most size - 1 characters, always a terminating zero, nothing written past it. How the
// runtime library gets there differs between the platforms, so it sits behind this seam.
#ifndef CONSOLE_TEXT_FORMAT_H
#define CONSOLE_TEXT_FORMAT_H

#include <cstdarg>
#include <cstddef>

void FormatText(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void FormatTextList(char* buffer, size_t size, const char* format, va_list arguments);

#endif
