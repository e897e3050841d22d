// The fetcher's command line and usage screen.
#ifndef CERT_FETCH_FETCHER_MAIN_H
#define CERT_FETCH_FETCHER_MAIN_H

void PrintUsage();
// The whole program; always 0.
int FetcherMain(int argc, char** argv);

#endif
