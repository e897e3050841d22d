// The IPv6 component state: the value DisabledComponents that the IPv6 stack of Windows
// reads when the system starts.
#ifndef IPV6_SWITCH_IPV6_STATE_H
#define IPV6_SWITCH_IPV6_STATE_H

#include <cstdint>

const uint32_t IPv6Enabled = 0;
const uint32_t IPv6FullyDisabled = 0xFFFFFFFF;

// What a change does, given what was read: the line to print, and whether and what to write.
struct IPv6Change {
  const char* message;
  bool write;
  uint32_t newValue;
};

IPv6Change DecideIPv6Change(bool readSucceeded, uint32_t value, bool enable);

// Non-zero for a 32-bit process on 64-bit Windows.
int IsWow64();
// Both print the banner, every step and every outcome; neither tells its caller more.
void ShowStatus();
void SetIPv6State(bool enable);

#endif
