#include "fetcher_main.h"

#include <cstdint>
#include <cstdlib>

#include "console.h"
#include "port_text.h"
#include "run_fetch.h"
#include "tarnwick_identity.h"

namespace {

const char CompanionWebAddress[] = "http://www.quennet.example/vessimar";

}  // namespace

void PrintUsage() {
  int kept = GetTextAttribute();
  PrintBanner(TarnwickDisplayName, TarnwickBannerVersion, TarnwickWebAddress, false);
  SetTextColour(Green);
  PrintMessage("\n\n\n Usage: \n\t %s <server_address> <port> <save_filename>",
               TarnwickProgramName);
  SetTextColour(White);
  PrintMessage("\n\n\t <server_address>       IP Address or host name of the server");
  PrintMessage("\n\t <port>                 Port Number of SSL Service");
  PrintMessage("\n\t <save_filename>        Filename for saving the download certificate");
  SetTextColour(Green);
  PrintMessage("\n\n\n Examples:\n");
  PrintMessage("\n\t //Download SSL Cert from Google Web Server");
  PrintMessage("\n\t %s.exe www.google.com 443 c:\\googlecert.cer", TarnwickProgramName);
  PrintMessage("\n\n\t //Download SSL Cert from LDAP Server");
  PrintMessage("\n\t %s.exe 192.168.1.10 636 c:\\ldap_sslcert.cer", TarnwickProgramName);
  PrintMessage("\n\n\t //Download SSL Cert from Secure POP3 Server");
  PrintMessage("\n\t %s.exe pop.gmail.com 995 c:\\pop3_sslcert.cer", TarnwickProgramName);
  PrintMessage("\n\n\t //Download SSL Cert from SMTP SSL Server");
  PrintMessage("\n\t %s.exe smtp.gmail.com 465 c:\\smtp_sslcert.cer", TarnwickProgramName);
  PrintMessage("\n\n\t //Show this help screen");
  PrintMessage("\n\t %s.exe -h", TarnwickProgramName);
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
