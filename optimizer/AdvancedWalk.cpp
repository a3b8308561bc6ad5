#include "optimizer/AdvancedWalk.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "base/Number.h"
#include "base/Text.h"

namespace tarvix::advanced {
namespace {

std::string WholeText(double value) { return std::to_string(static_cast<std::int64_t>(value)); }

}  // namespace

bool IsNumber(std::string_view text) noexcept { return ParseDecimal(text).has_value(); }

double LeadingNumber(std::string_view text) noexcept {
  while (!text.empty() && text::IsBlank(text.front())) text.remove_prefix(1);
  const std::size_t length = NumberLength(text);
  return length == 0 ? 0.0 : NumberValue(text.substr(0, length));
}

std::int32_t RoundToLong(double value) noexcept {
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  if (std::isnan(value)) return 0;
  if (value >= kHighest) return std::numeric_limits<std::int32_t>::max();
  if (value <= kLowest) return std::numeric_limits<std::int32_t>::min();
  const double rounded = RoundHalfEven(value);
  return static_cast<std::int32_t>(rounded);
}

std::string NumberText(double value) {
  if (value == 0.0 || std::isnan(value)) return "0";
  // 15 significant digits in scientific form: "-6.43200000000000e+02".
  char buffer[48] = {};
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  if (written.ec != std::errc()) return "0";
  const std::string_view scientific(buffer, static_cast<std::size_t>(written.ptr - buffer));
  const std::size_t e = scientific.find('e');
  if (e == std::string_view::npos) return std::string(scientific);  // inf
  const bool negative = scientific.front() == '-';
  std::string digits;
  for (const char c : scientific.substr(0, e)) {
    if (text::IsDigit(c)) digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string_view exponentText = scientific.substr(e + 1);
  if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
  int exponent = 0;
  (void)std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

  std::string text = negative ? "-" : "";
  if (exponent >= 15 || exponent < -4) {
    text += digits.front();
    if (digits.size() > 1) text += "." + digits.substr(1);
    const int magnitude = exponent < 0 ? -exponent : exponent;
    text += exponent < 0 ? "E-" : "E+";
    if (magnitude < 10) text += '0';
    text += std::to_string(magnitude);
  } else if (exponent >= 0) {
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      text += digits + std::string(whole - digits.size(), '0');
    } else {
      text += digits.substr(0, whole) + "." + digits.substr(whole);
    }
  } else {
    text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  return text;
}

const RangeRule* RangeRuleFor(Box box) noexcept {
  const auto found = std::find_if(kRangeRules.begin(), kRangeRules.end(),
                                  [box](const RangeRule& rule) { return rule.box == box; });
  return found == kRangeRules.end() ? nullptr : &*found;
}

std::optional<std::string> RangeCorrection(const RangeRule& rule, std::string_view text,
                                           const NetworkParameterSet& set) {
  // The field holds an in-range value whenever its page is visible; holding
  // it to the range anyway keeps the replacement from being replaced again.
  const double fallback = std::clamp(static_cast<double>(set.*rule.field), rule.lowest, rule.highest);
  if (!IsNumber(text)) return WholeText(fallback);
  const double number = LeadingNumber(text);
  if (number < rule.lowest || number > rule.highest) return WholeText(fallback);
  return std::nullopt;
}

std::string WindowProduct(std::int32_t mss, std::string_view multiplier, std::string_view scaleFactor) {
  return NumberText(static_cast<double>(mss) * LeadingNumber(multiplier) * LeadingNumber(scaleFactor));
}

AdvancedWalk::AdvancedWalk(NetworkParameterSet& parameters, int connectionType) noexcept
    : parameters_(parameters), connectionType_(connectionType >= 0 && connectionType < 4 ? connectionType : 0) {
  try {
    texts_[Index(Box::MTU)] = "576";
    texts_[Index(Box::MSS)] = "536";
    texts_[Index(Box::ScaleFactor)] = std::string(kScaleFactor);
    texts_[Index(Box::TTL)] = "64";
    texts_[Index(Box::HTTP10)] = "20";
    texts_[Index(Box::HTTP11)] = "20";
    texts_[Index(Box::KeepAliveTime)] = "7200000";
    texts_[Index(Box::KeepAliveInterval)] = "1000";
    texts_[Index(Box::SYN)] = "2";
  } catch (...) {
    // Short texts fit the strings' own buffers; nothing to recover.
  }
  SelectNdi(0);
}

void AdvancedWalk::ChooseConnectionType(int index) noexcept {
  if (index >= 0 && index < static_cast<int>(kConnectionTypes.size())) connectionType_ = index;
}

NextResult AdvancedWalk::Next() {
  if (!nextEnabled_) return NextResult::Ignored;
  currWizardPage_ = std::min(currWizardPage_ + 1, kFinishedPage);
  if (currWizardPage_ == kFinishedPage) {
    Finish();
    return NextResult::Finished;
  }
  EnterPage(currWizardPage_);
  visiblePage_ = currWizardPage_;
  backEnabled_ = true;
  return NextResult::Moved;
}

void AdvancedWalk::Back() noexcept {
  if (!backEnabled_) return;
  currWizardPage_ = std::max(currWizardPage_ - 1, 0);
  if (currWizardPage_ == 0) backEnabled_ = false;
  // The way back after Finish.
  if (currWizardPage_ == kPageCount - 1) nextEnabled_ = true;
  visiblePage_ = currWizardPage_;
  // Also on page 7, although Next there finishes (as the Part walks it).
  nextCaption_ = kNextCaption;
}

void AdvancedWalk::TextChanged(Box box, std::string_view text) {
  if (box == Box::Count || texts_[Index(box)] == text) return;
  texts_[Index(box)] = std::string(text);
  OnChange(box);
}

void AdvancedWalk::CheckChanged(Check check, bool checked) noexcept {
  if (check == Check::Count) return;
  checks_[static_cast<std::size_t>(check)] = checked;
  switch (check) {
    case Check::BlackHole: parameters_.BlackHole = checked ? kVbTrue : kVbFalse; break;
    // The box asks whether to disable discovery.
    case Check::MTUDiscovery: parameters_.MTUDiscovery = checked ? kVbFalse : kVbTrue; break;
    case Check::ICMP: parameters_.ICMP = checked ? kVbTrue : kVbFalse; break;
    case Check::Count: break;
  }
}

void AdvancedWalk::SelectNdi(int index) noexcept {
  if (index < 0 || index >= static_cast<int>(kNdiItems.size())) return;
  ndiIndex_ = index;
  parameters_.NDI = RoundToLong(LeadingNumber(kNdiItems[static_cast<std::size_t>(index)]));
}

void AdvancedWalk::FinishFailed() noexcept {
  if (currWizardPage_ != kFinishedPage) return;
  currWizardPage_ = kPageCount - 1;
  visiblePage_ = currWizardPage_;
  nextEnabled_ = true;
  nextCaption_ = kFinishCaption;
}

void AdvancedWalk::Assign(Box box, std::string text) {
  if (texts_[Index(box)] == text) return;
  texts_[Index(box)] = std::move(text);
  OnChange(box);
}

void AdvancedWalk::OnChange(Box box) {
  if (const RangeRule* rule = RangeRuleFor(box)) {
    // Typing never changes the field; a text that does not stand is replaced
    // (and the replacement, checked in its turn, stands).
    if (auto correction = RangeCorrection(*rule, Text(box), parameters_)) Assign(box, std::move(*correction));
    return;
  }
  if (box == Box::Multiplier) {
    MultiplierChanged();
  } else if (box == Box::SYN && IsNumber(Text(box))) {
    const std::int32_t level = RoundToLong(LeadingNumber(Text(box)));
    parameters_.SYN = static_cast<std::int16_t>(std::clamp<std::int32_t>(level, -32768, 32767));
  }
}

void AdvancedWalk::MultiplierChanged() {
  const std::string typeMultiplier = std::to_string(Type().multiplier);
  std::string& multiplier = texts_[Index(Box::Multiplier)];
  if (!IsNumber(multiplier)) multiplier = typeMultiplier;
  texts_[Index(Box::RWIN)] = WindowProduct(parameters_.MSS, multiplier, Text(Box::ScaleFactor));
  const double window = LeadingNumber(Text(Box::RWIN));
  // Too large for window scaling, or smaller than one segment: the type's
  // multiplier again (once: with it the window always stands).
  if ((window > kLargestWindow || static_cast<double>(parameters_.MSS) > window) && multiplier != typeMultiplier) {
    multiplier = typeMultiplier;
    texts_[Index(Box::RWIN)] = WindowProduct(parameters_.MSS, multiplier, Text(Box::ScaleFactor));
  }
}

void AdvancedWalk::EnterPage(int page) {
  const ConnectionType& type = Type();
  switch (page) {
    case 1:
      Assign(Box::MTU, std::to_string(type.mtu));
      mtuRecommendation_ = std::string(type.mtuLabel);
      parameters_.MTU = type.mtu;
      Assign(Box::MSS, std::to_string(type.mss));
      mssRecommendation_ = std::string(type.mssLabel);
      parameters_.MSS = type.mss;
      break;
    case 2:
      // The check boxes keep their state; the fields start over.
      parameters_.MTUDiscovery = kVbTrue;
      parameters_.BlackHole = kVbFalse;
      break;
    case 3:
      // From the MSS field set on page 1, not from what was typed there.
      Assign(Box::MSSRWIN, std::to_string(parameters_.MSS));
      Assign(Box::Multiplier, std::to_string(type.multiplier));
      texts_[Index(Box::RWIN)] = WindowProduct(parameters_.MSS, Text(Box::Multiplier), Text(Box::ScaleFactor));
      parameters_.RWIN = RoundToLong(LeadingNumber(Text(Box::RWIN)));
      rwinRecommendation_ = std::to_string(parameters_.RWIN) + "Bytes";
      break;
    case 4:
      parameters_.TTL = 64;
      parameters_.MSCPS0 = 20;
      parameters_.MSCPS1 = 20;
      break;
    case 5:
      parameters_.KeepAliveTime = 7200000;
      parameters_.KeepAliveInterval = 1000;
      break;
    case 6:
      // The box and the combo keep what they show.
      parameters_.SYN = 2;
      parameters_.NDI = 0;
      break;
    case 7:
      parameters_.ICMP = kVbFalse;
      nextCaption_ = kFinishCaption;
      break;
    default:
      break;
  }
}

void AdvancedWalk::Finish() {
  struct Stored {
    Box box;
    std::int32_t NetworkParameterSet::*field;
  };
  static constexpr std::array<Stored, 8> kStored = {{
      {Box::MTU, &NetworkParameterSet::MTU},
      {Box::MSS, &NetworkParameterSet::MSS},
      {Box::RWIN, &NetworkParameterSet::RWIN},
      {Box::TTL, &NetworkParameterSet::TTL},
      {Box::HTTP10, &NetworkParameterSet::MSCPS0},
      {Box::HTTP11, &NetworkParameterSet::MSCPS1},
      {Box::KeepAliveTime, &NetworkParameterSet::KeepAliveTime},
      {Box::KeepAliveInterval, &NetworkParameterSet::KeepAliveInterval},
  }};
  for (const Stored& stored : kStored) parameters_.*stored.field = RoundToLong(LeadingNumber(Text(stored.box)));
  nextEnabled_ = false;
}

}  // namespace tarvix::advanced
