// Saving the certificate so that a save either succeeds whole or leaves the previous file
// as it was.
#ifndef CERT_FETCH_CERTIFICATE_SAVE_H
#define CERT_FETCH_CERTIFICATE_SAVE_H

#include <cstdint>

enum SaveOutcome { CertificateSaved, FileNotCreated, CertificateNotWritten };

SaveOutcome SaveCertificateFile(const char* path, const unsigned char* bytes, uint32_t size);

#endif
