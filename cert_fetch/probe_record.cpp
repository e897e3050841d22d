#include "probe_record.h"

#include <cstring>

#include "byte_order.h"
#include "network.h"

uint16_t ProbeCipherSuites[ProbeCipherSuiteCount] = {
    HostToNetwork16(0x0004),  // TLS_RSA_WITH_RC4_128_MD5
    HostToNetwork16(0x0005),  // TLS_RSA_WITH_RC4_128_SHA
    HostToNetwork16(0x000A),  // TLS_RSA_WITH_3DES_EDE_CBC_SHA
    HostToNetwork16(0x0009),  // TLS_RSA_WITH_DES_CBC_SHA
    HostToNetwork16(0x0064),  // TLS_RSA_EXPORT1024_WITH_RC4_56_SHA
    HostToNetwork16(0x0062),  // TLS_RSA_EXPORT1024_WITH_DES_CBC_SHA
    HostToNetwork16(0x0003),  // TLS_RSA_EXPORT_WITH_RC4_40_MD5
    HostToNetwork16(0x0006),  // TLS_RSA_EXPORT_WITH_RC2_CBC_40_MD5
    HostToNetwork16(0x0013),  // TLS_DHE_DSS_WITH_3DES_EDE_CBC_SHA
    HostToNetwork16(0x0012),  // TLS_DHE_DSS_WITH_DES_CBC_SHA
    HostToNetwork16(0x0063),  // TLS_DHE_DSS_EXPORT1024_WITH_DES_CBC_SHA
};

unsigned char ProbeRecord[ProbeRecordLength];

namespace {

const unsigned char HandshakeContent = 22;
const unsigned char ClientHelloType = 1;
const uint16_t Tls10 = 0x0301;

void PutNetwork16(int offset, uint16_t value) {
  uint16_t wire = HostToNetwork16(value);
  memcpy(ProbeRecord + offset, &wire, 2);
}

}  // namespace

void BuildProbeRecord() {
  memset(ProbeRecord, 0, sizeof ProbeRecord);
  ProbeRecord[0] = HandshakeContent;
  PutNetwork16(1, Tls10);
  PutNetwork16(3, ProbeRecordLength - 5);
  ProbeRecord[5] = ClientHelloType;
  // Byte 6, the top of the 24-bit handshake length, stays zero.
  PutNetwork16(7, ProbeRecordLength - 9);
  PutNetwork16(9, Tls10);
  // Bytes 11 to 42, the client random, stay zero: the probe is the same on every run.
  ProbeRecord[43] = 0;  // no session identifier
  PutNetwork16(44, sizeof ProbeCipherSuites);
  memcpy(ProbeRecord + 46, ProbeCipherSuites, sizeof ProbeCipherSuites);
  ProbeRecord[68] = 1;  // one compression method,
  ProbeRecord[69] = 0;  // null
}

int StartNetwork() {
  if (!Net.startSocketLibrary()) return 0;
  BuildProbeRecord();
  return 1;
}
