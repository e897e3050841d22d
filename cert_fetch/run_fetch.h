// The fetcher's run: start the network, find the address, fetch, save.
#ifndef CERT_FETCH_RUN_FETCH_H
#define CERT_FETCH_RUN_FETCH_H

#include <cstdint>

void RunFetch(const char* address, int32_t port, const char* path);

#endif
