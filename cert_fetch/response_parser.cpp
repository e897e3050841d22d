#include "response_parser.h"

namespace {

const unsigned char HandshakeRecord = 0x16;
const unsigned char ServerHelloType = 0x02;
const unsigned char CertificateType = 0x0B;
const int32_t RecordHeaderLength = 5;

// Fixed positions: the record's type, then the first message's type and 24-bit length.
const int32_t RecordTypeAt = 0;
const int32_t HelloTypeAt = 5;
const int32_t HelloLengthAt = 6;
// The largest end of the ServerHello that is accepted.
const int32_t LastHelloEnd = 200;
// Behind the Certificate message's type: its 3-byte length and the list's, then the first
// certificate's 3-byte length and its bytes.
const int32_t FirstLengthOffset = 7;
const int32_t FirstCertificateOffset = 10;

struct Reader {
  const unsigned char* answer;
  int32_t count;
  bool missed;  // a position read had not arrived
};

unsigned char At(Reader& reader, int32_t position) {
  if (position < reader.count) return reader.answer[position];
  reader.missed = true;
  return 0;
}

// TLS lengths are 24 bits; reading only the low 16 would let a huge length pass as a small one.
uint32_t Length24(Reader& reader, int32_t position) {
  return static_cast<uint32_t>(At(reader, position)) << 16 |
         static_cast<uint32_t>(At(reader, position + 1)) << 8 | At(reader, position + 2);
}

AnswerReading Verdict(AnswerVerdict verdict, FetchStatus failure) {
  return {verdict, failure, 0, 0};
}

// A verdict drawn from positions that have not all arrived stands only once none can come.
AnswerReading Reject(const Reader& reader, bool moreMayCome, FetchStatus failure) {
  if (reader.missed && moreMayCome) return Verdict(MoreBytesNeeded, Success);
  return Verdict(AnswerRejected, failure);
}

}  // namespace

AnswerReading ReadAnswer(const unsigned char* answer, int32_t count, uint32_t capacity,
                         bool moreMayCome) {
  Reader reader = {answer, count, false};
  if (At(reader, RecordTypeAt) != HandshakeRecord || At(reader, HelloTypeAt) != ServerHelloType)
    return Reject(reader, moreMayCome, NotServerHello);
  const uint32_t helloLength = Length24(reader, HelloLengthAt);
  const uint32_t helloEnd = helloLength + HelloLengthAt + 3;
  if (helloEnd > static_cast<uint32_t>(LastHelloEnd)) return Reject(reader, moreMayCome, BadLayout);
  int32_t message = static_cast<int32_t>(helloEnd);
  const unsigned char next = At(reader, message);
  if (next == HandshakeRecord) {
    message += RecordHeaderLength;
    if (At(reader, message) != CertificateType) return Reject(reader, moreMayCome, BadLayout);
  } else if (next != CertificateType) {
    return Reject(reader, moreMayCome, BadLayout);
  }
  const uint32_t length = Length24(reader, message + FirstLengthOffset);
  if (moreMayCome && (reader.missed || count < ShortestAnswer))
    return Verdict(MoreBytesNeeded, Success);
  if (length > capacity) return Verdict(AnswerRejected, BufferTooSmall);
  return {CertificateFound, Success, message + FirstCertificateOffset, length};
}
