// What the fetcher needs of the platform's network: the socket library, name lookup,
// byte order, and one TCP stream socket at a time.
#ifndef CERT_FETCH_NETWORK_H
#define CERT_FETCH_NETWORK_H

#include <cstdint>

typedef intptr_t NetSocket;
const NetSocket InvalidNetSocket = -1;

bool StartSocketLibrary();
uint16_t HostToNetwork16(uint16_t value);
// The first IPv4 address of the name, in network order; false when there is none.
bool LookupFirstIPv4(const char* name, unsigned char address[4]);

NetSocket OpenStreamSocket();
// The address text goes through the platform's classic dotted-text conversion, unchecked.
bool ConnectIPv4(NetSocket sock, const char* address, uint16_t port);
// Both return -1 on failure. ReceiveBytes returns 0 when the peer closed the connection, and
// also when timeoutMs (negative: no limit) passed without data.
int SendBytes(NetSocket sock, const void* data, int length);
int ReceiveBytes(NetSocket sock, void* buffer, int length, int timeoutMs);
// May be called from another thread than the one blocked in ConnectIPv4 or ReceiveBytes on
// the same socket: that call then fails at once.
void CloseNetSocket(NetSocket sock);

#endif
