#pragma once
// Counts the registry writes of one apply or restore, so that values Windows
// refused are reported to the user once, not silently taken for success.
#include <windows.h>

#include <string>

namespace tarvix {

struct WriteTally {
  int attempted = 0;
  int refused = 0;

  // A delete of a value that is already gone is no failure.
  void Count(LONG result, bool remove) noexcept {
    ++attempted;
    if (result != ERROR_SUCCESS && !(remove && result == ERROR_FILE_NOT_FOUND)) ++refused;
  }
};

// What the caller tells the user when `tally.refused` is not 0: how many
// values were not written and that administrator rights are needed.
[[nodiscard]] std::string RefusedWritesMessage(const WriteTally& tally);

}  // namespace tarvix
