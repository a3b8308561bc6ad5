#include "registry/WriteTally.h"

#include <string>

#include "app/Platform.h"

namespace tarvix {

void ReportRefusedWrites(const WriteTally& tally) {
  if (tally.refused == 0) return;
  std::string text = std::to_string(tally.refused) + " of " + std::to_string(tally.attempted) +
                     (tally.attempted == 1 ? " registry value" : " registry values") +
                     " could not be written because Windows refused the change.\r\n\r\n"
                     "Changing these settings needs administrator rights: start Tarvix as an "
                     "administrator and try again.";
  ShowError(text);
}

}  // namespace tarvix
