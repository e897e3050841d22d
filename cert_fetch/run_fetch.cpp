#include "run_fetch.h"

#include <cstdlib>
#include <cstring>

#include "certificate_save.h"
#include "console.h"
#include "fetch_certificate.h"
#include "host_address.h"
#include "port_text.h"
#include "probe_record.h"

namespace {

const char ProgramName[] = "TarnwickCli";
const char DisplayName[] = "Tarnwick";
const char Version[] = "2.0";
const char WebAddress[] = "http://www.quennet.example/tarnwick";
const char CompanionWebAddress[] = "http://www.quennet.example/vessimar";
const int AddressBufferSize = 128;
const uint32_t CertificateBufferSize = 20000;
const int Green = 2;
const int Red = 4;
const int White = 7;

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

void PrintUsage() {
  int kept = GetTextAttribute();
  PrintBanner(DisplayName, Version, WebAddress, false);
  SetTextColour(Green);
  PrintMessage("\n\n\n Usage: \n\t %s <server_address> <port> <save_filename>", ProgramName);
  SetTextColour(White);
  PrintMessage("\n\n\t <server_address>       IP Address or host name of the server");
  PrintMessage("\n\t <port>                 Port Number of SSL Service");
  PrintMessage("\n\t <save_filename>        Filename for saving the download certificate");
  SetTextColour(Green);
  PrintMessage("\n\n\n Examples:\n");
  PrintMessage("\n\t //Download SSL Cert from Google Web Server");
  PrintMessage("\n\t %s.exe www.google.com 443 c:\\googlecert.cer", ProgramName);
  PrintMessage("\n\n\t //Download SSL Cert from LDAP Server");
  PrintMessage("\n\t %s.exe 192.168.1.10 636 c:\\ldap_sslcert.cer", ProgramName);
  PrintMessage("\n\n\t //Download SSL Cert from Secure POP3 Server");
  PrintMessage("\n\t %s.exe pop.gmail.com 995 c:\\pop3_sslcert.cer", ProgramName);
  PrintMessage("\n\n\t //Download SSL Cert from SMTP SSL Server");
  PrintMessage("\n\t %s.exe smtp.gmail.com 465 c:\\smtp_sslcert.cer", ProgramName);
  PrintMessage("\n\n\t //Show this help screen");
  PrintMessage("\n\t %s.exe -h", ProgramName);
  SetTextColour(Red);
  PrintMessage("%s", BannerRule);
  SetTextColour(White);
  PrintMessage("\n\n    Just Launched - Vessimar");
  PrintMessage("\n\n    %s", CompanionWebAddress);
  SetTextColour(Red);
  PrintMessage("%s", BannerRule);
  PrintMessage("\n\n");
  SetTextColour(kept);
}

void RunFetch(const char* address, int32_t port, const char* path) {
  char resolved[AddressBufferSize];
  memset(resolved, 0, sizeof resolved);
  PrintBanner(DisplayName, Version, WebAddress, false);
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

int FetcherMain(int argc, char** argv) {
  if (argc == 1) {
    PrintUsage();
    GuardConsoleLaunch("\n This is a console application. Run it from the CMD Prompt!");
    exit(0);
  }
  if (argc != 4) {
    PrintUsage();
    exit(0);
  }
  int32_t port = ConvertPortText(argv[2]);
  if (port == 0) {
    PrintUsage();
    ReportError("\n\n Error: Invalid Port Number.\n\n");
    exit(0);
  }
  int kept = GetTextAttribute();
  RunFetch(argv[1], port, argv[3]);
  SetTextColour(kept);
  return 0;
}
