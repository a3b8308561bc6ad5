#pragma once
// A fresh folder under the temporary directory, removed with its contents
// when the guard goes; AppDir points at it while `asAppDir` is set. Paths
// are UTF-8, as in the program, and every call here is the wide one.
#include <string>
#include <string_view>

namespace tarvix::testing {

class TempDir {
 public:
  // `name`, given, is a path below the unique folder ("\Åsa\Tarvix 测试"):
  // the folders named with any characters that a test needs.
  explicit TempDir(bool asAppDir = true, std::string_view name = {});
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  [[nodiscard]] const std::string& path() const noexcept { return path_; }

 private:
  std::string path_;
  std::string top_;  // the folder made here, removed with all below it
  bool asAppDir_;
};

void RemoveTree(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& text);
[[nodiscard]] std::string ReadTextFile(const std::string& path);
[[nodiscard]] bool FileExists(const std::string& path);

}  // namespace tarvix::testing
