// What the switch needs of the platform: keys below HKEY_LOCAL_MACHINE, one value read and
// written, and whether this process is a 32-bit one on 64-bit Windows.
#ifndef IPV6_SWITCH_REGISTRY_H
#define IPV6_SWITCH_REGISTRY_H

#include <cstdint>

typedef void* RegistryKey;

// Access rights as the registry defines them.
const uint32_t KeyRead = 0x20019;
const uint32_t KeyWrite = 0x20006;
const uint32_t KeyWow64View64 = 0x0100;

const uint32_t RegistryDwordType = 4;
const uint32_t RegistrySuccess = 0;

// Every call that can fail returns the system's status code, 0 on success; only then is the
// key set.
uint32_t OpenMachineKey(const char* subkey, uint32_t rights, RegistryKey* key);
// Creates the key when it is missing, else opens it.
uint32_t CreateMachineKey(const char* subkey, uint32_t rights, RegistryKey* key);
// size holds the room in data and comes back as the length of the value's data. Data that
// does not fit fails the query with ERROR_MORE_DATA and leaves the buffer undefined.
uint32_t QueryKeyValue(RegistryKey key, const char* name, uint32_t* type, unsigned char* data,
                       uint32_t* size);
uint32_t SetKeyValue(RegistryKey key, const char* name, uint32_t type, const unsigned char* data,
                     uint32_t size);
void CloseKey(RegistryKey key);

// False when the system has no way to tell (no IsWow64Process); else true, with wow64 set
// as the system reports it. The system is asked afresh at every call.
bool ReadWow64Flag(int* wow64);

#endif
