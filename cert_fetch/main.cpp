#include "run_fetch.h"

#ifdef _WIN32
// Arguments reach the program as typed: the runtime expands no wildcards.
extern "C" {
int _dowildcard = 0;
}
#endif

int main(int argc, char** argv) { return FetcherMain(argc, argv); }
