// What the fetcher needs of the platform's network: the socket library, name lookup, and one
// TCP stream socket at a time. The calls sit in a table with the platform's own as defaults,
// so that a test can put stand-ins in their place while it runs. The run starts the library
// through StartNetwork (probe_record.h), which builds the probe record once it has started.
#ifndef CERT_FETCH_NETWORK_H
#define CERT_FETCH_NETWORK_H

#include <cstdint>

typedef intptr_t NetSocket;
const NetSocket InvalidNetSocket = -1;

struct NetworkCalls {
  bool (*startSocketLibrary)();
  // The first IPv4 address of the name, in network order; false when there is none.
  bool (*lookupFirstIPv4)(const char* name, unsigned char address[4]);
  NetSocket (*openStreamSocket)();
  // The address text goes through the platform's classic dotted-text conversion, unchecked.
  bool (*connectIPv4)(NetSocket sock, const char* address, uint16_t port);
  // Both return -1 on failure. receiveBytes returns 0 when the peer closed the connection,
  // and also when timeoutMs (negative: no limit) passed without data.
  int (*sendBytes)(NetSocket sock, const void* data, int length);
  int (*receiveBytes)(NetSocket sock, void* buffer, int length, int timeoutMs);
  // May be called from another thread than the one blocked in connectIPv4 or receiveBytes
  // on the same socket: every such call then fails at once. The fetch's time-out rests on it.
  void (*closeNetSocket)(NetSocket sock);
};

extern const NetworkCalls PlatformNetwork;
extern NetworkCalls Net;

#endif
