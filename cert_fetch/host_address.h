// Telling a dotted IPv4 literal from a host name, and looking the latter up.
#ifndef CERT_FETCH_HOST_ADDRESS_H
#define CERT_FETCH_HOST_ADDRESS_H

#include <cstddef>

// 1 for texts of at most 15 digits and dots with at most three dots, else 0. Group count and
// values are not checked: such texts go unchanged to the connection.
int IsDottedIPv4(const char* text);
// 1 with the first IPv4 address's dotted text in the buffer, 0 when the lookup fails.
int ResolveHost(const char* name, char* buffer, size_t size);

#endif
