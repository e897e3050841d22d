#ifndef CERT_FETCH_PORT_TEXT_H
#define CERT_FETCH_PORT_TEXT_H

// Decimal conversion as the classic atoi reads it: leading white space, one optional sign,
// digits up to the first other character. Out-of-range values saturate instead of
// overflowing. 0 when no digit comes first.
int ConvertPortText(const char* text);

#endif
