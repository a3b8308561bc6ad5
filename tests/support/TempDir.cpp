#include "support/TempDir.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "base/AppPaths.h"
#include "base/Handle.h"

namespace tarvix::testing {

TempDir::TempDir(bool asAppDir) : asAppDir_(asAppDir) {
  static std::atomic<int> counter{0};
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  path_ = std::string(base) + "tarvix-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(GetTickCount()) + "-" + std::to_string(counter++);
  CreateDirectoryA(path_.c_str(), nullptr);
  if (asAppDir_) SetAppDirForTesting(path_);
}

TempDir::~TempDir() {
  if (asAppDir_) SetAppDirForTesting("");
  RemoveTree(path_);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found{};
  if (const UniqueFindHandle search(FindFirstFileA((path + "\\*").c_str(), &found)); search) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search.get(), &found));
  }
  RemoveDirectoryA(path.c_str());
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace tarvix::testing
