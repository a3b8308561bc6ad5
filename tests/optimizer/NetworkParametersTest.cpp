#include <gtest/gtest.h>

#include "optimizer/NetworkParameters.h"
#include "optimizer/RegistryMap.h"

namespace tarvix {
namespace {

TEST(WizardPresets, LoadedOnceFromTheTable) {
  WizardPresets = {};
  LoadWizardPresets();
  EXPECT_EQ(WizardPresets, kPresetTable);
  const NetworkParameterSet& e = WizardPresets[4];
  EXPECT_EQ(kPresetNames[4], "Automatic-E");
  EXPECT_EQ(e.MTU, 1500);
  EXPECT_EQ(e.MSS, 1460);
  EXPECT_EQ(e.RWIN, 256960);
  EXPECT_EQ(e.TTL, 64);
  EXPECT_EQ(e.KeepAliveTime, 7200000);
  EXPECT_EQ(e.MSCPS0, 20);
  const NetworkParameterSet& c = WizardPresets[2];
  EXPECT_EQ(c.MTU, -1);
  EXPECT_EQ(c.MSS, -1);
  EXPECT_EQ(c.RWIN, -1);
  const NetworkParameterSet& windows = WizardPresets[7];
  EXPECT_EQ(kPresetNames[7], "Windows default");
  EXPECT_EQ(windows.MSS, 1500);
  EXPECT_EQ(windows.MSCPS0, 2);
  EXPECT_EQ(windows.MSCPS1, 4);
  for (const NetworkParameterSet& set : WizardPresets) {
    EXPECT_EQ(set.KeepAliveInterval, 1000);
    EXPECT_EQ(set.SYN, 2);
    EXPECT_EQ(set.MTUDiscovery, kVbTrue);
    EXPECT_EQ(set.BlackHole, kVbFalse);
    EXPECT_EQ(set.ICMP, kVbFalse);
  }
}

TEST(BoolToFlag, OnlyMinusOneIsTrue) {
  EXPECT_EQ(BoolToFlag(-1), 1);
  EXPECT_EQ(BoolToFlag(0), 0);
  EXPECT_EQ(BoolToFlag(1), 0);
  EXPECT_EQ(BoolToFlag(2), 0);
}

TEST(RegistryMap, FamiliesChooseTheirMap) {
  EXPECT_EQ(RegistryMapFor(0), nullptr);
  EXPECT_EQ(RegistryMapFor(9), nullptr);
  for (OsFamilyCode code = 1; code <= 4; ++code) EXPECT_EQ(RegistryMapFor(code)->valueType, 1u);
  for (OsFamilyCode code = 5; code <= 8; ++code) EXPECT_EQ(RegistryMapFor(code)->valueType, 4u);
  const MapRow& service = RegistryMapFor(7)->perSubKeyRows[1];
  EXPECT_EQ(service.path.With("{X}"), "SYSTEM\\CurrentControlSet\\Services\\{X}\\Parameters\\Tcpip");
}

}  // namespace
}  // namespace tarvix
