#include "monotonic_clock.h"

#include <windows.h>

// GetTickCount64 came after Windows XP.
uint32_t MonotonicMilliseconds() { return GetTickCount(); }
