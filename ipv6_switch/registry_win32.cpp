#include "registry.h"

#include <windows.h>

namespace {

typedef BOOL(WINAPI* IsWow64ProcessFunction)(HANDLE process, PBOOL wow64);

HKEY ToHkey(RegistryKey key) { return static_cast<HKEY>(key); }

}  // namespace

uint32_t OpenMachineKey(const char* subkey, uint32_t rights, RegistryKey* key) {
  HKEY opened = nullptr;
  LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, rights, &opened);
  if (status == ERROR_SUCCESS) *key = opened;
  return static_cast<uint32_t>(status);
}

uint32_t CreateMachineKey(const char* subkey, uint32_t rights, RegistryKey* key) {
  HKEY opened = nullptr;
  LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                rights, nullptr, &opened, nullptr);
  if (status == ERROR_SUCCESS) *key = opened;
  return static_cast<uint32_t>(status);
}

uint32_t QueryKeyValue(RegistryKey key, const char* name, uint32_t* type, unsigned char* data,
                       uint32_t* size) {
  DWORD valueType = 0;
  DWORD valueSize = *size;
  LONG status = RegQueryValueExA(ToHkey(key), name, nullptr, &valueType, data, &valueSize);
  *type = valueType;
  *size = valueSize;
  return static_cast<uint32_t>(status);
}

uint32_t SetKeyValue(RegistryKey key, const char* name, uint32_t type, const unsigned char* data,
                     uint32_t size) {
  return static_cast<uint32_t>(RegSetValueExA(ToHkey(key), name, 0, type, data, size));
}

void CloseKey(RegistryKey key) { RegCloseKey(ToHkey(key)); }

// Looked up at run time because kernel32 of Windows XP before SP2 lacks the function, and
// an import of it would keep the program from starting there.
bool ReadWow64Flag(int* wow64) {
  FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
  if (found == nullptr) return false;
  // Through the generic function type, which converts to any other without complaint.
  IsWow64ProcessFunction isWow64Process =
      reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void (*)()>(found));
  BOOL flag = FALSE;
  isWow64Process(GetCurrentProcess(), &flag);
  *wow64 = flag;
  return true;
}
