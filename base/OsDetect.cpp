#include "base/OsDetect.h"

#include <windows.h>

namespace tarvix {

OsFamilyCode OsFamily = kOsUnclassified;

namespace {

bool g_versionReplaced = false;
OSVERSIONINFOA g_replacedVersion{};

// On failure the record stays zeroed, which classifies as code 0.
OSVERSIONINFOA QueryVersion() noexcept {
  if (g_versionReplaced) return g_replacedVersion;
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExA(&info)) info = OSVERSIONINFOA{};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return info;
}

}  // namespace

int ClassifyWindowsVersion() noexcept {
  const OSVERSIONINFOA info = QueryVersion();
  return ClassifyVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

void DetectOperatingSystem() noexcept { OsFamily = FamilyFromVersionCode(ClassifyWindowsVersion()); }

unsigned RunningMajorVersion() noexcept { return QueryVersion().dwMajorVersion; }

bool IsNtPlatform() noexcept { return QueryVersion().dwPlatformId == VER_PLATFORM_WIN32_NT; }

ScopedReportedVersion::ScopedReportedVersion(std::uint32_t platformId, std::uint32_t major,
                                             std::uint32_t minor) noexcept {
  g_replacedVersion = OSVERSIONINFOA{};
  g_replacedVersion.dwOSVersionInfoSize = sizeof(g_replacedVersion);
  g_replacedVersion.dwPlatformId = platformId;
  g_replacedVersion.dwMajorVersion = major;
  g_replacedVersion.dwMinorVersion = minor;
  g_versionReplaced = true;
}

ScopedReportedVersion::~ScopedReportedVersion() { g_versionReplaced = false; }

}  // namespace tarvix
