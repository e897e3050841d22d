"""What TarnwickCli prints, piece by piece, for comparing whole outputs."""

RULE = "\n\n" + "*" * 64
BANNER = (RULE + "\n\n    Tarnwick v2.0 by Quennet" + "\n\n    http://www.quennet.example/tarnwick"
          + RULE)
USAGE = (
    BANNER
    + "\n\n\n Usage: \n\t TarnwickCli <server_address> <port> <save_filename>"
    + "\n\n\t <server_address>       IP Address or host name of the server"
    + "\n\t <port>                 Port Number of SSL Service"
    + "\n\t <save_filename>        Filename for saving the download certificate"
    + "\n\n\n Examples:\n"
    + "\n\t //Download SSL Cert from Google Web Server"
    + "\n\t TarnwickCli.exe www.google.com 443 c:\\googlecert.cer"
    + "\n\n\t //Download SSL Cert from LDAP Server"
    + "\n\t TarnwickCli.exe 192.168.1.10 636 c:\\ldap_sslcert.cer"
    + "\n\n\t //Download SSL Cert from Secure POP3 Server"
    + "\n\t TarnwickCli.exe pop.gmail.com 995 c:\\pop3_sslcert.cer"
    + "\n\n\t //Download SSL Cert from SMTP SSL Server"
    + "\n\t TarnwickCli.exe smtp.gmail.com 465 c:\\smtp_sslcert.cer"
    + "\n\n\t //Show this help screen"
    + "\n\t TarnwickCli.exe -h"
    + RULE
    + "\n\n    Just Launched - Vessimar"
    + "\n\n    http://www.quennet.example/vessimar"
    + RULE
    + "\n\n"
)
GUARD = ("\n This is a console application. Run it from the CMD Prompt!"
         "\n\n Press any key to exit....\n")
INVALID_PORT = "\n\n Error: Invalid Port Number.\n\n"

START = BANNER + "\n\n\n[*] Initializing Tarnwick" + "\n\t Success" + \
    "\n\n\n[*] Checking the validity of Host Address"
LOOKUP = "\n\n\n[*] Getting IP Address for the specified host name"


def resolved(address):
    return "\n\t Got IP Address of the server - " + address


def connecting(address, port):
    return "\n\n\n[*] Connecting to Server %s:%d" % (address, port)


CONNECTED = "\n\t Success !!!" + "\n\n\n[*] Now performing SSL Handshake with the server"
ANSWERED = "\n\t Success !!!"
DOWNLOADING = "\n\n\n[*] Downloading the SSL Certificate from the server"
DOWNLOADED = "\n\t Successfully downloaded the SSL Certificate"


def saving(path):
    return "\n\n\n[*] Saving the SSL certificate to the file %s " % path


SAVED = "\n\t Success !!!\n\n"

CONNECT_FAILED = ("\n\n\t Error: Failed. Make sure server address/port number is correct and it"
                  " is reachable.\n\n")
NO_RESPONSE = ("\n\n\t Error: Server did not send any response. Make sure that port number is"
               " valid & SSL Service is running on the Server.\n\n")
IMPROPER = ("\n\n\t Error: Improper response from server. Make sure that port number is valid"
            " & SSL Service is running on the Server.\n\n")
INCOMPLETE = ("\n\n\t Error: Failed to receive complete SSL certificate from server. Kindly try"
              " again.\n\n")
NO_FILE = ("\n\n\t Error: Failed to create file for saving certificate. Make sure you have"
           " specified correct file path.\n\n")
WRITE_FAILED = ("\n\n\t Error: Failed to write the certificate to the file. Make sure there is"
                " enough space on the disk.\n\n")
