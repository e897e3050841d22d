// BrellowCli's names and version, written once: its banner, its resource script and the image
// test all read them here. Plain macros, so that the resource compiler reads them too.
#ifndef RESOURCES_BRELLOW_IDENTITY_H
#define RESOURCES_BRELLOW_IDENTITY_H

#define PROGRAM_NAME "BrellowCli"
#define PROGRAM_FILE_NAME "BrellowCli.exe"
#define PROGRAM_DISPLAY_NAME "Brellow"
#define PROGRAM_DESCRIPTION "Command-line tool for enabling and disabling IPv6"
#define PROGRAM_WEB_ADDRESS "http://www.quennet.example/brellow"
// The version as the version block holds it, as its texts spell it, and as the banner shows it.
#define PROGRAM_VERSION 1, 5, 0, 0
#define PROGRAM_VERSION_TEXT "1.5.0.0"
#define PROGRAM_BANNER_VERSION "1.5"

#ifndef RC_INVOKED
inline constexpr char BrellowProgramName[] = PROGRAM_NAME;
inline constexpr char BrellowDisplayName[] = PROGRAM_DISPLAY_NAME;
inline constexpr char BrellowWebAddress[] = PROGRAM_WEB_ADDRESS;
inline constexpr char BrellowBannerVersion[] = PROGRAM_BANNER_VERSION;
#endif

#endif
