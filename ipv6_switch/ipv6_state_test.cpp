#include <gtest/gtest.h>

#include <string>

#include "fake_registry.h"
#include "ipv6_state.h"
#include "recording_console.h"

namespace {

const std::string Rule = "\n\n****************************************************************";
const std::string Banner =
    Rule + "\n\n    Brellow v1.5 by Quennet\n\n    http://www.quennet.example/brellow" + Rule + "\n";
const std::string ParametersKey = "SYSTEM\\CurrentControlSet\\Services\\Tcpip6\\Parameters";

const std::string StatusCheck = "\n\n [*] Checking for the current status of IPv6...";
const std::string NotConfigured =
    "\n\n [*] Failed to get current status of IPv6. That probably means IPv6 is not globally "
    "configured on your system\n\n";
const std::string Enabled = "\n\n [*] IPv6 is currently ENABLED on your system\n\n";
const std::string FullyDisabled = "\n\n [*] IPv6 is fully DISABLED on your system\n\n";
const std::string PartiallyDisabled = "\n\n [*] IPv6 is partially DISABLED on your system\n\n";

const std::string Enabling = "\n\n [*] Enabling IPv6 on this system ";
const std::string Disabling = "\n\n [*] Disabling IPv6 on this system ";
const std::string ChangeCheck = "\n\n [*] Checking for the current status of IPv6";
const std::string GoingAhead =
    "\n\n [*] Failed to get the current status of IPv6. Anyway going ahead now...";
const std::string AlreadyEnabled = "\n\n [*] IPv6 is ALREADY ENABLED on your system\n\n";
const std::string AlreadyDisabled = "\n\n [*] IPv6 is ALREADY DISABLED on your system\n\n";
const std::string EnablingNow = "\n\n [*] IPv6 is currently DISABLED on your system, Enabling Now";
const std::string DisablingNow = "\n\n [*] IPv6 is currently ENABLED on your system, Disabling Now";
const std::string Note =
    "\n\n\n Note: You have to restart the Windows for changes to take effect. \n\n";
const std::string EnabledDone = "\n\n [*] Successfully ENABLED IPv6 on this system" + Note;
const std::string DisabledDone = "\n\n [*] Successfully DISABLED IPv6 on this system" + Note;

const uint32_t Binary = 3;

class IPv6StateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRecordingConsole();
    ResetFakeRegistry();
  }
  static void StoreValue(uint32_t type, const std::string& data) {
    Registry.valuePresent = true;
    Registry.valueType = type;
    Registry.valueData = data;
  }
  static void StoreDword(uint32_t value) { StoreValue(4, DwordData(value)); }
  // What an operation printed after its banner.
  static std::string Printed() {
    EXPECT_EQ(Console.text.substr(0, Banner.size()), Banner);
    return Console.text.substr(Banner.size());
  }
};

TEST_F(IPv6StateTest, StatusNamesTheStateOfWhatWasRead) {
  const struct {
    bool present;
    uint32_t type;
    std::string data;
    std::string line;
  } cases[] = {
      {false, 4, "", NotConfigured},
      {true, 4, DwordData(0), Enabled},
      {true, 4, DwordData(0xFFFFFFFF), FullyDisabled},
      {true, 4, DwordData(0x20), PartiallyDisabled},
      {true, 4, DwordData(0xFF), PartiallyDisabled},
      {true, 4, DwordData(0xFFFFFFFE), PartiallyDisabled},
      // Short data of another type is a small number: its high bytes are 0.
      {true, Binary, std::string(1, '\0'), Enabled},
      {true, Binary, "\xFF", PartiallyDisabled},
      {true, Binary, std::string("\0\0", 2), Enabled},
      {true, Binary, "\xFF\xFF", PartiallyDisabled},
      // Longer data fails the query, whatever its first four bytes say.
      {true, Binary, std::string(8, '\0'), NotConfigured},
      {true, Binary, std::string(8, '\xFF'), NotConfigured},
  };
  for (const auto& c : cases) {
    SetUp();
    Registry.valuePresent = c.present;
    Registry.valueType = c.type;
    Registry.valueData = c.data;
    ShowStatus();
    EXPECT_EQ(Printed(), StatusCheck + c.line) << c.data.size() << " bytes";
    EXPECT_EQ(Registry.calls, (std::vector<std::string>{"open", "query", "close"}));
    EXPECT_EQ(Registry.subkeys, std::vector<std::string>{ParametersKey});
    EXPECT_EQ(Registry.valueNames, std::vector<std::string>{"DisabledComponents"});
  }
}

TEST_F(IPv6StateTest, StatusTranscriptWithColours) {
  StoreDword(0);
  ShowStatus();
  EXPECT_EQ(Console.transcript, "<15>" + Rule +
                                    "\n\n    Brellow v1.5 by Quennet\n\n    "
                                    "http://www.quennet.example/brellow<15>" +
                                    Rule + "\n<15><10>" + StatusCheck + Enabled + "<15>");
}

TEST_F(IPv6StateTest, ChangeDecidesByWhatWasReadAndWritesOnlyZeroOrAllOnes) {
  const std::string Unwritten = "unwritten";
  const struct {
    bool present;
    uint32_t type;
    std::string data;
    bool enable;
    std::string printed;
    std::string written;
  } cases[] = {
      {false, 4, "", true, Enabling + ChangeCheck + GoingAhead + EnabledDone, DwordData(0)},
      {false, 4, "", false, Disabling + ChangeCheck + GoingAhead + DisabledDone,
       DwordData(0xFFFFFFFF)},
      {true, 4, DwordData(0), true, Enabling + ChangeCheck + AlreadyEnabled, Unwritten},
      {true, 4, DwordData(0), false, Disabling + ChangeCheck + DisablingNow + DisabledDone,
       DwordData(0xFFFFFFFF)},
      {true, 4, DwordData(0xFFFFFFFF), true, Enabling + ChangeCheck + EnablingNow + EnabledDone,
       DwordData(0)},
      {true, 4, DwordData(0xFFFFFFFF), false, Disabling + ChangeCheck + AlreadyDisabled,
       Unwritten},
      // A partial mask is rewritten either way and named as the state opposite the one set.
      {true, 4, DwordData(0x20), true, Enabling + ChangeCheck + EnablingNow + EnabledDone,
       DwordData(0)},
      {true, 4, DwordData(0x20), false, Disabling + ChangeCheck + DisablingNow + DisabledDone,
       DwordData(0xFFFFFFFF)},
      {true, 4, DwordData(0xFFFFFFFE), false,
       Disabling + ChangeCheck + DisablingNow + DisabledDone, DwordData(0xFFFFFFFF)},
      {true, 4, DwordData(1), true, Enabling + ChangeCheck + EnablingNow + EnabledDone,
       DwordData(0)},
      // Only an exact 0xFFFFFFFF counts as disabled: one byte of 0xFF is a partial mask.
      {true, Binary, "\xFF", false, Disabling + ChangeCheck + DisablingNow + DisabledDone,
       DwordData(0xFFFFFFFF)},
      {true, Binary, std::string("\0\0", 2), true, Enabling + ChangeCheck + AlreadyEnabled,
       Unwritten},
      {true, Binary, std::string(8, '\0'), true, Enabling + ChangeCheck + GoingAhead + EnabledDone,
       DwordData(0)},
      {true, Binary, std::string(8, '\xFF'), false,
       Disabling + ChangeCheck + GoingAhead + DisabledDone, DwordData(0xFFFFFFFF)},
  };
  for (const auto& c : cases) {
    SetUp();
    Registry.valuePresent = c.present;
    Registry.valueType = c.type;
    Registry.valueData = c.data;
    SetIPv6State(c.enable);
    SCOPED_TRACE(testing::Message() << "data of " << c.data.size() << " bytes, enable " << c.enable);
    EXPECT_EQ(Printed(), c.printed);
    EXPECT_EQ(Registry.subkeys, std::vector<std::string>{ParametersKey});
    if (c.written == Unwritten) {
      EXPECT_EQ(Registry.calls, (std::vector<std::string>{"create", "query", "close"}));
    } else {
      EXPECT_EQ(Registry.calls, (std::vector<std::string>{"create", "query", "set", "close"}));
      EXPECT_EQ(Registry.valueNames,
                (std::vector<std::string>{"DisabledComponents", "DisabledComponents"}));
      EXPECT_EQ(Registry.writtenType, 4u);
      EXPECT_EQ(Registry.writtenData, c.written);
    }
  }
}

TEST_F(IPv6StateTest, ChangeTranscriptWithColours) {
  StoreDword(0xFFFFFFFF);
  SetIPv6State(true);
  EXPECT_EQ(Console.transcript.substr(Console.transcript.find(Rule + "\n<15>") + Rule.size()),
            "\n<15><10>" + Enabling + ChangeCheck + EnablingNow +
                "\n\n [*] Successfully ENABLED IPv6 on this system<12>" + Note + "<15>");
}

TEST_F(IPv6StateTest, RightsCarryThe64BitViewOnlyUnderWow64) {
  const struct {
    bool known;
    int wow64;
    uint32_t statusRights;
    uint32_t changeRights;
  } cases[] = {
      {true, 0, 0x20019, 0x2001F},
      {true, 1, 0x20119, 0x2011F},
      {false, 1, 0x20019, 0x2001F},  // no IsWow64Process: native
  };
  for (const auto& c : cases) {
    SetUp();
    Registry.wow64Known = c.known;
    Registry.wow64 = c.wow64;
    ShowStatus();
    SetIPv6State(true);
    SetIPv6State(false);
    EXPECT_EQ(Registry.rights,
              (std::vector<uint32_t>{c.statusRights, c.changeRights, c.changeRights}));
    EXPECT_EQ(Registry.wow64Checks, 3);
  }
}

TEST_F(IPv6StateTest, FailedOpenCreateAndWriteAreReportedWithTheirCodes) {
  const struct {
    void (*operation)();
    uint32_t openStatus, createStatus, setStatus;
    std::string printed;
    std::vector<std::string> calls;
  } cases[] = {
      {ShowStatus, FileNotFound, 0, 0,
       "\n\n Error: Failed to open Windows IPv6 Registry key. Error=0x00000002\n\n", {"open"}},
      {ShowStatus, AccessDenied, 0, 0,
       "\n\n Error: Failed to open Windows IPv6 Registry key. Error=0x00000005\n\n", {"open"}},
      {[] { SetIPv6State(true); }, 0, AccessDenied, 0,
       Enabling +
           "\n\n [*] Error: Failed to Enable IPv6. Make sure you have Administrator rights. \n "
           "Error Code=0x00000005\n\n",
       {"create"}},
      {[] { SetIPv6State(false); }, 0, 0x4D5, 0,
       Disabling +
           "\n\n [*] Error: Failed to Disable IPv6. Make sure you have Administrator rights. \n "
           "Error Code=0x000004d5\n\n",
       {"create"}},
      {[] { SetIPv6State(true); }, 0, 0, AccessDenied,
       Enabling + ChangeCheck + GoingAhead +
           "\n\n Error: Failed to ENABLE IPv6 on this system. Make sure you have Administrator "
           "rights. \n Error Code=0x00000005\n\n",
       {"create", "query", "set", "close"}},
      {[] { SetIPv6State(false); }, 0, 0, 0xABCDEF12,
       Disabling + ChangeCheck + GoingAhead +
           "\n\n Error: Failed to DISABLE IPv6 on this system. Make sure you have Administrator "
           "rights. \n Error Code=0xabcdef12\n\n",
       {"create", "query", "set", "close"}},
  };
  for (const auto& c : cases) {
    SetUp();
    Registry.openStatus = c.openStatus;
    Registry.createStatus = c.createStatus;
    Registry.setStatus = c.setStatus;
    c.operation();
    EXPECT_EQ(Printed(), c.printed);
    EXPECT_EQ(Registry.calls, c.calls);
    EXPECT_FALSE(Registry.valuePresent);
  }
}

// Reports in red, lines in green, the restart note in red: whichever way an operation ends,
// it ends on the attribute it found, and closes the key if it opened one.
TEST_F(IPv6StateTest, EveryPathRestoresTheAttributeAndClosesWhatItOpened) {
  const struct {
    void (*operation)();
    uint32_t openStatus, createStatus, setStatus;
    bool present;
  } cases[] = {
      {ShowStatus, 0, 0, 0, true},
      {ShowStatus, 0, 0, 0, false},
      {ShowStatus, FileNotFound, 0, 0, true},
      {[] { SetIPv6State(true); }, 0, 0, 0, true},   // already enabled
      {[] { SetIPv6State(false); }, 0, 0, 0, true},  // written
      {[] { SetIPv6State(false); }, 0, AccessDenied, 0, true},
      {[] { SetIPv6State(false); }, 0, 0, AccessDenied, false},
  };
  for (const auto& c : cases) {
    SetUp();
    Console.attribute = 0x17;  // white on blue
    Registry.openStatus = c.openStatus;
    Registry.createStatus = c.createStatus;
    Registry.setStatus = c.setStatus;
    if (c.present) StoreDword(0);
    c.operation();
    EXPECT_EQ(Console.attribute, 0x1F);
    const std::string& t = Console.transcript;
    EXPECT_EQ(t.substr(t.size() - 4), "<31>");
    EXPECT_EQ(Registry.openKeys, 0);
    EXPECT_FALSE(Registry.foreignKeyUsed);
    bool opened = c.openStatus == 0 && c.createStatus == 0;
    EXPECT_EQ(Registry.calls.back() == "close", opened);
  }
}

}  // namespace
