#include "optimizer/ModeSummary.h"

namespace tarvix {
namespace {

constexpr const char* kTab = "\t";
constexpr const char* kNewLine = "\r\n";

std::string Number(std::int64_t value) { return std::to_string(value); }
// Any non-zero value reads as true, as the original's boolean formatting did.
std::string Word(VbBool value) { return value != 0 ? "True" : "False"; }

}  // namespace

std::string ModeSummaryText(const NetworkParameterSet& set) {
  std::string text;
  text.reserve(200);
  text += "MSS = " + Number(set.MSS) + kTab + "MTU = " + Number(set.MTU) + kTab + kTab + "ICMP = " + Word(set.ICMP) +
          kNewLine + kNewLine;
  text += "NDI = " + Number(set.NDI) + kTab + "MSCPS0 = " + Number(set.MSCPS0) + kTab + kTab +
          "MSCPS1 = " + Number(set.MSCPS1) + kNewLine + kNewLine;
  text += "BlackHole = " + Word(set.BlackHole) + kTab + "RWIN = " + Number(set.RWIN) + kTab + kNewLine;
  text += "Keep Alive = " + Number(set.KeepAliveTime) + kNewLine + kNewLine;
  text += "Keep Alive Interval= " + Number(set.KeepAliveInterval) + kTab + "SYN = " + Number(set.SYN) + kTab + kTab +
          "TTL= " + Number(set.TTL) + kNewLine + kNewLine;
  return text;
}

}  // namespace tarvix
