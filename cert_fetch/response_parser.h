// Finding the first certificate behind the server's ServerHello.
#ifndef CERT_FETCH_RESPONSE_PARSER_H
#define CERT_FETCH_RESPONSE_PARSER_H

#include <cstdint>

#include "network.h"

struct CertificateLocation {
  int32_t start;   // position of the certificate's first byte in the answer
  uint32_t length;
};

// answer is the whole receive buffer (ReceiveBufferSize bytes, zero past the received data).
// Returns Success with the location, or NotServerHello, BadLayout or BufferTooSmall.
int LocateCertificate(const unsigned char* answer, uint32_t capacity, CertificateLocation* found);

// The fetch after a good first answer of count bytes: locate, receive once more if the
// certificate is not complete yet, close the socket, copy the certificate out.
int ExtractCertificate(NetSocket sock, unsigned char* answer, int32_t count,
                       unsigned char* certificateBuffer, uint32_t& certificateSize);

#endif
