// The worker thread's part of a fetch: connect, send the probe, and read the answer until it
// can be judged.
#include <cstdint>

#include "console.h"
#include "fetch_certificate.h"
#include "probe_record.h"
#include "response_parser.h"

namespace {

const char ReceiveFailedMessage[] =
    "\n\n\t Error: Server did not send any response. Make sure that port number is valid & SSL "
    "Service is running on the Server.\n\n";

WorkerExitCode Finish(ConnectionJob* job, FetchStatus status) {
  job->status = status;
  return static_cast<WorkerExitCode>(status);
}

// TCP delivers the answer in pieces that fall wherever they fall, so the receives go on
// until the bytes in hand decide the answer, the server closes, or the buffer is full.
// Returns the count received, or -1 when a receive failed.
int32_t ReceiveAnswer(NetSocket sock, unsigned char* buffer, int32_t size) {
  const int32_t longest = size - 1;  // room for the closing zero
  int32_t count = 0;
  while (count < longest) {
    int got = Net.receiveBytes(sock, buffer + count, longest - count, -1);
    if (got < 0) return -1;
    if (got == 0) break;
    count += got;
    if (ReadAnswer(buffer, count, UINT32_MAX, true).verdict != MoreBytesNeeded) break;
  }
  buffer[count] = 0;
  return count;
}

}  // namespace

WorkerExitCode WORKER_ROUTINE_CALL ConnectionWorker(void* argument) {
  ConnectionJob* job = static_cast<ConnectionJob*>(argument);
  if (!Net.connectIPv4(job->sock, job->address, static_cast<uint16_t>(job->port & 0xFFFF))) {
    ReportError(
        "\n\n\t Error: Failed. Make sure server address/port number is correct and it is "
        "reachable.\n\n");
    return Finish(job, ConnectFailed);
  }
  PrintMessage("\n\t Success !!!");
  PrintMessage("\n\n\n[*] Now performing SSL Handshake with the server");
  if (Net.sendBytes(job->sock, ProbeRecord, ProbeRecordLength) < 0) {
    ReportError("\n\n\t Error: Failed to send SSL handshake message to server\n\n");
    return Finish(job, SendFailed);
  }
  int32_t count = ReceiveAnswer(job->sock, job->buffer, job->length);
  if (count < 0) {
    ReportError(ReceiveFailedMessage);
    return Finish(job, ReceiveFailed);
  }
  job->length = count;
  if (count < ShortestAnswer) {
    ReportError("%s", ImproperResponseMessage);
    return Finish(job, ResponseTooShort);
  }
  PrintMessage("\n\t Success !!!");
  return Finish(job, Success);
}
