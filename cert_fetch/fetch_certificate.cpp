#include "fetch_certificate.h"

#include "console.h"
#include "probe_record.h"
#include "response_parser.h"

const int ConnectionTimeoutMs = 5000;
const char ImproperResponseMessage[] =
    "\n\n\t Error: Improper response from server. Make sure that port number is valid & SSL "
    "Service is running on the Server.\n\n";

namespace {

const char ReceiveFailedMessage[] =
    "\n\n\t Error: Server did not send any response. Make sure that port number is valid & SSL "
    "Service is running on the Server.\n\n";

WorkerExitCode Finish(ConnectionJob* job, int status) {
  job->status = status;
  return static_cast<WorkerExitCode>(status);
}

// With the console lock held, the worker is stopped between prints, never inside one.
void GiveUpOnWorker(WorkerThread thread) {
  LockConsoleOutput();
  StopWorker(thread);
  UnlockConsoleOutput();
}

}  // namespace

WorkerExitCode WORKER_ROUTINE_CALL ConnectionWorker(void* argument) {
  ConnectionJob* job = static_cast<ConnectionJob*>(argument);
  if (!ConnectIPv4(job->sock, job->address, static_cast<uint16_t>(job->port & 0xFFFF))) {
    ReportError(
        "\n\n\t Error: Failed. Make sure server address/port number is correct and it is "
        "reachable.\n\n");
    return Finish(job, ConnectFailed);
  }
  PrintMessage("\n\t Success !!!");
  PrintMessage("\n\n\n[*] Now performing SSL Handshake with the server");
  if (SendBytes(job->sock, ProbeRecord, ProbeRecordLength) < 0) {
    ReportError("\n\n\t Error: Failed to send SSL handshake message to server\n\n");
    return Finish(job, SendFailed);
  }
  int count = ReceiveBytes(job->sock, job->buffer, job->length - 1, -1);
  if (count < 0) {
    ReportError(ReceiveFailedMessage);
    return Finish(job, ReceiveFailed);
  }
  job->buffer[count] = 0;
  job->length = count;
  if (count < ShortestAnswer) {
    ReportError(ImproperResponseMessage);
    return Finish(job, ResponseTooShort);
  }
  PrintMessage("\n\t Success !!!");
  return Finish(job, Success);
}

int FetchCertificate(const char* address, int32_t port, unsigned char* certificateBuffer,
                     uint32_t& certificateSize) {
  PrintMessage("\n\n\n[*] Connecting to Server %s:%d", address, port);
  NetSocket sock = OpenStreamSocket();
  if (sock == InvalidNetSocket) {
    ReportError("\n\n\t Error: Socket creation failed due to internal system error.\n\n");
    return SocketFailed;
  }
  // Cleared, so that positions the server never sent read as zero.
  unsigned char buffer[ReceiveBufferSize] = {};
  ConnectionJob job = {sock, address, port, buffer, ReceiveBufferSize, Success};
  WorkerThread thread = 0;
  if (!StartWorkerThread(ConnectionWorker, &job, &thread)) {
    ReportError("\n\n\t Error: Failed to create thread to connect to server.\n\n");
    CloseNetSocket(sock);
    return ThreadFailed;
  }
  WaitOutcome outcome = WaitForWorker(thread, ConnectionTimeoutMs);
  if (outcome == WorkerStillRunning) {
    // Closing the socket ends a pending connect or receive; the worker reports that itself.
    CloseNetSocket(sock);
    if (WaitForWorker(thread, GracePeriodMs) != WorkerEnded) GiveUpOnWorker(thread);
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
    return job.status;
  }
  return ExtractCertificate(sock, buffer, job.length, certificateBuffer, certificateSize);
}
