#include "certificate_save.h"

#include <cstdio>

#include "certificate_file.h"

SaveOutcome SaveCertificateFile(const char* path, const unsigned char* bytes, uint32_t size) {
  char staged[StagedNameSize];
  bool outOfSpace = false;
  FILE* file = OpenCertificateFile(path, staged, sizeof staged, &outOfSpace);
  if (file == nullptr) return outOfSpace ? CertificateNotWritten : FileNotCreated;
  bool written = size == 0 || fwrite(bytes, size, 1, file) == 1;
  // A close may report success although the bytes still buffered could not be written (some
  // runtimes do), so the flush is checked on its own first.
  bool flushed = fflush(file) == 0;
  bool closed = fclose(file) == 0;
  bool saved = written && flushed && closed;
  if (staged[0] != '\0') {
    saved = saved && PlaceCertificateFile(staged, path);
    if (!saved) DiscardCertificateFile(staged);
  }
  return saved ? CertificateSaved : CertificateNotWritten;
}
