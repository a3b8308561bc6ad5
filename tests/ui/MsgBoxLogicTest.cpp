// The message boxes' rules without a window: buttons, codes, icons, layout.
#include <gtest/gtest.h>

#include "ui/MsgBoxLogic.h"

namespace tarvix::msgbox {
namespace {

constexpr Twips k96Dpi{15, 15};
constexpr int kPanelPx = 329;  // 359 - 30
constexpr int kPanelTwips = kPanelPx * 15;

struct Expected {
  const char* caption;
  std::int16_t code;
};

void ExpectButtons(const ButtonSet& set, std::initializer_list<Expected> expected) {
  ASSERT_EQ(set.count, static_cast<int>(expected.size()));
  std::size_t i = 0;
  for (const Expected& e : expected) {
    EXPECT_TRUE(set.slots[i].visible) << i;
    EXPECT_EQ(set.slots[i].caption, e.caption) << i;
    EXPECT_EQ(set.slots[i].code, e.code) << i;
    ++i;
  }
  for (; i < 3; ++i) EXPECT_FALSE(set.slots[i].visible) << i;
}

TEST(MsgBoxButtons, EachButtonField) {
  ExpectButtons(ButtonsFor(0, "", "", ""), {{"OK", 1}});
  ExpectButtons(ButtonsFor(1, "", "", ""), {{"OK", 1}, {"Cancel", 2}});
  ExpectButtons(ButtonsFor(2, "", "", ""), {{"Abort", 3}, {"Retry", 4}, {"Ignore", 5}});
  ExpectButtons(ButtonsFor(3, "", "", ""), {{"Yes", 6}, {"No", 7}, {"Cancel", 2}});
  ExpectButtons(ButtonsFor(4, "", "", ""), {{"Yes", 6}, {"No", 7}});
  ExpectButtons(ButtonsFor(5, "", "", ""), {{"Retry", 4}, {"Cancel", 2}});
  ExpectButtons(ButtonsFor(7, "", "", ""), {{"OK", 1}});
  // Icon and default-button bits do not change the buttons.
  ExpectButtons(ButtonsFor(3 | 64 | 256, "", "", ""), {{"Yes", 6}, {"No", 7}, {"Cancel", 2}});
  ExpectButtons(ButtonsFor(6, "&Keep", "&Drop", "&Ask"), {{"&Keep", 1}, {"&Drop", 2}, {"&Ask", 3}});
}

TEST(MsgBoxButtons, CustomCaptionsCountToTheLastOneGiven) {
  const ButtonSet middle = ButtonsFor(6, "", "B", "");
  EXPECT_EQ(middle.count, 2);
  EXPECT_FALSE(middle.slots[0].visible);
  EXPECT_TRUE(middle.slots[1].visible);
  EXPECT_EQ(middle.slots[1].code, 2);
  EXPECT_EQ(middle.slots[1].caption, "B");
  EXPECT_FALSE(middle.slots[2].visible);

  const ButtonSet first = ButtonsFor(6, "A", "", "");
  EXPECT_EQ(first.count, 1);
  EXPECT_EQ(first.slots[0].code, 1);
  // With no caption at all the box still has a way out.
  ExpectButtons(ButtonsFor(6, "", "", ""), {{"OK", 1}});
}

TEST(MsgBoxButtons, PlacesForOneTwoAndThree) {
  EXPECT_EQ(ButtonLefts(1, kPanelTwips)[0], (kPanelTwips - 1200) / 2);
  const auto two = ButtonLefts(2, kPanelTwips);
  EXPECT_EQ(two[0], kPanelTwips / 3 - 600);
  EXPECT_EQ(two[1], kPanelTwips - 1200 - two[0]);
  EXPECT_EQ(two[0], 1045);
  EXPECT_EQ(two[1], 2690);
  const auto three = ButtonLefts(3, kPanelTwips);
  EXPECT_EQ(three[0], 307);
  EXPECT_EQ(three[1], 1867);
  EXPECT_EQ(three[2], 3428);
  // The custom "", "B", "" lays out as two: its one button takes the second place.
  const auto places = ButtonPlaces(ButtonsFor(6, "", "B", "").count, kPanelPx, 116, k96Dpi);
  EXPECT_EQ(places[1].left, 2690);
  EXPECT_EQ(places[1].top, 116 * 15 - 375 - 100);
  EXPECT_EQ(places[1].width, 1200);
}

TEST(MsgBoxFlags, IconsAndDefaultButton) {
  EXPECT_EQ(StripIconForFlags(0), 0);
  EXPECT_EQ(StripIconForFlags(16), 1);
  EXPECT_EQ(StripIconForFlags(32), 4);
  EXPECT_EQ(StripIconForFlags(48), 2);
  EXPECT_EQ(StripIconForFlags(64), 3);
  EXPECT_EQ(StripIconForFlags(80), 5);
  EXPECT_EQ(StripIconForFlags(96), 6);
  EXPECT_EQ(StripIconForFlags(112), 7);
  EXPECT_EQ(StripIconForFlags(64 | 3 | 512), 3);

  EXPECT_EQ(DefaultButtonFor(3, 0), 1);
  EXPECT_EQ(DefaultButtonFor(3 | 256, 0), 2);
  EXPECT_EQ(DefaultButtonFor(3 | 512, 0), 3);
  EXPECT_EQ(DefaultButtonFor(3 | 768, 0), 0);
  EXPECT_EQ(DefaultButtonFor(768, 2), 2);
}

TEST(MsgBoxResults, CheckBoxAndInputText) {
  EXPECT_EQ(MsgBoxResult(kYes, true), 106);
  EXPECT_EQ(MsgBoxResult(kYes, false), 6);
  EXPECT_EQ(MsgBoxResult(kCancel, true), 102);
  EXPECT_EQ(InputBoxResult(kInputCancel, "typed", true), "");
  EXPECT_EQ(InputBoxResult(kInputOk, "typed", true), "typed\xAC");
  EXPECT_EQ(InputBoxResult(kInputOk, "typed", false), "typed");
  EXPECT_FALSE(InputOkCloses(""));
  EXPECT_TRUE(InputOkCloses(" "));
  EXPECT_EQ(PanelColorFor(0), 0x00CCFFFFu);  // RGB(255, 255, 204)
  EXPECT_EQ(PanelColorFor(0x00C8F8F2), 0x00C8F8F2u);
}

TEST(MsgBoxResults, AutoCloseTime) {
  EXPECT_EQ(AutoCloseMilliseconds(5), 5000u);
  EXPECT_EQ(AutoCloseMilliseconds(0), 0u);
  EXPECT_EQ(AutoCloseMilliseconds(32), 32000u);
  EXPECT_EQ(AutoCloseMilliseconds(-3), 0u);
  // Beyond 32 seconds the time neither wraps nor turns negative.
  EXPECT_EQ(AutoCloseMilliseconds(40), 40000u);
}

TEST(MsgBoxLayout, AutoMessageAndInputPanels) {
  const AutoLayout automatic = LayoutAutoBox(kPanelPx, 195, k96Dpi);
  EXPECT_EQ(automatic.message, (TwipsRect{75, 465, kPanelTwips - 130, 195}));
  EXPECT_EQ(automatic.panelHeightPx, (465 + 195 + 300) / 15);
  EXPECT_EQ(automatic.closeImage, (TwipsRect{kPanelTwips - 240 - 50, 30, 240, 240}));
  EXPECT_EQ(automatic.windowHeightPx, 30 + 64 + 40);

  const MessageLayout message = LayoutMessageBox(kPanelPx, 390, k96Dpi);
  EXPECT_EQ(message.message, (TwipsRect{75, 450, kPanelTwips - 130, 390}));
  EXPECT_EQ(message.panelHeightPx, (450 + 390 + 900) / 15);
  EXPECT_EQ(message.checkBox.top, 450 + 390 + 70);
  EXPECT_EQ(message.checkBox.left, 75);
  EXPECT_EQ(message.windowHeightPx, message.panelHeightPx + 65);

  const InputLayout input = LayoutInputBox(kPanelPx, 195, k96Dpi);
  EXPECT_EQ(input.field, (TwipsRect{75, 960, kPanelTwips - 130, 315}));
  EXPECT_EQ(input.ok, (TwipsRect{75 + kPanelTwips - 130 - 1200, 1345, 1200, 375}));
  EXPECT_EQ(input.ok.right(), input.field.right());
  EXPECT_EQ(input.cancel.left, input.ok.left - 1200 - 70);
  EXPECT_EQ(input.checkBox, (TwipsRect{75, 1345, input.cancel.left - 75 - 10, 255}));
  EXPECT_EQ(input.panelHeightPx, (1345 + 375 + 115) / 15);
  EXPECT_EQ(input.windowHeightPx, input.panelHeightPx + 65);

  // At 120 dots per inch (12 twips per pixel) the same twips give more pixels.
  EXPECT_EQ(LayoutAutoBox(kPanelPx, 195, {12, 12}).panelHeightPx, 960 / 12);
}

TEST(MsgBoxLayout, TitleMovesLeftWithoutIcon) {
  EXPECT_EQ(TitlePlace(kTitleDesign, true, 75), kTitleDesign);
  const TwipsRect moved = TitlePlace(kTitleDesign, false, 75);
  EXPECT_EQ(moved.left, 75);
  EXPECT_EQ(moved.right(), kTitleDesign.right());
}

TEST(MsgBoxCloseImage, HoverPressAndLeave) {
  CloseImageState state;
  EXPECT_EQ(state.Icon(), kIconCloseNormal);
  EXPECT_FALSE(state.MoveOverPanel());  // not hovered: nothing to clear
  EXPECT_TRUE(state.MoveOverImage());
  EXPECT_EQ(state.Icon(), kIconCloseHover);
  EXPECT_FALSE(state.MoveOverImage());
  EXPECT_TRUE(state.Press());
  EXPECT_EQ(state.Icon(), kIconClosePressed);
  EXPECT_TRUE(state.Release());
  EXPECT_EQ(state.Icon(), kIconCloseHover);
  EXPECT_TRUE(state.MoveOverPanel());
  EXPECT_EQ(state.Icon(), kIconCloseNormal);
  EXPECT_FALSE(state.Hovered());
}

}  // namespace
}  // namespace tarvix::msgbox
