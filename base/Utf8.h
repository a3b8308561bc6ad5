#pragma once
// The program keeps every path and text as UTF-8 in std::string; the wide
// Win32 calls (files, folders, finds, sounds, the shell, message boxes) get
// UTF-16 through these two conversions, so that a folder named with any
// characters works whatever the ANSI code page of the machine.
#include <string>
#include <string_view>

namespace tarvix {

// UTF-8 to UTF-16. A byte that is not part of a valid sequence becomes
// U+FFFD; the result never holds more characters than `utf8` has bytes.
[[nodiscard]] std::wstring ToWide(std::string_view utf8);
// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
[[nodiscard]] std::string ToUtf8(std::wstring_view wide);
// True when `text` is valid UTF-8 throughout (plain ASCII is).
[[nodiscard]] bool IsUtf8(std::string_view text) noexcept;

}  // namespace tarvix
