#include "response_parser.h"

#include <cstring>

#include "console.h"
#include "fetch_certificate.h"

namespace {

const unsigned char HandshakeRecord = 0x16;
const unsigned char ServerHelloType = 0x02;
const unsigned char CertificateType = 0x0B;
const uint32_t LastServerHelloEnd = 200;
const int RecordHeaderLength = 5;

const char IncompleteCertificate[] =
    "\n\n\t Error: Failed to receive complete SSL certificate from server. Kindly try again.\n\n";

// TLS lengths are 24 bits; reading only the low 16 would let a huge length pass as a small one.
uint32_t Read24(const unsigned char* at) {
  return (static_cast<uint32_t>(at[0]) << 16) | (static_cast<uint32_t>(at[1]) << 8) | at[2];
}

}  // namespace

int LocateCertificate(const unsigned char* answer, uint32_t capacity, CertificateLocation* found) {
  if (answer[0] != HandshakeRecord || answer[5] != ServerHelloType) return NotServerHello;
  uint32_t helloLength = Read24(answer + 6);
  if (helloLength + 9 > LastServerHelloEnd) return BadLayout;
  uint32_t next = helloLength + 9;
  uint32_t message;
  if (answer[next] == HandshakeRecord && answer[next + RecordHeaderLength] == CertificateType)
    message = next + RecordHeaderLength;
  else if (answer[next] == CertificateType)
    message = next;
  else
    return BadLayout;
  // Message type, 3-byte message length, 3-byte list length, then the first certificate's.
  uint32_t length = Read24(answer + message + 7);
  if (length > capacity) return BufferTooSmall;
  found->start = static_cast<int32_t>(message + 10);
  found->length = length;
  return Success;
}

int ExtractCertificate(NetSocket sock, unsigned char* answer, int32_t count,
                       unsigned char* certificateBuffer, uint32_t& certificateSize) {
  PrintMessage("\n\n\n[*] Downloading the SSL Certificate from the server");
  CertificateLocation found;
  int status = LocateCertificate(answer, certificateSize, &found);
  if (status != Success) {
    CloseNetSocket(sock);
    if (status == BufferTooSmall)
      ReportError("\n\n\t Error: Buffer size is too small to copy certificate from server.\n\n");
    else
      ReportError("%s", ImproperResponseMessage);
    return status;
  }
  int64_t available = static_cast<int64_t>(count) - found.start;
  if (available < found.length) {
    // One more receive, into what is left of the buffer less the byte for the closing zero.
    int room = ReceiveBufferSize - 1 - count;
    int got = room > 0 ? ReceiveBytes(sock, answer + count, room, ConnectionTimeoutMs) : 0;
    if (got < 0) {
      CloseNetSocket(sock);
      ReportError(IncompleteCertificate);
      return ReceiveFailed;
    }
    count += got;
    answer[count] = 0;
    if (available + got < found.length) {
      CloseNetSocket(sock);
      ReportError(IncompleteCertificate);
      return CertificateIncomplete;
    }
  }
  CloseNetSocket(sock);
  certificateSize = found.length;
  memcpy(certificateBuffer, answer + found.start, found.length);
  PrintMessage("\n\t Successfully downloaded the SSL Certificate");
  return Success;
}
