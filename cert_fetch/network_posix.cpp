#include "network.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// close() does not wake a thread blocked on the descriptor, and a closed descriptor's
// number can be handed out again while that thread still holds it. So a socket is a slot:
// closing shuts the connection down (which wakes connect and recv) and the descriptor
// itself is released only when the last call in flight on it has returned.
struct SocketSlot {
  std::atomic<int> users;  // the owner's reference plus one per call in flight
  std::atomic<bool> closed;
  int descriptor;
};

const int SlotCount = 8;
SocketSlot Slots[SlotCount];

SocketSlot* Enter(NetSocket sock) {
  if (sock < 0 || sock >= SlotCount) return nullptr;
  SocketSlot& slot = Slots[sock];
  int users = slot.users.load();
  do {
    if (users == 0) return nullptr;
  } while (!slot.users.compare_exchange_weak(users, users + 1));
  return &slot;
}

void Leave(SocketSlot* slot) {
  if (slot->users.fetch_sub(1) == 1) close(slot->descriptor);
}

bool StartSocketLibrary() { return true; }

bool LookupFirstIPv4(const char* name, unsigned char address[4]) {
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &found) != 0) return false;
  bool ok = found != nullptr && found->ai_addr != nullptr && found->ai_family == AF_INET;
  if (ok) memcpy(address, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, 4);
  freeaddrinfo(found);
  return ok;
}

NetSocket OpenStreamSocket() {
  for (int i = 0; i < SlotCount; ++i) {
    SocketSlot& slot = Slots[i];
    if (slot.users.load() != 0) continue;
    int descriptor = socket(AF_INET, SOCK_STREAM, 0);
    if (descriptor < 0) return InvalidNetSocket;
    slot.descriptor = descriptor;
    slot.closed.store(false);
    slot.users.store(1);
    return i;
  }
  return InvalidNetSocket;
}

bool ConnectIPv4(NetSocket sock, const char* address, uint16_t port) {
  SocketSlot* slot = Enter(sock);
  if (slot == nullptr) return false;
  sockaddr_in peer = {};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(port);
  peer.sin_addr.s_addr = inet_addr(address);
  bool ok = !slot->closed.load() &&
            connect(slot->descriptor, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0 &&
            !slot->closed.load();
  Leave(slot);
  return ok;
}

int SendBytes(NetSocket sock, const void* data, int length) {
  SocketSlot* slot = Enter(sock);
  if (slot == nullptr) return -1;
  ssize_t sent = slot->closed.load() ? -1 : send(slot->descriptor, data, length, MSG_NOSIGNAL);
  Leave(slot);
  return sent < 0 ? -1 : static_cast<int>(sent);
}

int ReceiveBytes(NetSocket sock, void* buffer, int length, int timeoutMs) {
  SocketSlot* slot = Enter(sock);
  if (slot == nullptr) return -1;
  int result = -1;
  if (!slot->closed.load()) {
    pollfd watch = {slot->descriptor, POLLIN, 0};
    int ready;
    do {
      ready = poll(&watch, 1, timeoutMs < 0 ? -1 : timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) {
      result = 0;
    } else if (ready > 0) {
      ssize_t got = recv(slot->descriptor, buffer, length, 0);
      result = got < 0 ? -1 : static_cast<int>(got);
    }
  }
  // A receive woken by a close from another thread has failed, as it does on Windows,
  // even though the shut-down connection reads as ended.
  if (slot->closed.load()) result = -1;
  Leave(slot);
  return result;
}

void CloseNetSocket(NetSocket sock) {
  if (sock < 0 || sock >= SlotCount) return;
  SocketSlot& slot = Slots[sock];
  if (slot.users.load() == 0 || slot.closed.exchange(true)) return;
  shutdown(slot.descriptor, SHUT_RDWR);
  Leave(&slot);
}

}  // namespace

constexpr NetworkCalls PlatformNetwork = {StartSocketLibrary, LookupFirstIPv4, OpenStreamSocket,
                                          ConnectIPv4,        SendBytes,       ReceiveBytes,
                                          CloseNetSocket};
NetworkCalls Net = PlatformNetwork;
