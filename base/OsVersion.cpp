#include "base/OsVersion.h"

#include <array>

namespace tarvix {

int ClassifyVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor) noexcept {
  if (platformId == kPlatformWin32Windows) {
    switch (minor) {
      case 0: return 1;   // Windows 95
      case 10: return 2;  // Windows 98
      case 90: return 3;  // Windows ME
      default: return 0;
    }
  }
  if (platformId == kPlatformWin32NT) {
    if (major < 5) return 4;  // Windows NT 3.x and 4.0
    if (major == 5 && minor == 0) return 5;
    if (major == 5 && minor == 1) return 6;
    return 7;  // 5.2 and everything newer
  }
  return 0;
}

std::string_view OsFamilyName(OsFamilyCode code) noexcept {
  static constexpr std::array<std::string_view, 9> kNames = {
      "",           "Windows 32",   "Windows 95", "Windows 98",
      "Windows ME", "Windows NT",   "Windows 2000", "Windows XP",
      "Windows NT 5.2 or later"};
  if (code < 0 || code >= static_cast<OsFamilyCode>(kNames.size())) return {};
  return kNames[static_cast<std::size_t>(code)];
}

}  // namespace tarvix
