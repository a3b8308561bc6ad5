#pragma once
// The running Windows family, classified once at start-up.
#include "base/OsVersion.h"

namespace tarvix {

// Process-wide; 0 until DetectOperatingSystem runs.
extern OsFamilyCode OsFamily;

// GetVersionExA, then ClassifyVersion: the version code 0 to 7.
[[nodiscard]] int ClassifyWindowsVersion() noexcept;

// Sets OsFamily from the running version.
void DetectOperatingSystem() noexcept;

// The major version GetVersionExA reports (6 for Vista to 8, and for later
// versions without a manifest that names them); 0 when it fails.
[[nodiscard]] unsigned RunningMajorVersion() noexcept;

// True exactly when GetVersionExA reports the NT platform.
[[nodiscard]] bool IsNtPlatform() noexcept;

// Tests: the version GetVersionExA would report is replaced by this one while
// the guard lives, so that start-up can be run as on Windows 98.
class ScopedReportedVersion {
 public:
  ScopedReportedVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor) noexcept;
  ~ScopedReportedVersion();
  ScopedReportedVersion(const ScopedReportedVersion&) = delete;
  ScopedReportedVersion& operator=(const ScopedReportedVersion&) = delete;
};

}  // namespace tarvix
