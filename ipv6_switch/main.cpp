#include <cstdlib>

#include "switch_main.h"

#ifdef _WIN32
// Arguments reach the program as typed: the runtime expands no wildcards.
extern "C" {
int _dowildcard = 0;
}
#endif

int main(int argc, char** argv) {
  RunSwitch(argc, argv);
  exit(0);
}
