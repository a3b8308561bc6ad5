#include "support/TempDir.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "base/AppPaths.h"
#include "base/Handle.h"
#include "base/Utf8.h"

namespace tarvix::testing {

TempDir::TempDir(bool asAppDir, std::string_view name) : asAppDir_(asAppDir) {
  static std::atomic<int> counter{0};
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  path_ = ToUtf8(base) + "tarvix-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(GetTickCount()) + "-" + std::to_string(counter++);
  top_ = path_;
  path_ += name;
  // Each level of the name, top first.
  for (std::size_t at = top_.size(); at != std::string::npos; at = path_.find('\\', at + 1)) {
    CreateDirectoryW(ToWide(path_.substr(0, at)).c_str(), nullptr);
  }
  CreateDirectoryW(ToWide(path_).c_str(), nullptr);
  if (asAppDir_) SetAppDirForTesting(path_);
}

TempDir::~TempDir() {
  if (asAppDir_) SetAppDirForTesting("");
  RemoveTree(top_);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAW found{};
  if (const UniqueFindHandle search(FindFirstFileW(ToWide(path + "\\*").c_str(), &found)); search) {
    do {
      const std::string name = ToUtf8(found.cFileName);
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(child);
      } else {
        SetFileAttributesW(ToWide(child).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(ToWide(child).c_str());
      }
    } while (FindNextFileW(search.get(), &found));
  }
  RemoveDirectoryW(ToWide(path).c_str());
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(ToWide(path).c_str(), std::ios::binary);
  out << text;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(ToWide(path).c_str(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tarvix::testing
