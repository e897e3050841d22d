// Test stand-in for the registry and the WOW64 check: one key, one value, recorded calls,
// and any call made to fail with a chosen status code.
#ifndef IPV6_SWITCH_FAKE_REGISTRY_H
#define IPV6_SWITCH_FAKE_REGISTRY_H

#include <cstdint>
#include <string>
#include <vector>

const uint32_t FileNotFound = 2;
const uint32_t AccessDenied = 5;
const uint32_t MoreData = 234;

struct FakeRegistry {
  // Status codes the calls return; 0 lets them succeed.
  uint32_t openStatus = 0;
  uint32_t createStatus = 0;
  uint32_t setStatus = 0;
  // The value as stored; a query of a missing value fails with FileNotFound.
  bool valuePresent = false;
  uint32_t valueType = 4;
  std::string valueData;

  bool wow64Known = true;  // false: the system lacks IsWow64Process
  int wow64 = 0;
  int wow64Checks = 0;

  // "open", "create", "query", "set", "close" in the order called.
  std::vector<std::string> calls;
  std::vector<std::string> subkeys;
  std::vector<uint32_t> rights;
  std::vector<std::string> valueNames;  // of queries and writes
  uint32_t writtenType = 0;
  std::string writtenData;
  int openKeys = 0;  // keys handed out and not closed yet
  bool foreignKeyUsed = false;  // a call got a key that was never handed out, or a closed one
};

extern FakeRegistry Registry;
void ResetFakeRegistry();
// The four bytes of a REG_DWORD as stored.
std::string DwordData(uint32_t value);

#endif
