#include "base/AppPaths.h"

#include <windows.h>

namespace tarvix {
namespace {

std::string g_override;

std::string ModulePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
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
