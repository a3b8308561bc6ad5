// Feeds arbitrary typing to the advanced editor's field validators, alone and
// through the page walk: a box's text always stands after its change handler
// ran, numbers written by the editor read back as themselves, and Finish
// stores only values inside each box's range.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "optimizer/AdvancedWalk.h"
#include "optimizer/NetworkParameters.h"

namespace {

using namespace tarvix;
using namespace tarvix::advanced;

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckNumberReading(std::string_view text) {
  const double leading = LeadingNumber(text);
  (void)RoundToLong(leading);
  if (!IsNumber(text)) return;
  Require(std::isfinite(leading));
  const std::string written = NumberText(leading);
  Require(IsNumber(written));
  const double back = LeadingNumber(written);
  // 15 significant digits survive the round trip (subnormals have fewer).
  if (std::fabs(leading) > 1e-300) Require(std::fabs(back - leading) <= std::fabs(leading) * 1e-14);
  for (const RangeRule& rule : kRangeRules) {
    NetworkParameterSet set{};
    set.*rule.field = RoundToLong(leading);
    if (const auto correction = RangeCorrection(rule, text, set)) {
      Require(!RangeCorrection(rule, *correction, set));
    }
  }
}

// One action of the user, taken from the front of the input.
class Actions {
 public:
  explicit Actions(std::string_view data) : data_(data) {}
  [[nodiscard]] bool empty() const noexcept { return data_.empty(); }
  std::uint8_t Byte() {
    if (data_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(data_.front());
    data_.remove_prefix(1);
    return byte;
  }
  std::string_view Text() {
    const std::size_t length = std::min<std::size_t>(Byte() % 32, data_.size());
    const std::string_view text = data_.substr(0, length);
    data_.remove_prefix(length);
    return text;
  }

 private:
  std::string_view data_;
};

void CheckStoredInRange(const NetworkParameterSet& set) {
  for (const RangeRule& rule : kRangeRules) {
    const double value = set.*rule.field;
    Require(value >= rule.lowest && value <= rule.highest);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckNumberReading(input);
  (void)WindowProduct(1460, input, kScaleFactor);

  NetworkParameterSet parameters{};
  Actions actions(input);
  AdvancedWalk walk(parameters, actions.Byte() % 5);
  for (int step = 0; step < 64 && !actions.empty(); ++step) {
    switch (actions.Byte() % 7) {
      case 0: {
        const auto box = static_cast<Box>(actions.Byte() % kBoxCount);
        walk.TextChanged(box, actions.Text());
        if (const RangeRule* rule = RangeRuleFor(box)) Require(!RangeCorrection(*rule, walk.Text(box), parameters));
        break;
      }
      case 1:
        if (walk.Next() == NextResult::Finished) CheckStoredInRange(parameters);
        break;
      case 2: walk.Back(); break;
      case 3: walk.ChooseConnectionType(static_cast<int>(actions.Byte() % 6) - 1); break;
      case 4: walk.CheckChanged(static_cast<Check>(actions.Byte() % kCheckCount), actions.Byte() & 1); break;
      case 5: walk.SelectNdi(static_cast<int>(actions.Byte() % 9) - 1); break;
      default: walk.FinishFailed(); break;
    }
    Require(walk.CurrentPage() >= 0 && walk.CurrentPage() <= kFinishedPage);
  }
  return 0;
}
