"""What BrellowCli prints, piece by piece, for comparing whole outputs."""

RULE = "\n\n" + "*" * 64
BANNER_BODY = RULE + "\n\n    Brellow v1.5 by Quennet" + "\n\n    http://www.quennet.example/brellow"
USAGE = (
    BANNER_BODY + RULE
    + "\n\n\n Usage: \n\t BrellowCli.exe [-e | -d | -s | -h]  "
    + "\n\n\n Examples:\n"
    + "\n\t // Display this help screen" + "\n\t BrellowCli.exe"
    + "\n\n\t // Enable IPv6 on this system" + "\n\t BrellowCli.exe -e"
    + "\n\n\t // Disable IPv6 on this system" + "\n\t BrellowCli.exe -d"
    + "\n\n\t // Display the current Status of IPv6" + "\n\t BrellowCli.exe -s"
    + "\n\n\t // Show this help screen" + "\n\t BrellowCli.exe -h"
    + "\n\n"
)
GUARD = ("\n This is a console application. Kindly Run it from the CMD Prompt as Administrator!"
         "\n\n Press any key to exit....\n")
INVALID = ("\n\n Error: Invalid input parameters. Kindly see the above examples and try"
           " again.\n\n")

# The operations open with the banner and a newline after its closing rule.
BANNER = BANNER_BODY + RULE + "\n"


def open_failed(code):
    return "\n\n Error: Failed to open Windows IPv6 Registry key. Error=0x%.8x\n\n" % code


STATUS = "\n\n [*] Checking for the current status of IPv6..."
NOT_CONFIGURED = ("\n\n [*] Failed to get current status of IPv6. That probably means IPv6 is"
                  " not globally configured on your system\n\n")
ENABLED = "\n\n [*] IPv6 is currently ENABLED on your system\n\n"
FULLY_DISABLED = "\n\n [*] IPv6 is fully DISABLED on your system\n\n"
PARTIALLY_DISABLED = "\n\n [*] IPv6 is partially DISABLED on your system\n\n"

ENABLING = "\n\n [*] Enabling IPv6 on this system "
DISABLING = "\n\n [*] Disabling IPv6 on this system "
CHANGE_CHECK = "\n\n [*] Checking for the current status of IPv6"
GOING_AHEAD = "\n\n [*] Failed to get the current status of IPv6. Anyway going ahead now..."
ALREADY_ENABLED = "\n\n [*] IPv6 is ALREADY ENABLED on your system\n\n"
ALREADY_DISABLED = "\n\n [*] IPv6 is ALREADY DISABLED on your system\n\n"
ENABLING_NOW = "\n\n [*] IPv6 is currently DISABLED on your system, Enabling Now"
DISABLING_NOW = "\n\n [*] IPv6 is currently ENABLED on your system, Disabling Now"
NOTE = "\n\n\n Note: You have to restart the Windows for changes to take effect. \n\n"
ENABLED_DONE = "\n\n [*] Successfully ENABLED IPv6 on this system" + NOTE
DISABLED_DONE = "\n\n [*] Successfully DISABLED IPv6 on this system" + NOTE
