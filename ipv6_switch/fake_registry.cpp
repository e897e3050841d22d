#include "fake_registry.h"

#include <cstring>

#include "registry.h"

FakeRegistry Registry;

namespace {

char TheKey;
RegistryKey const FakeKey = &TheKey;

uint32_t HandOutKey(const char* call, const char* subkey, uint32_t rights, uint32_t status,
                    RegistryKey* key) {
  Registry.calls.push_back(call);
  Registry.subkeys.push_back(subkey);
  Registry.rights.push_back(rights);
  if (status != 0) return status;
  ++Registry.openKeys;
  *key = FakeKey;
  return 0;
}

void CheckKey(RegistryKey key) {
  if (key != FakeKey || Registry.openKeys == 0) Registry.foreignKeyUsed = true;
}

}  // namespace

void ResetFakeRegistry() { Registry = FakeRegistry(); }

std::string DwordData(uint32_t value) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>(value >> (8 * i));
  return data;
}

uint32_t OpenMachineKey(const char* subkey, uint32_t rights, RegistryKey* key) {
  return HandOutKey("open", subkey, rights, Registry.openStatus, key);
}

uint32_t CreateMachineKey(const char* subkey, uint32_t rights, RegistryKey* key) {
  return HandOutKey("create", subkey, rights, Registry.createStatus, key);
}

uint32_t QueryKeyValue(RegistryKey key, const char* name, uint32_t* type, unsigned char* data,
                       uint32_t* size) {
  Registry.calls.push_back("query");
  Registry.valueNames.push_back(name);
  CheckKey(key);
  if (!Registry.valuePresent) return FileNotFound;
  uint32_t room = *size;
  uint32_t length = static_cast<uint32_t>(Registry.valueData.size());
  *type = Registry.valueType;
  *size = length;
  // As the system does, the buffer is not to be trusted after a failure: fill what fits.
  memcpy(data, Registry.valueData.data(), length < room ? length : room);
  return length > room ? MoreData : 0;
}

uint32_t SetKeyValue(RegistryKey key, const char* name, uint32_t type, const unsigned char* data,
                     uint32_t size) {
  Registry.calls.push_back("set");
  Registry.valueNames.push_back(name);
  CheckKey(key);
  if (Registry.setStatus != 0) return Registry.setStatus;
  Registry.writtenType = type;
  Registry.writtenData.assign(reinterpret_cast<const char*>(data), size);
  Registry.valuePresent = true;
  Registry.valueType = type;
  Registry.valueData = Registry.writtenData;
  return 0;
}

void CloseKey(RegistryKey key) {
  Registry.calls.push_back("close");
  CheckKey(key);
  --Registry.openKeys;
}

bool ReadWow64Flag(int* wow64) {
  ++Registry.wow64Checks;
  if (!Registry.wow64Known) return false;
  *wow64 = Registry.wow64;
  return true;
}
