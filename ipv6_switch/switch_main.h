// The switch's command line and usage screen.
#ifndef IPV6_SWITCH_SWITCH_MAIN_H
#define IPV6_SWITCH_SWITCH_MAIN_H

void PrintUsage();
// Everything the program does before it exits with code 0.
void RunSwitch(int argc, char** argv);

#endif
