// What the switch's banner shows, on the usage screen and above every operation.
#ifndef IPV6_SWITCH_SWITCH_BANNER_H
#define IPV6_SWITCH_SWITCH_BANNER_H

inline constexpr char SwitchDisplayName[] = "Brellow";
inline constexpr char SwitchVersion[] = "1.5";
inline constexpr char SwitchWebAddress[] = "http://www.quennet.example/brellow";

#endif
