#include "base/AppPaths.h"

#include <windows.h>

#include "base/Utf8.h"

namespace tarvix {
namespace {

std::string g_override;

// The wide call: the ANSI one turns characters outside the code page into '?'.
std::string ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return ToUtf8(path);
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string ExecutablePath() { return ModulePath(); }

const std::string& AppDir() {
  if (!g_override.empty()) return g_override;
  static const std::string dir = [] {
    std::string path = ModulePath();
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  }();
  return dir;
}

std::string AppFile(std::string_view name) {
  std::string path = AppDir();
  path += name;
  return path;
}

void SetAppDirForTesting(std::string_view dir) {
  g_override.assign(dir);
  while (g_override.size() > 1 && (g_override.back() == '\\' || g_override.back() == '/')) {
    g_override.pop_back();
  }
}

}  // namespace tarvix
