// Network byte order is a computation, not a platform call: the high byte first in memory.
#ifndef CERT_FETCH_BYTE_ORDER_H
#define CERT_FETCH_BYTE_ORDER_H

#include <cstdint>
#include <cstring>

inline uint16_t HostToNetwork16(uint16_t value) {
  const unsigned char bytes[2] = {static_cast<unsigned char>(value >> 8),
                                  static_cast<unsigned char>(value & 0xFF)};
  uint16_t wire;
  memcpy(&wire, bytes, sizeof wire);
  return wire;
}

#endif
