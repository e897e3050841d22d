// Builds server answers for the tests: a ServerHello, then the Certificate message either
// in the same record or in a record of its own.
#ifndef CERT_FETCH_TLS_ANSWER_H
#define CERT_FETCH_TLS_ANSWER_H

#include <cstdint>
#include <string>

inline std::string Bytes24(uint32_t value) {
  return {static_cast<char>(value >> 16), static_cast<char>(value >> 8), static_cast<char>(value)};
}

struct AnswerShape {
  uint32_t helloLength = 70;   // as written in the ServerHello header
  bool ownRecord = true;       // Certificate message in a record of its own
  char nextType = 0x0B;        // type of the message after the ServerHello
  uint32_t certificateLength;  // as written in the first certificate's length field
};

inline std::string TlsAnswer(const AnswerShape& shape, const std::string& certificate) {
  std::string answer("\x16\x03\x01\x10\x00\x02", 6);
  answer += Bytes24(shape.helloLength);
  answer += std::string(shape.helloLength & 0xFFFF, '\x42');
  if (shape.ownRecord) answer += std::string("\x16\x03\x01\x10\x00", 5);
  answer += shape.nextType;
  answer += Bytes24(shape.certificateLength + 6) + Bytes24(shape.certificateLength + 3);
  answer += Bytes24(shape.certificateLength);
  return answer + certificate;
}

inline std::string CertificateBytes(size_t length) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(0x30 + i * 7);
  return bytes;
}

#endif
