// Fuzz target: the switch's reading of DisabledComponents, whatever type and length of data
// the registry holds there, through the status report and both changes.
//
// Input: one byte of choices (bits 0-1: status, enable, disable, status; bit 2: WOW64;
// bit 3: the value exists), one byte of value type, then the value's data.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fake_registry.h"
#include "ipv6_state.h"
#include "recording_console.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  fprintf(stderr, "switch check failed: %s\n", what);
  abort();
}

bool Shows(const char* line) { return Console.text.find(line) != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  ResetRecordingConsole();
  ResetFakeRegistry();
  const int operation = data[0] & 3;
  Registry.wow64 = (data[0] & 4) != 0;
  Registry.valuePresent = (data[0] & 8) != 0;
  Registry.valueType = data[1];
  Registry.valueData.assign(reinterpret_cast<const char*>(data) + 2, size - 2);

  // Up to four bytes read as a little-endian number; longer data cannot be read at all.
  const bool readable = Registry.valuePresent && Registry.valueData.size() <= 4;
  uint32_t value = 0;
  for (size_t i = 0; readable && i < Registry.valueData.size(); ++i)
    value |= static_cast<uint32_t>(static_cast<unsigned char>(Registry.valueData[i])) << (8 * i);

  if (operation == 1 || operation == 2) {
    const bool enable = operation == 1;
    const uint32_t target = enable ? IPv6Enabled : IPv6FullyDisabled;
    SetIPv6State(enable);
    const bool written = !Registry.writtenData.empty();
    Require(written == !(readable && value == target), "written exactly when the state differs");
    if (written) {
      Require(Registry.writtenType == 4 && Registry.writtenData == DwordData(target),
              "only a DWORD of 0 or 0xFFFFFFFF is written");
    }
  } else {
    ShowStatus();
    const char* expected =
        !readable ? "That probably means IPv6 is not globally configured"
        : value == IPv6Enabled       ? "IPv6 is currently ENABLED"
        : value == IPv6FullyDisabled ? "IPv6 is fully DISABLED"
                                     : "IPv6 is partially DISABLED";
    Require(Shows(expected), "the status names the state of the data read");
    Require(Registry.writtenData.empty(), "the status writes nothing");
  }
  Require(Registry.openKeys == 0 && !Registry.foreignKeyUsed, "every key opened is closed once");
  return 0;
}
