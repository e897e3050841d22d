#include "fake_network.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>
#include <thread>

#include "network.h"

FakeNetwork Network;

namespace {

const NetSocket FakeSocket = 5;

// Returns false when the wait ended because the socket was closed.
bool Block(FakeBlocking blocking) {
  if (blocking == DoesNotBlock) return true;
  while (Network.closes.load() == 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return false;
}

bool StartSocketLibrary() { return !Network.startFails; }

bool LookupFirstIPv4(const char*, unsigned char address[4]) {
  if (!Network.lookupFinds) return false;
  memcpy(address, Network.lookupAddress, 4);
  return true;
}

NetSocket OpenStreamSocket() {
  if (Network.openFails) return InvalidNetSocket;
  ++Network.opens;
  return FakeSocket;
}

bool ConnectIPv4(NetSocket, const char* address, uint16_t port) {
  Network.connectedAddress = address;
  Network.connectedPort = port;
  if (!Block(Network.connectBlocking)) return false;
  return !Network.connectFails;
}

int SendBytes(NetSocket, const void* data, int length) {
  if (Network.sendFails) return -1;
  Network.sent.append(static_cast<const char*>(data), length);
  return length;
}

int ReceiveBytes(NetSocket, void* buffer, int length, int timeoutMs) {
  size_t turn = Network.receiveLimits.size();
  Network.receiveLimits.push_back(length);
  Network.receiveTimeouts.push_back(timeoutMs);
  if (turn == 0 && !Block(Network.receiveBlocking)) return -1;
  if (Network.receives.empty()) return -1;
  std::string& piece = Network.receives.front();
  if (piece.empty()) return 0;  // a closed connection stays closed
  int got = static_cast<int>(std::min<size_t>(piece.size(), length));
  memcpy(buffer, piece.data(), got);
  if (got == static_cast<int>(piece.size()))
    Network.receives.erase(Network.receives.begin());
  else
    piece.erase(0, got);
  return got;
}

void CloseNetSocket(NetSocket) { ++Network.closes; }

}  // namespace

const NetworkCalls FakeNetworkCalls = {StartSocketLibrary, LookupFirstIPv4, OpenStreamSocket,
                                       ConnectIPv4,        SendBytes,       ReceiveBytes,
                                       CloseNetSocket};

void ResetFakeNetwork() {
  Network.~FakeNetwork();
  new (&Network) FakeNetwork();
  Net = FakeNetworkCalls;
}
