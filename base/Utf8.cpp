#include "base/Utf8.h"

#include <windows.h>

#include <climits>

namespace tarvix {

std::wstring ToWide(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int size = static_cast<int>(utf8.size());
  // Without MB_ERR_INVALID_CHARS, invalid bytes come out as U+FFFD.
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  const int written = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return wide;
}

std::string ToUtf8(std::wstring_view wide) {
  if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX / 3)) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<std::size_t>(length), '\0');
  const int written = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  utf8.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return utf8;
}

bool IsUtf8(std::string_view text) noexcept {
  if (text.empty()) return true;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                             0) > 0;
}

}  // namespace tarvix
