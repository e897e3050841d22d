// The fetch: connect, send the probe, read the server's answer under a time-out, and take
// the server's own certificate out of it.
#ifndef CERT_FETCH_FETCH_CERTIFICATE_H
#define CERT_FETCH_FETCH_CERTIFICATE_H

#include <cstdint>

#include "fetch_status.h"
#include "network.h"
#include "worker_thread.h"

const int32_t ReceiveBufferSize = 10000;

struct FetchTimeLimits {
  int connectionMs;  // connect, send and the answer, on the worker
  int graceMs;       // for the worker to end after its socket was closed
  int completionMs;  // every further receive for the rest of the certificate, together
};
extern const FetchTimeLimits ProgramTimeLimits;

// Shared with the worker thread, which writes buffer, then length, then status last.
struct ConnectionJob {
  NetSocket sock;
  const char* address;
  int32_t port;
  unsigned char* buffer;
  int32_t length;  // the buffer's size on entry, the bytes received at the end
  int32_t status;
};

WorkerExitCode WORKER_ROUTINE_CALL ConnectionWorker(void* job);

// certificateSize holds the buffer's capacity on entry and the certificate's length after
// a success; on failure neither it nor the buffer is touched.
FetchStatus FetchCertificate(const char* address, int32_t port, unsigned char* certificateBuffer,
                             uint32_t& certificateSize);
// The same under other time limits, for tests that cannot wait the program's.
FetchStatus FetchCertificateWithin(const FetchTimeLimits& limits, const char* address,
                                   int32_t port, unsigned char* certificateBuffer,
                                   uint32_t& certificateSize);

// After a good answer of count bytes: read it, complete the certificate, copy it out. The
// socket stays open.
FetchStatus ExtractCertificate(NetSocket sock, unsigned char* answer, int32_t count,
                               unsigned char* certificateBuffer, uint32_t& certificateSize,
                               int completionMs);

#endif
