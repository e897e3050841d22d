// How a fetch ends, and the texts that more than one step of it shows.
#ifndef CERT_FETCH_FETCH_STATUS_H
#define CERT_FETCH_FETCH_STATUS_H

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

// An answer too short to read and one that reads wrong look the same to the user.
extern const char ImproperResponseMessage[];
// The certificate's completion, whether its receive failed or the bytes never came.
extern const char IncompleteCertificateMessage[];

#endif
