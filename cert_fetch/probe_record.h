// The fixed TLS 1.0 ClientHello that makes a server answer with its certificate.
#ifndef CERT_FETCH_PROBE_RECORD_H
#define CERT_FETCH_PROBE_RECORD_H

#include <cstdint>

const int ProbeCipherSuiteCount = 11;
const int ProbeRecordLength = 70;

// Each entry in network byte order, so the table goes into the record byte for byte.
extern uint16_t ProbeCipherSuites[ProbeCipherSuiteCount];
extern unsigned char ProbeRecord[ProbeRecordLength];

void BuildProbeRecord();
// Starts the socket library and builds the record: 1, or 0 when the library did not start.
int StartNetwork();

#endif
