// TarnwickCli's names and version, written once: its banner, its resource script and the image
// test all read them here. Plain macros, so that the resource compiler reads them too.
#ifndef RESOURCES_TARNWICK_IDENTITY_H
#define RESOURCES_TARNWICK_IDENTITY_H

#define PROGRAM_NAME "TarnwickCli"
#define PROGRAM_FILE_NAME "TarnwickCli.exe"
#define PROGRAM_DISPLAY_NAME "Tarnwick"
#define PROGRAM_DESCRIPTION "Command-line tool that downloads the SSL certificate of a remote server"
#define PROGRAM_WEB_ADDRESS "http://www.quennet.example/tarnwick"
// The version as the version block holds it, as its texts spell it, and as the banner shows it.
#define PROGRAM_VERSION 2, 0, 0, 0
#define PROGRAM_VERSION_TEXT "2.0.0.0"
#define PROGRAM_BANNER_VERSION "2.0"

#ifndef RC_INVOKED
inline constexpr char TarnwickProgramName[] = PROGRAM_NAME;
inline constexpr char TarnwickDisplayName[] = PROGRAM_DISPLAY_NAME;
inline constexpr char TarnwickWebAddress[] = PROGRAM_WEB_ADDRESS;
inline constexpr char TarnwickBannerVersion[] = PROGRAM_BANNER_VERSION;
#endif

#endif
