#include "run_fetch.h"

#include <cstring>

#include "certificate_save.h"
#include "console.h"
#include "fetch_certificate.h"
#include "host_address.h"
#include "probe_record.h"
#include "tarnwick_identity.h"

namespace {

const int AddressBufferSize = 128;
const uint32_t CertificateBufferSize = 20000;

void SaveCertificate(const char* path, const unsigned char* bytes, uint32_t size) {
  PrintMessage("\n\n\n[*] Saving the SSL certificate to the file %s ", path);
  SaveOutcome outcome = SaveCertificateFile(path, bytes, size);
  if (outcome == FileNotCreated) {
    ReportError(
        "\n\n\t Error: Failed to create file for saving certificate. Make sure you have "
        "specified correct file path.\n\n");
    return;
  }
  if (outcome == CertificateNotWritten) {
    ReportError(
        "\n\n\t Error: Failed to write the certificate to the file. Make sure there is enough "
        "space on the disk.\n\n");
    return;
  }
  PrintMessage("\n\t Success !!!\n\n");
}

}  // namespace

void RunFetch(const char* address, int32_t port, const char* path) {
  char resolved[AddressBufferSize];
  memset(resolved, 0, sizeof resolved);
  PrintBanner(TarnwickDisplayName, TarnwickBannerVersion, TarnwickWebAddress, false);
  SetTextColour(Green);
  PrintMessage("\n\n\n[*] Initializing Tarnwick");
  if (!StartNetwork()) {
    ReportError("\n\n\t Error: Network initialization failed.\n\n");
    return;
  }
  PrintMessage("\n\t Success");
  PrintMessage("\n\n\n[*] Checking the validity of Host Address");
  if (!IsDottedIPv4(address)) {
    PrintMessage("\n\n\n[*] Getting IP Address for the specified host name");
    if (!ResolveHost(address, resolved, sizeof resolved)) {
      ReportError(
          "\n\n\t Error: Failed to get IP address for the specified server name. Make sure you "
          "have entered valid server name or enter the IP address directly.\n\n");
      return;
    }
    PrintMessage("\n\t Got IP Address of the server - %s", resolved);
    address = resolved;
  }
  unsigned char certificate[CertificateBufferSize];
  uint32_t certificateSize = CertificateBufferSize;
  if (FetchCertificate(address, port, certificate, certificateSize) != Success) return;
  SaveCertificate(path, certificate, certificateSize);
}
