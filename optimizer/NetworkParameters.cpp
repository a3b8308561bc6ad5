#include "optimizer/NetworkParameters.h"

namespace tarvix {

NetworkParameterSet CurrentParameters{};
std::array<NetworkParameterSet, kPresetCount> WizardPresets{};

void LoadWizardPresets() noexcept { WizardPresets = kPresetTable; }

}  // namespace tarvix
