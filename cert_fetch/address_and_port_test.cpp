#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "fake_network.h"
#include "host_address.h"
#include "port_text.h"

namespace {

TEST(PortText, ConvertsLikeTheClassicAtoiWithoutOverflow) {
  const struct {
    const char* text;
    int port;
  } cases[] = {
      {"443", 443},          {"443abc", 443},      {" 443", 443},
      {"\t\n 443", 443},     {"+443", 443},        {"-5", -5},
      {"70000", 70000},      {"65536", 65536},     {"0", 0},
      {"abc", 0},            {"0x1BB", 0},         {"", 0},
      {"+-443", 0},          {"- 443", 0},         {"2147483647", INT_MAX},
      {"2147483648", INT_MAX}, {"99999999999", INT_MAX}, {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN}, {"-99999999999999999999999", INT_MIN},
      {"000000000000000000000443", 443},
  };
  for (const auto& c : cases) EXPECT_EQ(ConvertPortText(c.text), c.port) << '"' << c.text << '"';
}

TEST(DottedIPv4, TellsLiteralsFromHostNames) {
  const struct {
    const char* text;
    int literal;
  } cases[] = {
      {"192.0.2.1", 1},        {"127.0.0.1", 1},         {"1..2", 1},
      {"999.999.999.999", 1},  {"1234", 1},              {"", 1},
      {"...", 1},              {"123456789012345", 1},   {"1.2.3.4.5", 0},
      {"1234567890123456", 0}, {"10.0.0.1 ", 0},         {"a.b.c", 0},
      {"localhost", 0},        {"-1.2.3.4", 0},          {"1.2.3.4x", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDottedIPv4(c.text), c.literal) << '"' << c.text << '"';
}

TEST(ResolveHost, GivesTheFirstAddressAsDottedText) {
  ResetFakeNetwork();
  Network.lookupAddress[0] = 203;
  Network.lookupAddress[1] = 0;
  Network.lookupAddress[2] = 113;
  Network.lookupAddress[3] = 255;
  char buffer[128] = {};
  ASSERT_EQ(ResolveHost("server.example", buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "203.0.113.255");

  Network.lookupFinds = false;
  char untouched[128] = "kept";
  EXPECT_EQ(ResolveHost("nowhere.example", untouched, sizeof untouched), 0);
  EXPECT_STREQ(untouched, "kept");
}

}  // namespace
