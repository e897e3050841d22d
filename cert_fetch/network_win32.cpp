#include "network.h"

#include <winsock2.h>

namespace {

bool StartSocketLibrary() {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

bool LookupFirstIPv4(const char* name, unsigned char address[4]) {
  hostent* host = gethostbyname(name);
  if (host == nullptr || host->h_addrtype != AF_INET || host->h_length != 4 ||
      host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr)
    return false;
  for (int i = 0; i < 4; ++i) address[i] = static_cast<unsigned char>(host->h_addr_list[0][i]);
  return true;
}

NetSocket OpenStreamSocket() {
  SOCKET sock = socket(AF_INET, SOCK_STREAM, 0);
  return sock == INVALID_SOCKET ? InvalidNetSocket : static_cast<NetSocket>(sock);
}

bool ConnectIPv4(NetSocket sock, const char* address, uint16_t port) {
  sockaddr_in peer = {};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(port);
  peer.sin_addr.s_addr = inet_addr(address);
  return connect(static_cast<SOCKET>(sock), reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0;
}

int SendBytes(NetSocket sock, const void* data, int length) {
  int sent = send(static_cast<SOCKET>(sock), static_cast<const char*>(data), length, 0);
  return sent == SOCKET_ERROR ? -1 : sent;
}

int ReceiveBytes(NetSocket sock, void* buffer, int length, int timeoutMs) {
  SOCKET s = static_cast<SOCKET>(sock);
  if (timeoutMs >= 0) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval limit = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int ready = select(0, &readable, nullptr, nullptr, &limit);
    if (ready == SOCKET_ERROR) return -1;
    if (ready == 0) return 0;
  }
  int got = recv(s, static_cast<char*>(buffer), length, 0);
  return got == SOCKET_ERROR ? -1 : got;
}

void CloseNetSocket(NetSocket sock) { closesocket(static_cast<SOCKET>(sock)); }

}  // namespace

constexpr NetworkCalls PlatformNetwork = {StartSocketLibrary, LookupFirstIPv4, OpenStreamSocket,
                                          ConnectIPv4,        SendBytes,       ReceiveBytes,
                                          CloseNetSocket};
NetworkCalls Net = PlatformNetwork;
