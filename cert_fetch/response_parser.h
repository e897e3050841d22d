// Reading the server's answer: where the first certificate sits behind the ServerHello.
#ifndef CERT_FETCH_RESPONSE_PARSER_H
#define CERT_FETCH_RESPONSE_PARSER_H

#include <cstdint>

#include "fetch_status.h"

// Fewer bytes than this are no answer worth reading.
const int32_t ShortestAnswer = 90;

enum AnswerVerdict { CertificateFound, AnswerRejected, MoreBytesNeeded };

struct AnswerReading {
  AnswerVerdict verdict;
  FetchStatus failure;  // AnswerRejected: NotServerHello, BadLayout or BufferTooSmall
  int32_t start;        // CertificateFound: the certificate's first byte in the answer
  uint32_t length;      // and its length, at most capacity
};

// answer holds the count bytes received so far; nothing past them is read. While moreMayCome,
// the answer is judged only once the bytes decide it: at least ShortestAnswer of them and every
// position read, or a type or length already wrong. Once no more can come, positions that never
// arrived read as zero and the verdict is never MoreBytesNeeded.
AnswerReading ReadAnswer(const unsigned char* answer, int32_t count, uint32_t capacity,
                         bool moreMayCome);

#endif
