// The fetcher's command line, usage screen and run sequence.
#ifndef CERT_FETCH_RUN_FETCH_H
#define CERT_FETCH_RUN_FETCH_H

#include <cstdint>

void PrintUsage();
void RunFetch(const char* address, int32_t port, const char* path);
// The whole program; always 0.
int FetcherMain(int argc, char** argv);

#endif
