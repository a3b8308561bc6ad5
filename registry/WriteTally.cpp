#include "registry/WriteTally.h"


namespace tarvix {

std::string RefusedWritesMessage(const WriteTally& tally) {
  return std::to_string(tally.refused) + " of " + std::to_string(tally.attempted) +
                     (tally.attempted == 1 ? " registry value" : " registry values") +
                     " could not be written because Windows refused the change.\r\n\r\n"
                     "Changing these settings needs administrator rights: start Tarvix as an "
                     "administrator and try again.";
}

}  // namespace tarvix
