#include "fetcher_main.h"

int main(int argc, char** argv) { return FetcherMain(argc, argv); }
