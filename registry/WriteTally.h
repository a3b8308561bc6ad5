#pragma once
// Counts the registry writes of one apply or restore, so that values Windows
// refused are reported to the user once, not silently taken for success.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

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

// The program's own settings that one Save could not store, by the names
// the user sees on the window.
struct SettingsSaveTally {
  std::vector<std::string> notStored;

  void Count(LONG result, std::string_view label) {
    if (result != ERROR_SUCCESS) notStored.emplace_back(label);
  }
  [[nodiscard]] bool AllStored() const noexcept { return notStored.empty(); }
};

// What the caller tells the user, once for the whole Save, when anything was
// not stored: which settings, and that administrator rights are needed.
[[nodiscard]] std::string UnsavedSettingsMessage(const SettingsSaveTally& tally);

}  // namespace tarvix
