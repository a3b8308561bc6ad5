#include "ui/MsgBoxLogic.h"

namespace tarvix::msgbox {

int StripIconForFlags(std::uint32_t flags) noexcept {
  switch (flags & kIconMask) {
    case 16: return 1;  // stop
    case 32: return 4;  // question
    case 48: return 2;  // exclamation
    case 64: return 3;  // information
    case 80: return 5;
    case 96: return 6;
    case 112: return 7;
    default: return 0;
  }
}

namespace {

struct Standard {
  std::string_view caption;
  std::int16_t code;
};

ButtonSet StandardSet(std::initializer_list<Standard> buttons) {
  ButtonSet set;
  for (const Standard& button : buttons) {
    set.slots[static_cast<std::size_t>(set.count)] = {std::string(button.caption), button.code, true};
    ++set.count;
  }
  return set;
}

}  // namespace

ButtonSet ButtonsFor(std::uint32_t flags, std::string_view b1, std::string_view b2, std::string_view b3) {
  switch (flags & kButtonMask) {
    case 1: return StandardSet({{"OK", kOk}, {"Cancel", kCancel}});
    case 2: return StandardSet({{"Abort", kAbort}, {"Retry", kRetry}, {"Ignore", kIgnore}});
    case 3: return StandardSet({{"Yes", kYes}, {"No", kNo}, {"Cancel", kCancel}});
    case 4: return StandardSet({{"Yes", kYes}, {"No", kNo}});
    case 5: return StandardSet({{"Retry", kRetry}, {"Cancel", kCancel}});
    case kCustomButtons: {
      ButtonSet set;
      const std::string_view captions[3] = {b1, b2, b3};
      for (std::size_t i = 0; i < 3; ++i) {
        if (captions[i].empty()) continue;
        set.slots[i] = {std::string(captions[i]), static_cast<std::int16_t>(i + 1), true};
        set.count = static_cast<int>(i + 1);
      }
      // Three empty captions would leave no way to close the box.
      if (set.count == 0) return StandardSet({{"OK", kOk}});
      return set;
    }
    default: return StandardSet({{"OK", kOk}});
  }
}

std::int16_t DefaultButtonFor(std::uint32_t flags, std::int16_t current) noexcept {
  switch (flags & kDefaultButtonMask) {
    case 0: return 1;
    case 0x100: return 2;
    case 0x200: return 3;
    default: return current;
  }
}

std::string InputBoxResult(std::int16_t resultCode, std::string_view text, bool checked) {
  if (resultCode == kInputCancel) return {};
  std::string result(text);
  if (checked) result += kCheckedMark;
  return result;
}

std::array<int, 3> ButtonLefts(int count, int panelWidthTwips) noexcept {
  const int w = kButtonWidth;
  const int pw = panelWidthTwips;
  switch (count) {
    case 1: return {(pw - w) / 2, 0, 0};
    case 2: {
      const int first = pw / 3 - w / 2;
      return {first, pw - w - first, 0};
    }
    default: {
      const int first = (kMiddleButtonDesignLeft - w) / 2;
      return {first, (pw - w) / 2, pw - w - first};
    }
  }
}

AutoLayout LayoutAutoBox(int panelWidthPx, int messageHeight, Twips t) noexcept {
  AutoLayout layout;
  layout.message = {kInputMessageDesign.left, kInputMessageDesign.top, MessageWidthTwips(panelWidthPx, t),
                    messageHeight};
  layout.panelHeightPx = (layout.message.bottom() + 300) / t.perPixelY;
  layout.closeImage = {panelWidthPx * t.perPixelX - kCloseImageDesign.width - 50, kIconDesign.top,
                       kCloseImageDesign.width, kCloseImageDesign.height};
  layout.windowHeightPx = BoxPixels(kPanelTop, t.perPixelY) + layout.panelHeightPx + BoxPixels(40, t.perPixelY);
  return layout;
}

MessageLayout LayoutMessageBox(int panelWidthPx, int messageHeight, Twips t) noexcept {
  MessageLayout layout;
  layout.message = {kMessageDesign.left, kMessageDesign.top, MessageWidthTwips(panelWidthPx, t), messageHeight};
  layout.panelHeightPx = (layout.message.bottom() + 900) / t.perPixelY;
  layout.checkBox = {layout.message.left, layout.message.bottom() + 70, layout.message.width, kCheckBoxHeight};
  layout.windowHeightPx = layout.panelHeightPx + BoxPixels(65, t.perPixelY);
  return layout;
}

std::array<TwipsRect, 3> ButtonPlaces(int buttonCount, int panelWidthPx, int panelHeightPx, Twips t) noexcept {
  const int top = ButtonTopTwips(panelHeightPx, t);
  const auto lefts = ButtonLefts(buttonCount, panelWidthPx * t.perPixelX);
  std::array<TwipsRect, 3> places{};
  for (std::size_t i = 0; i < 3; ++i) places[i] = {lefts[i], top, kButtonWidth, kButtonHeight};
  return places;
}

InputLayout LayoutInputBox(int panelWidthPx, int messageHeight, Twips t) noexcept {
  InputLayout layout;
  layout.message = {kInputMessageDesign.left, kInputMessageDesign.top, MessageWidthTwips(panelWidthPx, t),
                    messageHeight};
  layout.field = {layout.message.left, layout.message.bottom() + 300, layout.message.width, kInputFieldHeight};
  const int buttonTop = layout.field.bottom() + 70;
  layout.ok = {layout.field.right() - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight};
  layout.cancel = {layout.ok.left - kButtonWidth - 70, buttonTop, kButtonWidth, kButtonHeight};
  layout.checkBox = {layout.field.left, buttonTop, layout.cancel.left - layout.field.left - 10, kCheckBoxHeight};
  layout.panelHeightPx = (layout.ok.bottom() + 115) / t.perPixelY;
  layout.windowHeightPx = layout.panelHeightPx + BoxPixels(65, t.perPixelY);
  return layout;
}

}  // namespace tarvix::msgbox
