#include "ipv6_state.h"

#include "brellow_identity.h"
#include "console.h"
#include "registry.h"

namespace {

const char ParametersKey[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip6\\Parameters";
const char ValueName[] = "DisabledComponents";
const uint32_t ValueBytes = 4;

uint32_t KeyRights(uint32_t nativeRights) {
  // Under WOW64 the 64-bit view is asked for outright, so that the value read and written is
  // the one the 64-bit IPv6 stack reads, whatever the system would redirect.
  return IsWow64() ? nativeRights | KeyWow64View64 : nativeRights;
}

// Data of any type up to four bytes counts, as a little-endian number whose missing high
// bytes are 0; longer data fails the query itself.
bool ReadDisabledComponents(RegistryKey key, uint32_t* value) {
  unsigned char data[ValueBytes] = {0, 0, 0, 0};
  uint32_t type = 0;
  uint32_t size = ValueBytes;
  *value = 0;
  if (QueryKeyValue(key, ValueName, &type, data, &size) != RegistrySuccess) return false;
  *value = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
           static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
  return true;
}

uint32_t WriteDisabledComponents(RegistryKey key, uint32_t value) {
  const unsigned char data[ValueBytes] = {
      static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
      static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  return SetKeyValue(key, ValueName, RegistryDwordType, data, ValueBytes);
}

void PrintSwitchBanner() {
  PrintBanner(BrellowDisplayName, BrellowBannerVersion, BrellowWebAddress, true);
}

}  // namespace

IPv6Change DecideIPv6Change(bool readSucceeded, uint32_t value, bool enable) {
  const uint32_t target = enable ? IPv6Enabled : IPv6FullyDisabled;
  if (!readSucceeded)
    return {"\n\n [*] Failed to get the current status of IPv6. Anyway going ahead now...", true,
            target};
  if (value == target) {
    return {enable ? "\n\n [*] IPv6 is ALREADY ENABLED on your system\n\n"
                   : "\n\n [*] IPv6 is ALREADY DISABLED on your system\n\n",
            false, target};
  }
  // A partial mask is rewritten whichever way is asked, and named as the opposite state.
  return {enable ? "\n\n [*] IPv6 is currently DISABLED on your system, Enabling Now"
                 : "\n\n [*] IPv6 is currently ENABLED on your system, Disabling Now",
          true, target};
}

int IsWow64() {
  int wow64 = 0;
  if (!ReadWow64Flag(&wow64)) return 0;
  return wow64;
}

void ShowStatus() {
  PrintSwitchBanner();
  uint32_t rights = KeyRights(KeyRead);
  RegistryKey key = nullptr;
  uint32_t status = OpenMachineKey(ParametersKey, rights, &key);
  if (status != RegistrySuccess) {
    ReportError("\n\n Error: Failed to open Windows IPv6 Registry key. Error=0x%.8x\n\n", status);
    return;
  }
  int kept = GetTextAttribute();
  SetTextColour(Green);
  PrintMessage("\n\n [*] Checking for the current status of IPv6...");
  uint32_t value = 0;
  if (!ReadDisabledComponents(key, &value)) {
    PrintMessage(
        "\n\n [*] Failed to get current status of IPv6. That probably means IPv6 is not "
        "globally configured on your system\n\n");
  } else if (value == IPv6Enabled) {
    PrintMessage("\n\n [*] IPv6 is currently ENABLED on your system\n\n");
  } else if (value == IPv6FullyDisabled) {
    PrintMessage("\n\n [*] IPv6 is fully DISABLED on your system\n\n");
  } else {
    PrintMessage("\n\n [*] IPv6 is partially DISABLED on your system\n\n");
  }
  CloseKey(key);
  SetTextColour(kept);
}

void SetIPv6State(bool enable) {
  PrintSwitchBanner();
  uint32_t rights = KeyRights(KeyRead | KeyWrite);
  int kept = GetTextAttribute();
  SetTextColour(Green);
  PrintMessage("\n\n [*] %s IPv6 on this system ", enable ? "Enabling" : "Disabling");
  RegistryKey key = nullptr;
  uint32_t status = CreateMachineKey(ParametersKey, rights, &key);
  if (status != RegistrySuccess) {
    ReportError(
        "\n\n [*] Error: Failed to %s IPv6. Make sure you have Administrator rights. \n Error "
        "Code=0x%.8x\n\n",
        enable ? "Enable" : "Disable", status);
    SetTextColour(kept);
    return;
  }
  PrintMessage("\n\n [*] Checking for the current status of IPv6");
  uint32_t value = 0;
  bool read = ReadDisabledComponents(key, &value);
  IPv6Change change = DecideIPv6Change(read, value, enable);
  PrintMessage("%s", change.message);
  if (change.write) {
    status = WriteDisabledComponents(key, change.newValue);
    if (status != RegistrySuccess) {
      ReportError(
          "\n\n Error: Failed to %s IPv6 on this system. Make sure you have Administrator "
          "rights. \n Error Code=0x%.8x\n\n",
          enable ? "ENABLE" : "DISABLE", status);
    } else {
      PrintMessage("\n\n [*] Successfully %s IPv6 on this system", enable ? "ENABLED" : "DISABLED");
      SetTextColour(Red);
      PrintMessage("\n\n\n Note: You have to restart the Windows for changes to take effect. \n\n");
    }
  }
  CloseKey(key);
  SetTextColour(kept);
}
