#include "fetch_certificate.h"

#include <cstring>

#include "console.h"
#include "monotonic_clock.h"
#include "response_parser.h"

const FetchTimeLimits ProgramTimeLimits = {5000, 500, 5000};
const char ImproperResponseMessage[] =
    "\n\n\t Error: Improper response from server. Make sure that port number is valid & SSL "
    "Service is running on the Server.\n\n";
const char IncompleteCertificateMessage[] =
    "\n\n\t Error: Failed to receive complete SSL certificate from server. Kindly try again.\n\n";

namespace {

// With the console lock held, the worker is stopped between prints, never inside one.
void GiveUpOnWorker(WorkerThread thread) {
  LockConsoleOutput();
  StopWorker(thread);
  UnlockConsoleOutput();
}

// Receives into the rest of the answer's buffer until end bytes are in hand. One deadline
// covers all the receives, so a server that trickles cannot stretch the run.
FetchStatus ReceiveUpTo(NetSocket sock, unsigned char* answer, int32_t* count, int64_t end,
                        int limitMs) {
  const uint32_t began = MonotonicMilliseconds();
  while (*count < end) {
    const int32_t room = ReceiveBufferSize - 1 - *count;
    const uint32_t spent = MonotonicMilliseconds() - began;
    if (room <= 0 || spent >= static_cast<uint32_t>(limitMs)) return CertificateIncomplete;
    int got = ReceiveBytes(sock, answer + *count, room, limitMs - static_cast<int>(spent));
    if (got < 0) return ReceiveFailed;
    if (got == 0) return CertificateIncomplete;  // closed, or the deadline passed
    *count += got;
    answer[*count] = 0;
  }
  return Success;
}

}  // namespace

FetchStatus ExtractCertificate(NetSocket sock, unsigned char* answer, int32_t count,
                               unsigned char* certificateBuffer, uint32_t& certificateSize,
                               int completionMs) {
  PrintMessage("\n\n\n[*] Downloading the SSL Certificate from the server");
  const AnswerReading reading = ReadAnswer(answer, count, certificateSize, false);
  FetchStatus status = reading.verdict == CertificateFound
                           ? ReceiveUpTo(sock, answer, &count,
                                         static_cast<int64_t>(reading.start) + reading.length,
                                         completionMs)
                           : reading.failure;
  CloseNetSocket(sock);
  switch (status) {
    case Success:
      break;
    case BufferTooSmall:
      ReportError("\n\n\t Error: Buffer size is too small to copy certificate from server.\n\n");
      return status;
    case NotServerHello:
    case BadLayout:
      ReportError("%s", ImproperResponseMessage);
      return status;
    default:
      ReportError("%s", IncompleteCertificateMessage);
      return status;
  }
  certificateSize = reading.length;
  memcpy(certificateBuffer, answer + reading.start, reading.length);
  PrintMessage("\n\t Successfully downloaded the SSL Certificate");
  return Success;
}

FetchStatus FetchCertificateWithin(const FetchTimeLimits& limits, const char* address,
                                   int32_t port, unsigned char* certificateBuffer,
                                   uint32_t& certificateSize) {
  PrintMessage("\n\n\n[*] Connecting to Server %s:%d", address, port);
  NetSocket sock = OpenStreamSocket();
  if (sock == InvalidNetSocket) {
    ReportError("\n\n\t Error: Socket creation failed due to internal system error.\n\n");
    return SocketFailed;
  }
  unsigned char buffer[ReceiveBufferSize];
  ConnectionJob job = {sock, address, port, buffer, ReceiveBufferSize, Success};
  WorkerThread thread = 0;
  if (!StartWorkerThread(ConnectionWorker, &job, &thread)) {
    ReportError("\n\n\t Error: Failed to create thread to connect to server.\n\n");
    CloseNetSocket(sock);
    return ThreadFailed;
  }
  WaitOutcome outcome = WaitForWorker(thread, limits.connectionMs);
  if (outcome == WorkerStillRunning) {
    // The one close before the end of the fetch: it wakes a pending connect or receive, and
    // the worker reports that itself.
    CloseNetSocket(sock);
    if (WaitForWorker(thread, limits.graceMs) != WorkerEnded) GiveUpOnWorker(thread);
    ReleaseWorker(thread);
    if (job.status == ConnectFailed) return ConnectTimedOut;
    if (job.status == ReceiveFailed) return ResponseTimedOut;
    ReportError(
        "\n\n\t Error: Timed out while communicating with server. Make sure server is in good "
        "health and try again\n\n");
    return TimedOut;
  }
  if (outcome == WaitBroken) {
    CloseNetSocket(sock);
    ReportError("\n\n\t Error: Server connection thread terminated abnormally. Kindly try again\n\n");
    GiveUpOnWorker(thread);
    ReleaseWorker(thread);
    return WaitFailed;
  }
  ReleaseWorker(thread);
  if (job.status != Success) {
    CloseNetSocket(sock);
    return static_cast<FetchStatus>(job.status);
  }
  return ExtractCertificate(sock, buffer, job.length, certificateBuffer, certificateSize,
                            limits.completionMs);
}

FetchStatus FetchCertificate(const char* address, int32_t port, unsigned char* certificateBuffer,
                             uint32_t& certificateSize) {
  return FetchCertificateWithin(ProgramTimeLimits, address, port, certificateBuffer,
                                certificateSize);
}
