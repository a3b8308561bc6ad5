#include "ui/TrayLogic.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tarvix {
namespace {

TEST(TrayTextTest, TipFieldIsPaddedWithOneBlankEachSideOrEmpty) {
  EXPECT_EQ(TrayTipField(""), "");
  EXPECT_EQ(TrayTipField("Free: 512 MB"), " Free: 512 MB ");
}

TEST(TrayTextTest, TipFieldIsCutTo127CharactersWithTheLeadingBlank) {
  const std::string tip(200, 'x');
  const std::string field = TrayTipField(tip);
  ASSERT_EQ(field.size(), 127u);
  EXPECT_EQ(field, " " + std::string(126, 'x'));
  // 125 characters still fit with both blanks; one more loses the trailing blank.
  EXPECT_EQ(TrayTipField(std::string(125, 'y')), " " + std::string(125, 'y') + " ");
  EXPECT_EQ(TrayTipField(std::string(126, 'y')), " " + std::string(126, 'y'));
}

TEST(TrayTextTest, BalloonTextAndTitleAreCutToTheirFields) {
  EXPECT_EQ(TrayBalloonText(std::string(300, 'b')), std::string(255, 'b'));
  EXPECT_EQ(TrayBalloonText("short"), "short");
  // The title is the plain tip text, not the padded field.
  EXPECT_EQ(TrayBalloonTitle("Program notification"), "Program notification");
  EXPECT_EQ(TrayBalloonTitle(std::string(100, 't')), std::string(63, 't'));
  EXPECT_EQ(TrayBalloonTitle(""), "");
}

TEST(TrayEventModeTest, OutOfRangeValuesArePulledToZeroOrOne) {
  EXPECT_EQ(ClampTrayEventMode(5), 1);
  EXPECT_EQ(ClampTrayEventMode(-3), 0);
  EXPECT_EQ(ClampTrayEventMode(0), 0);
  EXPECT_EQ(ClampTrayEventMode(1), 1);
  EXPECT_EQ(ClampTrayEventMode(INT32_MIN), 0);
  EXPECT_EQ(ClampTrayEventMode(INT32_MAX), 1);
}

TEST(TrayClickFilterTest, ADoubleClickRaisesOneEventUntilTheHoldEnds) {
  TrayClickFilter filter;
  const TrayEventCall first = filter.Decode(0x201, 0);
  EXPECT_EQ(first.event, TrayEvent::LeftClick);
  EXPECT_TRUE(filter.ClickPending());
  // The rest of a double click: up, double-click, up, and another down.
  for (std::uint64_t message : {0x202u, 0x203u, 0x202u, 0x201u, 0x204u})
    EXPECT_FALSE(filter.Decode(message, 0).raised()) << message;
  filter.Tick();
  EXPECT_FALSE(filter.ClickPending());
  EXPECT_EQ(filter.Decode(0x204, 0).event, TrayEvent::RightClick);
}

TEST(TrayClickFilterTest, MovesButtonUpsDoubleClicksAndMiddleButtonNeverArm) {
  TrayClickFilter filter;
  for (std::uint64_t message : {0x200u, 0x202u, 0x203u, 0x205u, 0x206u, 0x207u, 0x208u, 0x209u, 0x0u, 0x1Fu}) {
    EXPECT_FALSE(filter.Decode(message, 0).raised()) << message;
    EXPECT_FALSE(filter.ClickPending()) << message;
  }
}

TEST(TrayClickFilterTest, OnlyTheLow16BitsOfLParamNameTheMessage) {
  TrayClickFilter filter;
  EXPECT_EQ(filter.Decode(0xFFFF'0000'0001'0201ull, 0).event, TrayEvent::LeftClick);
  filter.Tick();
  // A press number in the high word (where newer shells put the icon id) is no press.
  EXPECT_FALSE(filter.Decode(0x0201'0000ull, 0).raised());
}

TEST(TrayClickFilterTest, EventModeOneRaisesMouseClickWithTheButtonCode) {
  TrayClickFilter filter;
  const TrayEventCall left = filter.Decode(0x201, 1);
  EXPECT_EQ(left.event, TrayEvent::MouseClick);
  EXPECT_EQ(left.button, 1);
  filter.Tick();
  const TrayEventCall right = filter.Decode(0x204, 1);
  EXPECT_EQ(right.event, TrayEvent::MouseClick);
  EXPECT_EQ(right.button, 2);
}

TEST(TrayShowPlanTest, AddThenModifyAndDeleteOnlyWhenVisible) {
  EXPECT_EQ(PlanTrayShow(false, true), TrayShellStep::Add);
  EXPECT_EQ(PlanTrayShow(true, true), TrayShellStep::Modify);
  EXPECT_EQ(PlanTrayShow(true, false), TrayShellStep::Delete);
  EXPECT_EQ(PlanTrayShow(false, false), TrayShellStep::None);
}

TEST(TrayPropertiesTest, DefaultsAreStoredAsNothingAndChangesInKeyOrder) {
  TrayProperties properties;
  EXPECT_EQ(properties.toolTip, "Program notification");
  EXPECT_EQ(properties.balloonTip, "The Program Still Running Here");
  EXPECT_EQ(properties.eventMode, 0);
  EXPECT_TRUE(TrayValuesToStore(properties).empty());

  properties.balloonTip = "Still here";
  properties.eventMode = 1;
  properties.toolTip = "";
  const auto values = TrayValuesToStore(properties);
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].first, "TrayToolTip");
  EXPECT_EQ(values[0].second, "");
  EXPECT_EQ(values[1].first, "EventMode");
  EXPECT_EQ(values[1].second, "1");
  EXPECT_EQ(values[2].first, "BalloonTip");
  EXPECT_EQ(values[2].second, "Still here");
}

TEST(TrayPropertiesTest, StoredValuesComeBackAndMissingOnesGiveTheDefaults) {
  std::map<std::string, std::string, std::less<>> store;
  const auto lookup = [&](std::string_view key) -> std::optional<std::string> {
    const auto found = store.find(key);
    if (found == store.end()) return std::nullopt;
    return found->second;
  };
  const TrayProperties defaults = TrayPropertiesFromStore(lookup);
  EXPECT_EQ(defaults.toolTip, "Program notification");
  EXPECT_EQ(defaults.balloonTip, "The Program Still Running Here");
  EXPECT_EQ(defaults.eventMode, 0);

  TrayProperties changed;
  changed.toolTip = "";
  changed.eventMode = 1;
  for (const auto& [key, value] : TrayValuesToStore(changed)) store[std::string(key)] = value;
  const TrayProperties back = TrayPropertiesFromStore(lookup);
  EXPECT_EQ(back.toolTip, "");
  EXPECT_EQ(back.eventMode, 1);
  EXPECT_EQ(back.balloonTip, "The Program Still Running Here");
}

TEST(TrayPropertiesTest, AStoredEventModeIsReadAsANumberAndPulledIntoRange) {
  const auto modeFrom = [](std::string text) {
    return TrayPropertiesFromStore([&](std::string_view key) -> std::optional<std::string> {
             if (key == "EventMode") return text;
             return std::nullopt;
           })
        .eventMode;
  };
  EXPECT_EQ(modeFrom("1"), 1);
  EXPECT_EQ(modeFrom("5"), 1);
  EXPECT_EQ(modeFrom("-3"), 0);
  EXPECT_EQ(modeFrom("4294967297"), 1) << "not cut to 32 bits first";
  EXPECT_EQ(modeFrom("99999999999999999999999"), 1);
  EXPECT_EQ(modeFrom("-99999999999999999999999"), 0);
  EXPECT_EQ(modeFrom("one"), 0);
  EXPECT_EQ(modeFrom("1x"), 0);
  EXPECT_EQ(modeFrom(""), 0);
}

}  // namespace
}  // namespace tarvix
