#include <cstdlib>

#include "switch_main.h"

int main(int argc, char** argv) {
  RunSwitch(argc, argv);
  exit(0);
}
