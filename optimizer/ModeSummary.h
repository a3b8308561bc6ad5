#pragma once
// The wizard's summary of a parameter set (frmWizardMode.lblModeDescrip):
// five lines of "name = value" pairs separated by tabs, each line ended by
// CR LF (most of them by two). Pure, so the text is tested byte for byte.
#include <string>

#include "optimizer/NetworkParameters.h"

namespace tarvix {

// MSS, MTU, ICMP / NDI, MSCPS0, MSCPS1 / BlackHole, RWIN / Keep Alive /
// Keep Alive Interval, SYN, TTL. Numbers in plain decimal (-1 shows as -1);
// a boolean field shows as True when non-zero, False when zero.
// MTUDiscovery is not shown.
[[nodiscard]] std::string ModeSummaryText(const NetworkParameterSet& set);

}  // namespace tarvix
