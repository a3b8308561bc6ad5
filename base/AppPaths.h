#pragma once
// Where the program's files live: AppDir is the executable's folder, and
// every data file is AppDir followed by a fixed name beginning with "\".
// Paths are UTF-8 (base/Utf8.h converts them for the wide calls).
#include <string>
#include <string_view>

namespace tarvix {

// The running executable's folder, without a trailing backslash.
[[nodiscard]] const std::string& AppDir();
// The full path of the running executable.
[[nodiscard]] std::string ExecutablePath();
// AppDir() + name, where name begins with "\" ("\Backups", "\Ping.wav").
[[nodiscard]] std::string AppFile(std::string_view name);

// Tests point AppDir at a scratch folder; an empty path restores the real one.
void SetAppDirForTesting(std::string_view dir);

}  // namespace tarvix
