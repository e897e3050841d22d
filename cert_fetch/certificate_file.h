// Where the certificate's bytes go on their way to the file the user named. A regular file,
// or one that does not exist yet, is written as a new file beside it and only then put in its
// place, so that a failed save leaves the previous file as it was. Anything else (a device, a
// pipe) is written to directly: it cannot be replaced, and there is nothing on it to lose.
#ifndef CERT_FETCH_CERTIFICATE_FILE_H
#define CERT_FETCH_CERTIFICATE_FILE_H

#include <cstddef>
#include <cstdio>

// Room for the name of the new file: the longest path either platform accepts, and more.
const size_t StagedNameSize = 4352;

// Opens the stream for the certificate, in binary mode, or returns null when no file could
// be created; *outOfSpace then tells whether the disk's being full was the reason. staged
// receives the name of the new file to hand to PlaceCertificateFile or
// DiscardCertificateFile, or the empty text when the stream writes to the path itself.
FILE* OpenCertificateFile(const char* path, char* staged, size_t stagedSize, bool* outOfSpace);
// Puts the closed staged file in the path's place; false when it could not (the staged file
// is then still there, and the path unchanged).
bool PlaceCertificateFile(const char* staged, const char* path);
void DiscardCertificateFile(const char* staged);

#endif
