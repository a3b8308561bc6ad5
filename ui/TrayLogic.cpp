#include "ui/TrayLogic.h"

#include <charconv>

namespace tarvix {
namespace {

std::string Cut(std::string_view text, std::size_t room) {
  // `room` includes the terminating zero the shell's field needs.
  return std::string(text.substr(0, room - 1));
}

}  // namespace

std::string TrayTipField(std::string_view tip) {
  if (tip.empty()) return {};
  std::string field;
  field.reserve(tip.size() + 2);
  field += ' ';
  field += tip;
  field += ' ';
  return Cut(field, kTrayTipChars);
}

std::string TrayBalloonText(std::string_view balloon) { return Cut(balloon, kTrayInfoChars); }

std::string TrayBalloonTitle(std::string_view tip) { return Cut(tip, kTrayInfoTitleChars); }

TrayEventCall TrayClickFilter::Decode(std::uint64_t lParam, std::int32_t eventMode) noexcept {
  if (pending_) return {};
  const auto message = static_cast<std::uint32_t>(lParam & 0xFFFF);
  const bool mouseClick = ClampTrayEventMode(eventMode) == kTrayEventModeMouseClick;
  switch (message) {
    case kTrayLeftButtonDown:
      pending_ = true;
      return mouseClick ? TrayEventCall{TrayEvent::MouseClick, kTrayLeftButton}
                        : TrayEventCall{TrayEvent::LeftClick, 0};
    case kTrayRightButtonDown:
      pending_ = true;
      return mouseClick ? TrayEventCall{TrayEvent::MouseClick, kTrayRightButton}
                        : TrayEventCall{TrayEvent::RightClick, 0};
    default:
      // Moves, button-ups, double clicks and the middle button raise nothing.
      return {};
  }
}

std::vector<std::pair<std::string_view, std::string>> TrayValuesToStore(const TrayProperties& properties) {
  std::vector<std::pair<std::string_view, std::string>> values;
  if (properties.toolTip != kDefaultTrayToolTip) values.emplace_back(kTrayToolTipKey, properties.toolTip);
  if (properties.eventMode != kDefaultTrayEventMode)
    values.emplace_back(kTrayEventModeKey, std::to_string(properties.eventMode));
  if (properties.balloonTip != kDefaultTrayBalloonTip)
    values.emplace_back(kTrayBalloonTipKey, properties.balloonTip);
  return values;
}

TrayProperties TrayPropertiesFromStore(
    const std::function<std::optional<std::string>(std::string_view key)>& stored) {
  TrayProperties properties;
  if (!stored) return properties;
  if (auto tip = stored(kTrayToolTipKey)) properties.toolTip = std::move(*tip);
  if (auto balloon = stored(kTrayBalloonTipKey)) properties.balloonTip = std::move(*balloon);
  if (const auto mode = stored(kTrayEventModeKey)) {
    // Wider than the property, so that "4000000000" is pulled to 1 rather than refused.
    long long value = 0;
    const char* end = mode->data() + mode->size();
    const auto [stop, fault] = std::from_chars(mode->data(), end, value);
    if (fault == std::errc() && stop == end) {
      properties.eventMode = value > kTrayEventModeMouseClick ? kTrayEventModeMouseClick
                             : value < kTrayEventModeSeparate ? kTrayEventModeSeparate
                                                              : static_cast<std::int32_t>(value);
    } else if (fault == std::errc::result_out_of_range && stop == end) {
      properties.eventMode = mode->front() == '-' ? kTrayEventModeSeparate : kTrayEventModeMouseClick;
    }
  }
  return properties;
}

}  // namespace tarvix
