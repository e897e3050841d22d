// What the fetch prints, for the tests that compare it whole.
#ifndef CERT_FETCH_FETCH_TEXTS_H
#define CERT_FETCH_FETCH_TEXTS_H

#include <string>

namespace fetch_texts {

inline const std::string Connecting = "\n\n\n[*] Connecting to Server 127.0.0.1:443";
inline const std::string Connected =
    "\n\t Success !!!\n\n\n[*] Now performing SSL Handshake with the server";
inline const std::string Answered = "\n\t Success !!!";
inline const std::string Downloading = "\n\n\n[*] Downloading the SSL Certificate from the server";
inline const std::string Downloaded = "\n\t Successfully downloaded the SSL Certificate";
inline const std::string ConnectFailure =
    "\n\n\t Error: Failed. Make sure server address/port number is correct and it is "
    "reachable.\n\n";
inline const std::string NoResponse =
    "\n\n\t Error: Server did not send any response. Make sure that port number is valid & SSL "
    "Service is running on the Server.\n\n";
inline const std::string Improper =
    "\n\n\t Error: Improper response from server. Make sure that port number is valid & SSL "
    "Service is running on the Server.\n\n";
inline const std::string TooSmall =
    "\n\n\t Error: Buffer size is too small to copy certificate from server.\n\n";
inline const std::string Incomplete =
    "\n\n\t Error: Failed to receive complete SSL certificate from server. Kindly try again.\n\n";
inline const std::string TimedOutMessage =
    "\n\n\t Error: Timed out while communicating with server. Make sure server is in good "
    "health and try again\n\n";
inline const std::string Abnormal =
    "\n\n\t Error: Server connection thread terminated abnormally. Kindly try again\n\n";

}  // namespace fetch_texts

#endif
