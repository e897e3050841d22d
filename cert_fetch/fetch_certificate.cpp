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

// Receives into the rest of the answer's buffer until end bytes are in hand. One deadline
// covers all the receives, so a server that trickles cannot stretch the run.
FetchStatus ReceiveUpTo(NetSocket sock, unsigned char* answer, int32_t* count, int64_t end,
                        int limitMs) {
  const uint32_t began = MonotonicMilliseconds();
  while (*count < end) {
    const int32_t room = ReceiveBufferSize - 1 - *count;
    const uint32_t spent = MonotonicMilliseconds() - began;
    if (room <= 0 || spent >= static_cast<uint32_t>(limitMs)) return CertificateIncomplete;
    int got = Net.receiveBytes(sock, answer + *count, room, limitMs - static_cast<int>(spent));
    if (got < 0) return ReceiveFailed;
    if (got == 0) return CertificateIncomplete;  // closed, or the deadline passed
    *count += got;
    answer[*count] = 0;
  }
  return Success;
}

// Waits for the worker within the time limits and tells how its part ended. When it returns
// false in *socketOpen, the socket has been closed already: the worker may have been blocked
// in a call on it, and only the close wakes that call.
FetchStatus SuperviseWorker(const FetchTimeLimits& limits, ConnectionJob* job, bool* socketOpen) {
  WorkerThread thread = 0;
  if (!WorkerThreads.start(ConnectionWorker, job, &thread)) {
    ReportError("\n\n\t Error: Failed to create thread to connect to server.\n\n");
    return ThreadFailed;
  }
  const WaitOutcome outcome = WorkerThreads.wait(thread, limits.connectionMs);
  if (outcome == WorkerEnded) {
    WorkerThreads.release(thread);
    return static_cast<FetchStatus>(job->status);
  }
  Net.closeNetSocket(job->sock);
  *socketOpen = false;
  if (outcome == WaitBroken) {
    ReportError("\n\n\t Error: Server connection thread terminated abnormally. Kindly try again\n\n");
    WorkerThreads.stop(thread);
    WorkerThreads.release(thread);
    return WaitFailed;
  }
  if (WorkerThreads.wait(thread, limits.graceMs) != WorkerEnded) WorkerThreads.stop(thread);
  WorkerThreads.release(thread);
  // The worker has reported a connect or receive that the close ended.
  if (job->status == ConnectFailed) return ConnectTimedOut;
  if (job->status == ReceiveFailed) return ResponseTimedOut;
  ReportError(
      "\n\n\t Error: Timed out while communicating with server. Make sure server is in good "
      "health and try again\n\n");
  return TimedOut;
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
  switch (status) {
    case Success:
      certificateSize = reading.length;
      memcpy(certificateBuffer, answer + reading.start, reading.length);
      PrintMessage("\n\t Successfully downloaded the SSL Certificate");
      break;
    case BufferTooSmall:
      ReportError("\n\n\t Error: Buffer size is too small to copy certificate from server.\n\n");
      break;
    case NotServerHello:
    case BadLayout:
      ReportError("%s", ImproperResponseMessage);
      break;
    default:
      ReportError("%s", IncompleteCertificateMessage);
      break;
  }
  return status;
}

FetchStatus FetchCertificateWithin(const FetchTimeLimits& limits, const char* address,
                                   int32_t port, unsigned char* certificateBuffer,
                                   uint32_t& certificateSize) {
  PrintMessage("\n\n\n[*] Connecting to Server %s:%d", address, port);
  const NetSocket sock = Net.openStreamSocket();
  if (sock == InvalidNetSocket) {
    ReportError("\n\n\t Error: Socket creation failed due to internal system error.\n\n");
    return SocketFailed;
  }
  unsigned char buffer[ReceiveBufferSize];
  ConnectionJob job = {sock, address, port, buffer, ReceiveBufferSize, Success};
  bool socketOpen = true;
  FetchStatus status = SuperviseWorker(limits, &job, &socketOpen);
  if (status == Success)
    status = ExtractCertificate(sock, buffer, job.length, certificateBuffer, certificateSize,
                                limits.completionMs);
  if (socketOpen) Net.closeNetSocket(sock);
  return status;
}

FetchStatus FetchCertificate(const char* address, int32_t port, unsigned char* certificateBuffer,
                             uint32_t& certificateSize) {
  return FetchCertificateWithin(ProgramTimeLimits, address, port, certificateBuffer,
                                certificateSize);
}
