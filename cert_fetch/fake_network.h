// Test stand-in for the network: scripted answers, recorded calls.
#ifndef CERT_FETCH_FAKE_NETWORK_H
#define CERT_FETCH_FAKE_NETWORK_H

#include <atomic>
#include <string>
#include <vector>

#include "network.h"

enum FakeBlocking {
  DoesNotBlock,
  BlocksUntilClosed,  // as a real socket does: the close makes the call fail
};

struct FakeNetwork {
  bool startFails = false;
  bool openFails = false;
  bool lookupFinds = true;
  unsigned char lookupAddress[4] = {127, 0, 0, 1};

  FakeBlocking connectBlocking = DoesNotBlock;
  bool connectFails = false;
  bool sendFails = false;
  FakeBlocking receiveBlocking = DoesNotBlock;  // for the first receive
  // What the server sends, piece by piece: a receive takes what it has room for of the
  // current piece and leaves the rest for the next. "" reads as a closed connection. Past the
  // last piece a receive fails.
  std::vector<std::string> receives;

  std::atomic<int> opens{0};
  std::atomic<int> closes{0};
  std::string connectedAddress;
  int connectedPort = -1;
  std::string sent;
  std::vector<int> receiveLimits;    // the length asked of each receive
  std::vector<int> receiveTimeouts;  // and its time limit
};

extern FakeNetwork Network;
extern const NetworkCalls FakeNetworkCalls;
// A fresh script, with the stand-in calls in the network's table.
void ResetFakeNetwork();

#endif
