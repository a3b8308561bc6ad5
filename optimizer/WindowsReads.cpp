#include "optimizer/WindowsReads.h"

namespace tarvix::reads {
namespace {

// "X: not read, why." for each value of `page` (every page when
// `page` is negative) that this Windows does not read.
std::string NotReadLines(int page, bool wizardNames) {
  std::string text;
  for (const ValueReading& value : kVistaAndLater) {
    if (value.reading != Reading::NotRead || (page >= 0 && value.page != page)) continue;
    if (!text.empty()) text += "\r\n";
    text += std::string(wizardNames ? value.field : value.caption) + ": not read, " + std::string(value.brief) +
            ".";
  }
  return text;
}

}  // namespace

std::string PageReadingText(int page) {
  std::string text = NotReadLines(page, false);
  std::string read;
  std::string undocumented;
  for (const ValueReading& value : kVistaAndLater) {
    if (value.page != page) continue;
    std::string& list = value.reading == Reading::Read ? read : undocumented;
    if (value.reading == Reading::NotRead) continue;
    list += (list.empty() ? "" : ", ") + std::string(value.caption);
  }
  const auto add = [&text](const std::string& line) {
    if (line.empty()) return;
    if (!text.empty()) text += "\r\n";
    text += line;
  };
  if (!read.empty()) add("Still read here: " + read + ".");
  if (!undocumented.empty()) add("Not documented for this Windows: " + undocumented + ".");
  return text;
}

std::string WizardReadingText() { return NotReadLines(-1, true); }

}  // namespace tarvix::reads
