#pragma once
// Linux's own memory figures, read through Wine's Z: drive, to compare the
// program's figures with.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "base/Handle.h"

namespace tarvix::test {

// The kB figures of /proc/meminfo by name; nullopt when the Z: mapping is
// not there or the file lacks MemTotal or MemAvailable.
inline std::optional<std::map<std::string, std::uint64_t>> ReadProcMeminfo() {
  UniqueHandle file(CreateFileA("Z:\\proc\\meminfo", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) text.append(chunk, got);
  std::map<std::string, std::uint64_t> figures;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos) {
      figures[line.substr(0, colon)] = std::strtoull(line.c_str() + colon + 1, nullptr, 10);
    }
    start = end + 1;
  }
  if (figures.count("MemTotal") == 0 || figures.count("MemAvailable") == 0) return std::nullopt;
  return figures;
}

}  // namespace tarvix::test
