// A clock for deadlines that span several calls. It wraps after about 49 days; differences of
// two readings, taken as unsigned, stay right across the wrap.
#ifndef CERT_FETCH_MONOTONIC_CLOCK_H
#define CERT_FETCH_MONOTONIC_CLOCK_H

#include <cstdint>

uint32_t MonotonicMilliseconds();

#endif
