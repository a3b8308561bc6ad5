#pragma once
// The notification icon's rules that need no window: the texts the shell
// receives, the click filter that turns icon notifications into events, and
// the control's persisted defaults. Builds without windows.h.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvix {

// Room in the shell's record, terminating zero included.
inline constexpr std::size_t kTrayTipChars = 128;
inline constexpr std::size_t kTrayInfoChars = 256;
inline constexpr std::size_t kTrayInfoTitleChars = 64;

// Mouse messages the shell reports in the notification's lParam.
inline constexpr std::uint32_t kTrayLeftButtonDown = 0x201;
inline constexpr std::uint32_t kTrayRightButtonDown = 0x204;

// After an accepted press further presses are dropped for this long, so a
// double click raises one event.
inline constexpr unsigned kTrayClickHoldMs = 15;

// Persisted property keys and their defaults; a host stores only values that
// differ from these.
inline constexpr std::string_view kTrayImageKey = "TrayImage";
inline constexpr std::string_view kTrayToolTipKey = "TrayToolTip";
inline constexpr std::string_view kTrayEventModeKey = "EventMode";
inline constexpr std::string_view kTrayBalloonTipKey = "BalloonTip";
inline constexpr std::string_view kDefaultTrayToolTip = "Program notification";
inline constexpr std::string_view kDefaultTrayBalloonTip = "The Program Still Running Here";
inline constexpr std::int32_t kDefaultTrayEventMode = 0;

// EventMode 0: separate LeftClick / RightClick; 1: one MouseClick with a button code.
inline constexpr std::int32_t kTrayEventModeSeparate = 0;
inline constexpr std::int32_t kTrayEventModeMouseClick = 1;
inline constexpr std::int32_t kTrayLeftButton = 1;
inline constexpr std::int32_t kTrayRightButton = 2;

// The tip field: " tip " cut to 127 characters, or empty for an empty tip.
[[nodiscard]] std::string TrayTipField(std::string_view tip);
// The balloon text cut to 255 characters.
[[nodiscard]] std::string TrayBalloonText(std::string_view balloon);
// The balloon title: the plain tip text (not the padded field) cut to 63 characters.
[[nodiscard]] std::string TrayBalloonTitle(std::string_view tip);

// Event modes other than 0 and 1 are pulled to the nearer of the two.
[[nodiscard]] constexpr std::int32_t ClampTrayEventMode(std::int32_t mode) noexcept {
  return mode > kTrayEventModeMouseClick ? kTrayEventModeMouseClick
         : mode < kTrayEventModeSeparate ? kTrayEventModeSeparate
                                         : mode;
}

enum class TrayEvent { None, LeftClick, RightClick, MouseClick };

struct TrayEventCall {
  TrayEvent event = TrayEvent::None;
  std::int32_t button = 0;  // for MouseClick: 1 left, 2 right
  [[nodiscard]] bool raised() const noexcept { return event != TrayEvent::None; }
};

// Turns notifications into at most one event per press: a press is accepted
// only while no earlier press is pending, and it stays pending until the
// hold timer fires (Tick).
class TrayClickFilter {
 public:
  // `lParam` as the shell sent it; only its low 16 bits (the mouse message)
  // count. When an event is returned the press is pending and the caller
  // arms the hold timer once the host has handled the event.
  [[nodiscard]] TrayEventCall Decode(std::uint64_t lParam, std::int32_t eventMode) noexcept;
  // The hold timer fired: presses are accepted again.
  void Tick() noexcept { pending_ = false; }
  [[nodiscard]] bool ClickPending() const noexcept { return pending_; }

 private:
  bool pending_ = false;
};

// What the shell is asked by Show(upDateData), given whether the icon is
// visible now.
enum class TrayShellStep { None, Add, Modify, Delete };
[[nodiscard]] constexpr TrayShellStep PlanTrayShow(bool visible, bool upDateData) noexcept {
  if (upDateData) return visible ? TrayShellStep::Modify : TrayShellStep::Add;
  return visible ? TrayShellStep::Delete : TrayShellStep::None;
}

// The control's persisted properties other than the picture.
struct TrayProperties {
  std::string toolTip{kDefaultTrayToolTip};
  std::string balloonTip{kDefaultTrayBalloonTip};
  std::int32_t eventMode = kDefaultTrayEventMode;
};

// The key/value pairs a host stores: only those that differ from the defaults,
// in the order "TrayToolTip", "EventMode", "BalloonTip".
[[nodiscard]] std::vector<std::pair<std::string_view, std::string>> TrayValuesToStore(
    const TrayProperties& properties);

// The properties read back from a host's store; `stored` answers a key with
// its value, or nothing when the host never stored one. A missing key gives
// its default, and so does an event mode that is not a whole number; one out
// of range is pulled to 0 or 1.
[[nodiscard]] TrayProperties TrayPropertiesFromStore(
    const std::function<std::optional<std::string>(std::string_view key)>& stored);

}  // namespace tarvix
