#include <gtest/gtest.h>

#include "base/OsDetect.h"
#include "base/OsVersion.h"

namespace tarvix {
namespace {

struct VersionRow {
  std::uint32_t platform, major, minor;
  int code;
  OsFamilyCode family;
};

TEST(ClassifyVersion, EveryRowOfTheTable) {
  const VersionRow rows[] = {
      {1, 4, 0, 1, kOsWindows95},      {1, 4, 10, 2, kOsWindows98},    {1, 4, 90, 3, kOsWindowsME},
      {1, 4, 3, 0, kOsWindows32},      {1, 7, 10, 2, kOsWindows98},    {2, 3, 51, 4, kOsWindowsNT},
      {2, 4, 0, 4, kOsWindowsNT},      {2, 5, 0, 5, kOsWindows2000},   {2, 5, 1, 6, kOsWindowsXP},
      {2, 5, 2, 7, kOsWindowsNT52OrLater}, {2, 6, 0, 7, kOsWindowsNT52OrLater},
      {2, 6, 1, 7, kOsWindowsNT52OrLater}, {2, 10, 0, 7, kOsWindowsNT52OrLater},
      {0, 3, 1, 0, kOsWindows32},      {3, 10, 0, 0, kOsWindows32},
  };
  for (const VersionRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.platform << " " << row.major << "." << row.minor);
    const int code = ClassifyVersion(row.platform, row.major, row.minor);
    EXPECT_EQ(code, row.code);
    EXPECT_EQ(FamilyFromVersionCode(code), row.family);
  }
}

TEST(OsFamily, RangesAndNames) {
  for (OsFamilyCode code = 1; code <= 4; ++code) {
    EXPECT_TRUE(Is9xFamily(code));
    EXPECT_FALSE(IsNtFamily(code));
  }
  for (OsFamilyCode code = 5; code <= 8; ++code) {
    EXPECT_TRUE(IsNtFamily(code));
    EXPECT_FALSE(Is9xFamily(code));
  }
  EXPECT_FALSE(IsKnownFamily(0));
  EXPECT_FALSE(IsKnownFamily(9));
  EXPECT_EQ(OsFamilyName(3), "Windows 98");
  EXPECT_EQ(OsFamilyName(7), "Windows XP");
  EXPECT_EQ(OsFamilyName(8), "Windows NT 5.2 or later");
  EXPECT_EQ(OsFamilyName(9), "");
  EXPECT_EQ(OsFamilyName(-1), "");
}

// Wine reports Windows 7 (NT 6.1) unless the prefix says otherwise; either way
// the running system is on the NT platform and detection agrees with the query.
TEST(DetectOperatingSystem, AgreesWithTheRunningVersion) {
  OsFamily = kOsUnclassified;
  DetectOperatingSystem();
  EXPECT_EQ(OsFamily, FamilyFromVersionCode(ClassifyWindowsVersion()));
  EXPECT_TRUE(IsKnownFamily(OsFamily));
  if (IsNtPlatform()) {
    EXPECT_TRUE(IsNtFamily(OsFamily));
  }
}

}  // namespace
}  // namespace tarvix
