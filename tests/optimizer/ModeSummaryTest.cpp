// The wizard's summary text, byte for byte, for every preset: tabs and
// CR LF pairs exactly where the Part puts them.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "optimizer/ModeSummary.h"
#include "optimizer/NetworkParameters.h"

namespace tarvix {
namespace {

// Written out by hand from the preset table, not built by the program's code.
constexpr std::array<const char*, kPresetCount> kExpected = {
    // Automatic-A
    "MSS = 536\tMTU = 576\t\tICMP = False\r\n\r\n"
    "NDI = 0\tMSCPS0 = 16\t\tMSCPS1 = 8\r\n\r\n"
    "BlackHole = False\tRWIN = 4288\t\r\n"
    "Keep Alive = 600000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 128\r\n\r\n",
    // Automatic-B
    "MSS = 536\tMTU = 576\t\tICMP = False\r\n\r\n"
    "NDI = 0\tMSCPS0 = 16\t\tMSCPS1 = 8\r\n\r\n"
    "BlackHole = False\tRWIN = -1\t\r\n"
    "Keep Alive = 600000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 128\r\n\r\n",
    // Automatic-C
    "MSS = -1\tMTU = -1\t\tICMP = False\r\n\r\n"
    "NDI = 0\tMSCPS0 = 16\t\tMSCPS1 = 8\r\n\r\n"
    "BlackHole = False\tRWIN = -1\t\r\n"
    "Keep Alive = 600000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 128\r\n\r\n",
    // Automatic-D
    "MSS = 536\tMTU = 576\t\tICMP = False\r\n\r\n"
    "NDI = 0\tMSCPS0 = 20\t\tMSCPS1 = 20\r\n\r\n"
    "BlackHole = False\tRWIN = 5432\t\r\n"
    "Keep Alive = 7200000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 64\r\n\r\n",
    // Automatic-E
    "MSS = 1460\tMTU = 1500\t\tICMP = False\r\n\r\n"
    "NDI = 0\tMSCPS0 = 20\t\tMSCPS1 = 20\r\n\r\n"
    "BlackHole = False\tRWIN = 256960\t\r\n"
    "Keep Alive = 7200000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 64\r\n\r\n",
    // Automatic-F
    "MSS = 1452\tMTU = 1492\t\tICMP = False\r\n\r\n"
    "NDI = 0\tMSCPS0 = 20\t\tMSCPS1 = 20\r\n\r\n"
    "BlackHole = False\tRWIN = 255552\t\r\n"
    "Keep Alive = 7200000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 64\r\n\r\n",
    // Automatic-G
    "MSS = 1460\tMTU = 1500\t\tICMP = False\r\n\r\n"
    "NDI = 0\tMSCPS0 = 20\t\tMSCPS1 = 20\r\n\r\n"
    "BlackHole = False\tRWIN = 256960\t\r\n"
    "Keep Alive = 6400000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 32\r\n\r\n",
    // Windows default
    "MSS = 1500\tMTU = 1500\t\tICMP = False\r\n\r\n"
    "NDI = 0\tMSCPS0 = 2\t\tMSCPS1 = 4\r\n\r\n"
    "BlackHole = False\tRWIN = 8192\t\r\n"
    "Keep Alive = 3600000\r\n\r\n"
    "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= 32\r\n\r\n",
};

TEST(ModeSummary, EveryPresetByteForByte) {
  for (std::size_t preset = 0; preset < kPresetCount; ++preset) {
    SCOPED_TRACE(kPresetNames[preset]);
    EXPECT_EQ(ModeSummaryText(kPresetTable[preset]), std::string(kExpected[preset]));
  }
}

TEST(ModeSummary, ShapeOfTheText) {
  const std::string text = ModeSummaryText(kPresetTable[0]);
  EXPECT_EQ(text.size(), std::string(kExpected[0]).size());
  // Nine CR LF pairs and no bare line feed or carriage return.
  std::size_t pairs = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\n') {
      ASSERT_GT(at, 0u);
      EXPECT_EQ(text[at - 1], '\r');
      ++pairs;
    } else if (text[at] == '\r') {
      ASSERT_LT(at + 1, text.size());
      EXPECT_EQ(text[at + 1], '\n');
    }
  }
  EXPECT_EQ(pairs, 9u);
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
}

TEST(ModeSummary, BooleansAreTrueForAnyNonZeroValue) {
  NetworkParameterSet set = kPresetTable[0];
  set.ICMP = kVbTrue;
  set.BlackHole = 1;  // not -1, still shown as True
  const std::string text = ModeSummaryText(set);
  EXPECT_NE(text.find("\t\tICMP = True\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("BlackHole = True\tRWIN = 4288\t\r\n"), std::string::npos) << text;
}

TEST(ModeSummary, PathMtuDiscoveryIsNotShownAndNegativesKeepTheirSign) {
  NetworkParameterSet set = kPresetTable[3];
  const std::string before = ModeSummaryText(set);
  set.MTUDiscovery = kVbFalse;
  EXPECT_EQ(ModeSummaryText(set), before);
  set.SYN = -2;
  set.NDI = -32;
  set.KeepAliveTime = -2147483647 - 1;
  set.TTL = 2147483647;
  const std::string text = ModeSummaryText(set);
  EXPECT_NE(text.find("SYN = -2\t"), std::string::npos);
  EXPECT_NE(text.find("NDI = -32\t"), std::string::npos);
  EXPECT_NE(text.find("Keep Alive = -2147483648\r\n"), std::string::npos);
  EXPECT_NE(text.find("TTL= 2147483647\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tarvix
