#pragma once
// A fresh folder under the temporary directory, removed with its contents
// when the guard goes; AppDir points at it while `asAppDir` is set.
#include <string>

namespace tarvix::testing {

class TempDir {
 public:
  explicit TempDir(bool asAppDir = true);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  [[nodiscard]] const std::string& path() const noexcept { return path_; }

 private:
  std::string path_;
  bool asAppDir_;
};

void RemoveTree(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& text);
[[nodiscard]] std::string ReadTextFile(const std::string& path);
[[nodiscard]] bool FileExists(const std::string& path);

}  // namespace tarvix::testing
