#include "registry/WriteTally.h"

namespace tarvix {

std::string RefusedWritesMessage(const WriteTally& tally) {
  return std::to_string(tally.refused) + " of " + std::to_string(tally.attempted) +
         (tally.attempted == 1 ? " registry value" : " registry values") +
         " could not be written because Windows refused the change.\r\n\r\n"
         "Changing these settings needs administrator rights: start Tarvix as an "
         "administrator and try again.";
}

std::string UnsavedSettingsMessage(const SettingsSaveTally& tally) {
  if (tally.AllStored()) return {};
  std::string text = "Windows refused to store ";
  text += tally.notStored.size() == 1 ? "this setting:" : "these settings:";
  text += "\r\n";
  for (const std::string& label : tally.notStored) text += "\r\n    " + label;
  text += "\r\n\r\nStoring Tarvix's settings needs administrator rights: start Tarvix as an administrator "
          "and save again. The window keeps what you entered until then.";
  return text;
}

}  // namespace tarvix
