// The fetch: connect, send the probe, read the server's answer under a time-out, and take
// the server's own certificate out of it.
#ifndef CERT_FETCH_FETCH_CERTIFICATE_H
#define CERT_FETCH_FETCH_CERTIFICATE_H

#include <cstdint>

#include "network.h"
#include "worker_thread.h"

// Every failure has been reported on the console by the time its value is returned.
enum FetchStatus {
  Success = 0,
  SocketFailed = 1,
  ConnectFailed = 2,
  SendFailed = 3,
  ReceiveFailed = 4,
  ResponseTooShort = 5,
  NotServerHello = 6,
  BadLayout = 7,
  BufferTooSmall = 8,
  TimedOut = 9,
  ConnectTimedOut = 10,
  ResponseTimedOut = 11,
  ThreadFailed = 12,
  WaitFailed = 13,
  CertificateIncomplete = 14,
};

const int ReceiveBufferSize = 10000;
const int ShortestAnswer = 90;
const int GracePeriodMs = 500;
extern const int ConnectionTimeoutMs;
// Shown for an answer too short to parse as well as for one that parses wrong.
extern const char ImproperResponseMessage[];

// Shared with the worker thread, which writes buffer, then length, then status last.
struct ConnectionJob {
  NetSocket sock;
  const char* address;
  int32_t port;
  unsigned char* buffer;
  int32_t length;
  int32_t status;
};

WorkerExitCode WORKER_ROUTINE_CALL ConnectionWorker(void* job);
// certificateSize holds the buffer's capacity on entry and the certificate's length after
// a success; on failure neither it nor the buffer is touched.
int FetchCertificate(const char* address, int32_t port, unsigned char* certificateBuffer,
                     uint32_t& certificateSize);

#endif
