#pragma once
// Classification of the running Windows version into the family code that
// selects every registry map, control-panel command and notification style.
// Pure: no windows.h, so it is tested row by row.
#include <cstdint>
#include <string_view>

namespace tarvix {

using OsFamilyCode = std::int16_t;

inline constexpr OsFamilyCode kOsUnclassified = 0;  // before start-up classifies
inline constexpr OsFamilyCode kOsWindows32 = 1;      // an unrecognised 95-platform version
inline constexpr OsFamilyCode kOsWindows95 = 2;
inline constexpr OsFamilyCode kOsWindows98 = 3;
inline constexpr OsFamilyCode kOsWindowsME = 4;
inline constexpr OsFamilyCode kOsWindowsNT = 5;
inline constexpr OsFamilyCode kOsWindows2000 = 6;
inline constexpr OsFamilyCode kOsWindowsXP = 7;
inline constexpr OsFamilyCode kOsWindowsNT52OrLater = 8;  // Server 2003, Vista, 7, 8, 10, 11

inline constexpr std::uint32_t kPlatformWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS
inline constexpr std::uint32_t kPlatformWin32NT = 2;       // VER_PLATFORM_WIN32_NT

// The intermediate version code, 0 to 7; the family code is this plus one.
[[nodiscard]] int ClassifyVersion(std::uint32_t platformId, std::uint32_t major,
                                  std::uint32_t minor) noexcept;

[[nodiscard]] constexpr OsFamilyCode FamilyFromVersionCode(int code) noexcept {
  return static_cast<OsFamilyCode>(code + 1);
}

// 1 to 4: the 95/98/ME behaviour; 5 to 8: the NT behaviour.
[[nodiscard]] constexpr bool Is9xFamily(OsFamilyCode code) noexcept { return code >= 1 && code <= 4; }
[[nodiscard]] constexpr bool IsNtFamily(OsFamilyCode code) noexcept { return code >= 5 && code <= 8; }
[[nodiscard]] constexpr bool IsKnownFamily(OsFamilyCode code) noexcept { return code >= 1 && code <= 8; }

// "Windows 98" and so on; "" for a code outside 1 to 8.
[[nodiscard]] std::string_view OsFamilyName(OsFamilyCode code) noexcept;

}  // namespace tarvix
