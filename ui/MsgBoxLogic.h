#pragma once
// The message, input and notification boxes' rules that need no window: the
// flag fields, the buttons each flag value shows and where they go, the
// panel layouts in twips, the icon numbers and the results handed back.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvix::msgbox {

// Fields of the flags value.
inline constexpr std::uint32_t kButtonMask = 0x7;
inline constexpr std::uint32_t kIconMask = 0x70;
inline constexpr std::uint32_t kDefaultButtonMask = 0x300;
inline constexpr std::uint32_t kCustomButtons = 6;
inline constexpr std::uint32_t kKeepDefaultButton = 0x300;

// Button result codes.
inline constexpr std::int16_t kOk = 1;
inline constexpr std::int16_t kCancel = 2;
inline constexpr std::int16_t kAbort = 3;
inline constexpr std::int16_t kRetry = 4;
inline constexpr std::int16_t kIgnore = 5;
inline constexpr std::int16_t kYes = 6;
inline constexpr std::int16_t kNo = 7;
// Added to a message box's result when its check box is ticked.
inline constexpr std::int16_t kCheckedBonus = 100;
// The input box's result codes.
inline constexpr std::int16_t kInputOk = 0;
inline constexpr std::int16_t kInputCancel = -1;
// Appended to the input box's text when its check box is ticked: the sign
// "¬" in the ANSI code page the windows' texts are in.
inline constexpr std::string_view kCheckedMark = "\xAC";

// 0x00BBGGRR, as COLORREF holds it: the light yellow of a box given colour 0.
inline constexpr std::uint32_t kDefaultPanelColor = 0x00CCFFFF;  // RGB(255, 255, 204)
[[nodiscard]] constexpr std::uint32_t PanelColorFor(std::uint32_t color) noexcept {
  return color == 0 ? kDefaultPanelColor : color;
}

// Icons of the strip (1-based).
inline constexpr int kIconCloseNormal = 9;
inline constexpr int kIconCloseHover = 10;
inline constexpr int kIconClosePressed = 11;
inline constexpr int kStripIconCount = 12;
inline constexpr int kStripIconSize = 16;

// The strip icon for the flags' icon field; 0 for no icon.
[[nodiscard]] int StripIconForFlags(std::uint32_t flags) noexcept;

struct ButtonSlot {
  std::string caption;
  std::int16_t code = 0;
  bool visible = false;
};
struct ButtonSet {
  std::array<ButtonSlot, 3> slots;
  int count = 0;  // how many positions the layout places (1 to 3)
};
// The buttons from the left for the flags' button field. With custom
// captions each non-empty caption shows its position with code 1, 2 or 3 and
// the count is the position of the last non-empty caption.
[[nodiscard]] ButtonSet ButtonsFor(std::uint32_t flags, std::string_view b1, std::string_view b2,
                                   std::string_view b3);

// The button that gets the focus, 1 to 3, for the flags' default-button
// field; `current` is kept for the field value 768.
[[nodiscard]] std::int16_t DefaultButtonFor(std::uint32_t flags, std::int16_t current) noexcept;

[[nodiscard]] constexpr std::int16_t MsgBoxResult(std::int16_t code, bool checked) noexcept {
  return static_cast<std::int16_t>(code + (checked ? kCheckedBonus : 0));
}
// "" when cancelled, otherwise the text with the mark appended when ticked.
[[nodiscard]] std::string InputBoxResult(std::int16_t resultCode, std::string_view text, bool checked);
// OK closes the input box only with text in the field.
[[nodiscard]] constexpr bool InputOkCloses(std::string_view text) noexcept { return !text.empty(); }

// The auto box's display time as a timer interval in milliseconds; 0 means
// the box stays until closed by hand.
[[nodiscard]] constexpr std::uint32_t AutoCloseMilliseconds(std::int16_t seconds) noexcept {
  return seconds > 0 ? static_cast<std::uint32_t>(seconds) * 1000u : 0u;
}

// Layout, in twips within a panel.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  [[nodiscard]] constexpr int right() const noexcept { return left + width; }
  [[nodiscard]] constexpr int bottom() const noexcept { return top + height; }
  friend constexpr bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

inline constexpr TwipsRect kTitleDesign{375, 45, 4215, 225};
inline constexpr TwipsRect kAutoTitleDesign{420, 45, 3855, 225};
inline constexpr TwipsRect kMessageDesign{75, 450, 4125, 195};
inline constexpr TwipsRect kInputMessageDesign{75, 465, 4530, 195};
inline constexpr TwipsRect kIconDesign{45, 30, 240, 240};
inline constexpr TwipsRect kCloseImageDesign{4380, 45, 240, 240};
inline constexpr int kButtonWidth = 1200;
inline constexpr int kButtonHeight = 375;
inline constexpr int kMiddleButtonDesignLeft = 1815;
inline constexpr int kInputFieldHeight = 315;
inline constexpr int kCheckBoxHeight = 255;

// The window in pixels at 96 DPI: panels sit at (8, 30) and are 30 pixels
// narrower.
inline constexpr int kPanelLeft = 8;
inline constexpr int kPanelTop = 30;
inline constexpr int kPanelWidthLoss = 30;

struct Twips {
  int perPixelX = 15;
  int perPixelY = 15;
};

// A length of the window given in pixels at 96 DPI (15 twips a pixel), in
// pixels of a screen with `twipsPerPixel`.
[[nodiscard]] constexpr int BoxPixels(int designPixels, int twipsPerPixel) noexcept {
  return twipsPerPixel <= 0 ? designPixels : (designPixels * 15 + twipsPerPixel / 2) / twipsPerPixel;
}

// The message label's width: the panel's width less 130 twips.
[[nodiscard]] constexpr int MessageWidthTwips(int panelWidthPx, Twips t) noexcept {
  return panelWidthPx * t.perPixelX - 130;
}

// Left edges of the three button positions for `count` buttons on a panel
// `panelWidthTwips` wide; positions beyond the count keep 0.
[[nodiscard]] std::array<int, 3> ButtonLefts(int count, int panelWidthTwips) noexcept;

struct AutoLayout {
  TwipsRect message;
  TwipsRect closeImage;
  int panelHeightPx = 0;
  int windowHeightPx = 0;
};
// `messageHeight` is the wrapped message's height in twips.
[[nodiscard]] AutoLayout LayoutAutoBox(int panelWidthPx, int messageHeight, Twips t) noexcept;

struct MessageLayout {
  TwipsRect message;
  TwipsRect checkBox;  // meaningful only when the box has one
  int panelHeightPx = 0;
  int windowHeightPx = 0;
};
[[nodiscard]] MessageLayout LayoutMessageBox(int panelWidthPx, int messageHeight, Twips t) noexcept;

// The message box's buttons: their top, 100 twips above the panel's bottom,
// and their places for the buttons shown.
[[nodiscard]] constexpr int ButtonTopTwips(int panelHeightPx, Twips t) noexcept {
  return panelHeightPx * t.perPixelY - kButtonHeight - 100;
}
[[nodiscard]] std::array<TwipsRect, 3> ButtonPlaces(int buttonCount, int panelWidthPx, int panelHeightPx,
                                                   Twips t) noexcept;

struct InputLayout {
  TwipsRect message;
  TwipsRect field;
  TwipsRect ok;
  TwipsRect cancel;
  TwipsRect checkBox;
  int panelHeightPx = 0;
  int windowHeightPx = 0;
};
[[nodiscard]] InputLayout LayoutInputBox(int panelWidthPx, int messageHeight, Twips t) noexcept;

// The title's place: beside the icon, or at the message's left edge when
// the box shows no icon.
[[nodiscard]] constexpr TwipsRect TitlePlace(TwipsRect design, bool hasIcon, int messageLeft) noexcept {
  if (hasIcon) return design;
  return {messageLeft, design.top, design.right() - messageLeft, design.height};
}

// The close image's picture: normal, hovered (the first move over it) and
// pressed; a move over the panel outside it clears the hover.
class CloseImageState {
 public:
  // Each returns true when the picture changed.
  bool MoveOverImage() noexcept { return Set(true, pressed_); }
  bool MoveOverPanel() noexcept { return hovered_ ? Set(false, false) : false; }
  bool Press() noexcept { return Set(hovered_, true); }
  bool Release() noexcept { return Set(true, false); }
  void Reset() noexcept { hovered_ = pressed_ = false; }
  [[nodiscard]] int Icon() const noexcept {
    return pressed_ ? kIconClosePressed : hovered_ ? kIconCloseHover : kIconCloseNormal;
  }
  [[nodiscard]] bool Hovered() const noexcept { return hovered_; }

 private:
  bool Set(bool hovered, bool pressed) noexcept {
    const int before = Icon();
    hovered_ = hovered;
    pressed_ = pressed;
    return Icon() != before;
  }
  bool hovered_ = false;
  bool pressed_ = false;
};

}  // namespace tarvix::msgbox
