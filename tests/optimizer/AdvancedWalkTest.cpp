// The advanced editor without its window: numbers, validators, the receive
// window and the walk through the eight pages for every connection type.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "optimizer/AdvancedWalk.h"
#include "optimizer/NetworkParameters.h"

namespace tarvix::advanced {
namespace {

// A set that no page leaves alone by accident: every field differs from
// what the walk sets.
NetworkParameterSet Scribbled() {
  NetworkParameterSet set;
  set.MSS = 111;
  set.MTU = 222;
  set.RWIN = 333;
  set.TTL = 44;
  set.KeepAliveTime = 555;
  set.KeepAliveInterval = 666;
  set.SYN = 0;
  set.NDI = 32;
  set.MTUDiscovery = kVbFalse;
  set.BlackHole = kVbTrue;
  set.MSCPS0 = 7;
  set.MSCPS1 = 8;
  set.ICMP = kVbTrue;
  return set;
}

// Next until `page` is shown.
void WalkTo(AdvancedWalk& walk, int page) {
  while (walk.CurrentPage() < page) ASSERT_EQ(walk.Next(), NextResult::Moved);
}

// ------------------------------------------------------------------ numbers

TEST(Numbers, WhatCountsAsANumber) {
  for (const char* yes : {"12", " 12 ", "\t5", "-3.5", "+4", "1e3", "1E+3", "2.5e-1", ".5", "7.", "0", "-0",
                          "00012", "2147483648"}) {
    EXPECT_TRUE(IsNumber(yes)) << '"' << yes << '"';
  }
  for (const char* no : {"", " ", "abc", "12abc", "1e", "1e+", ".", "-", "+", "1 2", "0x10", "&H10", "1,000",
                         "inf", "nan", "1e999", "--1", "1..2", "e5"}) {
    EXPECT_FALSE(IsNumber(no)) << '"' << no << '"';
  }
}

TEST(Numbers, LeadingNumberReadsTheStartOfTheText) {
  EXPECT_EQ(LeadingNumber("12abc"), 12.0);
  EXPECT_EQ(LeadingNumber("abc"), 0.0);
  EXPECT_EQ(LeadingNumber(""), 0.0);
  EXPECT_EQ(LeadingNumber("  7.5x"), 7.5);
  EXPECT_EQ(LeadingNumber("1e3"), 1000.0);
  EXPECT_EQ(LeadingNumber("1e"), 1.0);
  EXPECT_EQ(LeadingNumber("-"), 0.0);
  EXPECT_EQ(LeadingNumber("-.25"), -0.25);
  EXPECT_EQ(LeadingNumber("1.5E+20"), 1.5e20);
}

TEST(Numbers, RoundingHalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundToLong(2.5), 2);
  EXPECT_EQ(RoundToLong(3.5), 4);
  EXPECT_EQ(RoundToLong(0.5), 0);
  EXPECT_EQ(RoundToLong(1.5), 2);
  EXPECT_EQ(RoundToLong(-2.5), -2);
  EXPECT_EQ(RoundToLong(-3.5), -4);
  EXPECT_EQ(RoundToLong(2.4999), 2);
  EXPECT_EQ(RoundToLong(2.5001), 3);
  EXPECT_EQ(RoundToLong(643.2), 643);
  EXPECT_EQ(RoundToLong(-0.4), 0);
  EXPECT_EQ(RoundToLong(2147483646.5), 2147483646);
  EXPECT_EQ(RoundToLong(1e12), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToLong(-1e12), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(RoundToLong(std::nan("")), 0);
}

TEST(Numbers, DecimalTextOfADouble) {
  EXPECT_EQ(NumberText(0.0), "0");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(2904.0), "2904");
  EXPECT_EQ(NumberText(536.0 * 0.3 * 4.0), "643.2");
  EXPECT_EQ(NumberText(0.1 * 3.0), "0.3");
  EXPECT_EQ(NumberText(256960.0), "256960");
  EXPECT_EQ(NumberText(-6432.0), "-6432");
  EXPECT_EQ(NumberText(0.001), "0.001");
  EXPECT_EQ(NumberText(0.5), "0.5");
  EXPECT_EQ(NumberText(1073741824.0), "1073741824");
  EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
  EXPECT_EQ(NumberText(1e15), "1E+15");
  EXPECT_EQ(NumberText(1.5e20), "1.5E+20");
  EXPECT_EQ(NumberText(1e-5), "1E-05");
  EXPECT_EQ(NumberText(2.0 / 3.0), "0.666666666666667");
}

TEST(Numbers, WindowProductUsesTheNumbersOfTheTexts) {
  EXPECT_EQ(WindowProduct(536, "3", "4"), "6432");
  EXPECT_EQ(WindowProduct(1452, "44", "4"), "255552");
  EXPECT_EQ(WindowProduct(1460, "0.5", "4"), "2920");
  EXPECT_EQ(WindowProduct(536, "abc", "4"), "0");
}

// --------------------------------------------------------------- validators

struct Bounds {
  Box box;
  std::int32_t NetworkParameterSet::*field;
  const char* lowest;
  const char* belowLowest;
  const char* highest;
  const char* aboveHighest;
};

// Every validated box, its field and the edges of its range (TTL 1 to 255, D4.8).
constexpr Bounds kBounds[] = {
    {Box::MTU, &NetworkParameterSet::MTU, "0", "-1", "2147483647", "2147483648"},
    {Box::MSS, &NetworkParameterSet::MSS, "0", "-0.5", "2147483647", "2147483647.5"},
    {Box::TTL, &NetworkParameterSet::TTL, "1", "0", "255", "256"},
    {Box::HTTP10, &NetworkParameterSet::MSCPS0, "4", "3", "2147483647", "1e10"},
    {Box::HTTP11, &NetworkParameterSet::MSCPS1, "2", "1", "2147483647", "2147483648"},
    {Box::KeepAliveTime, &NetworkParameterSet::KeepAliveTime, "0", "-1", "2147483647", "2147483648"},
    {Box::KeepAliveInterval, &NetworkParameterSet::KeepAliveInterval, "0", "-1", "2147483647", "9999999999"},
};

TEST(Validators, RulesCoverExactlyTheEditableNumberBoxes) {
  for (const Bounds& bounds : kBounds) {
    const RangeRule* rule = RangeRuleFor(bounds.box);
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->field, bounds.field);
  }
  for (const Box box : {Box::MSSRWIN, Box::Multiplier, Box::ScaleFactor, Box::RWIN, Box::SYN}) {
    EXPECT_EQ(RangeRuleFor(box), nullptr);
  }
  const RangeRule* ttl = RangeRuleFor(Box::TTL);
  EXPECT_EQ(ttl->lowest, 1.0);
  EXPECT_EQ(ttl->highest, 255.0);
}

TEST(Validators, EdgesStayOutsideRevertsToTheFieldAndTypingNeverChangesTheField) {
  for (const Bounds& bounds : kBounds) {
    SCOPED_TRACE(static_cast<int>(bounds.box));
    NetworkParameterSet set{};
    AdvancedWalk walk(set, 0);
    set.*bounds.field = 100;  // the value the box falls back to
    const NetworkParameterSet before = set;
    const auto typed = [&](const char* text) {
      walk.TextChanged(bounds.box, "17");  // a start that differs from every case below
      walk.TextChanged(bounds.box, text);
      return walk.Text(bounds.box);
    };
    EXPECT_EQ(typed(bounds.lowest), bounds.lowest);
    EXPECT_EQ(typed(bounds.highest), bounds.highest);
    EXPECT_EQ(typed(bounds.belowLowest), "100");
    EXPECT_EQ(typed(bounds.aboveHighest), "100");
    EXPECT_EQ(typed("abc"), "100");
    EXPECT_EQ(typed(""), "100");
    EXPECT_EQ(typed("12abc"), "100");
    EXPECT_EQ(typed("1,5"), "100");
    EXPECT_EQ(typed(" 50 "), " 50 ");
    EXPECT_EQ(typed("50.5"), "50.5");  // fractions inside the range stay; Finish rounds them
    EXPECT_EQ(typed("1e2"), "1e2");
    EXPECT_EQ(set, before);
  }
}

TEST(Validators, TheExamplesOfThePart) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  WalkTo(walk, 4);
  ASSERT_EQ(set.TTL, 64);
  walk.TextChanged(Box::TTL, "255");
  EXPECT_EQ(walk.Text(Box::TTL), "255");
  walk.TextChanged(Box::TTL, "256");  // D4.8: no longer accepted
  EXPECT_EQ(walk.Text(Box::TTL), "64");
  walk.TextChanged(Box::TTL, "257");
  EXPECT_EQ(walk.Text(Box::TTL), "64");
  walk.TextChanged(Box::TTL, "0");
  EXPECT_EQ(walk.Text(Box::TTL), "64");
  walk.TextChanged(Box::TTL, "abc");
  EXPECT_EQ(walk.Text(Box::TTL), "64");
  walk.TextChanged(Box::HTTP10, "3");
  EXPECT_EQ(walk.Text(Box::HTTP10), "20");
  walk.TextChanged(Box::HTTP11, "2");
  EXPECT_EQ(walk.Text(Box::HTTP11), "2");
}

TEST(Validators, AFieldOutsideTheRangeFallsBackToTheNearestEdge) {
  NetworkParameterSet set{};
  set.MSCPS0 = 2;  // "Windows default" holds 2, below the box's lowest 4
  set.TTL = 0;
  const RangeRule& http10 = *RangeRuleFor(Box::HTTP10);
  const RangeRule& ttl = *RangeRuleFor(Box::TTL);
  EXPECT_EQ(RangeCorrection(http10, "x", set).value_or(""), "4");
  EXPECT_EQ(RangeCorrection(ttl, "999", set).value_or(""), "1");
  EXPECT_FALSE(RangeCorrection(ttl, "9", set).has_value());
}

// ----------------------------------------------------------------- the walk

TEST(Walk, LoadStartsOnPageZeroWithTheInitialTexts) {
  NetworkParameterSet set = Scribbled();
  const AdvancedWalk walk(set, 0);
  EXPECT_EQ(walk.CurrentPage(), 0);
  EXPECT_EQ(walk.VisiblePage(), 0);
  EXPECT_FALSE(walk.BackEnabled());
  EXPECT_TRUE(walk.NextEnabled());
  EXPECT_EQ(walk.NextCaption(), "Next>>");
  EXPECT_EQ(walk.ConnectionTypeIndex(), 0);
  EXPECT_EQ(walk.Text(Box::MTU), "576");
  EXPECT_EQ(walk.Text(Box::MSS), "536");
  EXPECT_EQ(walk.Text(Box::ScaleFactor), "4");
  EXPECT_EQ(walk.Text(Box::TTL), "64");
  EXPECT_EQ(walk.Text(Box::HTTP10), "20");
  EXPECT_EQ(walk.Text(Box::HTTP11), "20");
  EXPECT_EQ(walk.Text(Box::KeepAliveTime), "7200000");
  EXPECT_EQ(walk.Text(Box::KeepAliveInterval), "1000");
  EXPECT_EQ(walk.Text(Box::SYN), "2");
  EXPECT_EQ(walk.NdiIndex(), 0);
  for (const Check check : {Check::BlackHole, Check::MTUDiscovery, Check::ICMP}) EXPECT_FALSE(walk.Checked(check));
  // Selecting the first NDI item is the only field that loading sets.
  NetworkParameterSet expected = Scribbled();
  expected.NDI = 0;
  EXPECT_EQ(set, expected);
}

TEST(Walk, AKeptConnectionTypeIsChosenAndABadOneIsDialUp) {
  NetworkParameterSet set{};
  EXPECT_EQ(AdvancedWalk(set, 2).ConnectionTypeIndex(), 2);
  EXPECT_EQ(AdvancedWalk(set, 4).ConnectionTypeIndex(), 0);
  EXPECT_EQ(AdvancedWalk(set, -1).ConnectionTypeIndex(), 0);
  AdvancedWalk walk(set, 1);
  walk.ChooseConnectionType(9);
  EXPECT_EQ(walk.ConnectionTypeIndex(), 1);
  walk.ChooseConnectionType(3);
  EXPECT_EQ(walk.ConnectionTypeIndex(), 3);
}

struct TypeCase {
  int type;
  const char* mtu;
  const char* mtuLabel;
  const char* mss;
  const char* mssLabel;
  const char* multiplier;
  const char* rwin;
  const char* rwinLabel;
};

constexpr TypeCase kTypeCases[] = {
    {0, "576", "576 Byte", "536", "536 Byte", "3", "6432", "6432Bytes"},
    {1, "1500", "1500 Byte", "1460", "1460 Byte", "44", "256960", "256960Bytes"},
    {2, "1492", "1492 Byte", "1452", "1452Byte", "44", "255552", "255552Bytes"},
    {3, "1500", "1500 Byte", "1460", "1460 Byte", "44", "256960", "256960Bytes"},
};

TEST(Walk, EveryConnectionTypeFromPageZeroToFinish) {
  for (const TypeCase& c : kTypeCases) {
    SCOPED_TRACE(kConnectionTypes[static_cast<std::size_t>(c.type)].caption);
    NetworkParameterSet set = Scribbled();
    AdvancedWalk walk(set, 0);
    walk.ChooseConnectionType(c.type);

    ASSERT_EQ(walk.Next(), NextResult::Moved);
    EXPECT_EQ(walk.CurrentPage(), 1);
    EXPECT_EQ(walk.VisiblePage(), 1);
    EXPECT_TRUE(walk.BackEnabled());
    EXPECT_EQ(walk.Text(Box::MTU), c.mtu);
    EXPECT_EQ(walk.Text(Box::MSS), c.mss);
    EXPECT_EQ(walk.MtuRecommendation(), c.mtuLabel);
    EXPECT_EQ(walk.MssRecommendation(), c.mssLabel);
    EXPECT_EQ(std::to_string(set.MTU), c.mtu);
    EXPECT_EQ(std::to_string(set.MSS), c.mss);

    ASSERT_EQ(walk.Next(), NextResult::Moved);
    EXPECT_EQ(set.MTUDiscovery, kVbTrue);
    EXPECT_EQ(set.BlackHole, kVbFalse);

    ASSERT_EQ(walk.Next(), NextResult::Moved);
    EXPECT_EQ(walk.Text(Box::MSSRWIN), c.mss);
    EXPECT_EQ(walk.Text(Box::Multiplier), c.multiplier);
    EXPECT_EQ(walk.Text(Box::ScaleFactor), "4");
    EXPECT_EQ(walk.Text(Box::RWIN), c.rwin);
    EXPECT_EQ(walk.RwinRecommendation(), c.rwinLabel);
    EXPECT_EQ(std::to_string(set.RWIN), c.rwin);

    ASSERT_EQ(walk.Next(), NextResult::Moved);
    EXPECT_EQ(set.TTL, 64);
    EXPECT_EQ(set.MSCPS0, 20);
    EXPECT_EQ(set.MSCPS1, 20);

    ASSERT_EQ(walk.Next(), NextResult::Moved);
    EXPECT_EQ(set.KeepAliveTime, 7200000);
    EXPECT_EQ(set.KeepAliveInterval, 1000);

    ASSERT_EQ(walk.Next(), NextResult::Moved);
    EXPECT_EQ(set.SYN, 2);
    EXPECT_EQ(set.NDI, 0);
    EXPECT_EQ(walk.NextCaption(), "Next>>");

    ASSERT_EQ(walk.Next(), NextResult::Moved);
    EXPECT_EQ(walk.CurrentPage(), 7);
    EXPECT_EQ(set.ICMP, kVbFalse);
    EXPECT_EQ(walk.NextCaption(), "Finish");

    ASSERT_EQ(walk.Next(), NextResult::Finished);
    EXPECT_EQ(walk.CurrentPage(), 8);
    EXPECT_EQ(walk.VisiblePage(), 7);
    EXPECT_FALSE(walk.NextEnabled());
    EXPECT_TRUE(walk.BackEnabled());
    EXPECT_EQ(walk.Next(), NextResult::Ignored);
    EXPECT_EQ(walk.CurrentPage(), 8);

    NetworkParameterSet expected;
    expected.MTU = std::stoi(c.mtu);
    expected.MSS = std::stoi(c.mss);
    expected.RWIN = std::stoi(c.rwin);
    expected.TTL = 64;
    expected.KeepAliveTime = 7200000;
    expected.KeepAliveInterval = 1000;
    expected.SYN = 2;
    expected.NDI = 0;
    expected.MTUDiscovery = kVbTrue;
    expected.BlackHole = kVbFalse;
    expected.MSCPS0 = 20;
    expected.MSCPS1 = 20;
    expected.ICMP = kVbFalse;
    EXPECT_EQ(set, expected);
  }
}

TEST(Walk, TypedMssIsStoredButTheWindowComesFromTheMssOfPageOne) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  WalkTo(walk, 1);
  walk.TextChanged(Box::MSS, "1400");
  EXPECT_EQ(walk.Text(Box::MSS), "1400");
  EXPECT_EQ(set.MSS, 536);
  WalkTo(walk, 3);
  EXPECT_EQ(walk.Text(Box::MSSRWIN), "536");
  EXPECT_EQ(walk.Text(Box::RWIN), "6432");
  EXPECT_EQ(walk.RwinRecommendation(), "6432Bytes");
  WalkTo(walk, 7);
  ASSERT_EQ(walk.Next(), NextResult::Finished);
  EXPECT_EQ(set.MSS, 1400);
  EXPECT_EQ(set.RWIN, 6432);
  EXPECT_EQ(set.MTU, 576);
}

TEST(Walk, BlackHoleCheckedThenBackAndNextIsFalseAgainWhileTheBoxStaysChecked) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 1);
  WalkTo(walk, 2);
  walk.CheckChanged(Check::BlackHole, true);
  EXPECT_EQ(set.BlackHole, kVbTrue);
  walk.Back();
  EXPECT_EQ(walk.CurrentPage(), 1);
  ASSERT_EQ(walk.Next(), NextResult::Moved);
  EXPECT_EQ(walk.CurrentPage(), 2);
  EXPECT_EQ(set.BlackHole, kVbFalse);
  EXPECT_TRUE(walk.Checked(Check::BlackHole));
  // Changed after entering the page, the box's value is what Finish applies.
  walk.CheckChanged(Check::BlackHole, false);
  walk.CheckChanged(Check::BlackHole, true);
  WalkTo(walk, 7);
  ASSERT_EQ(walk.Next(), NextResult::Finished);
  EXPECT_EQ(set.BlackHole, kVbTrue);
}

TEST(Walk, TheDiscoveryBoxAsksWhetherToDisable) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  WalkTo(walk, 2);
  EXPECT_EQ(set.MTUDiscovery, kVbTrue);
  walk.CheckChanged(Check::MTUDiscovery, true);
  EXPECT_EQ(set.MTUDiscovery, kVbFalse);
  walk.CheckChanged(Check::MTUDiscovery, false);
  EXPECT_EQ(set.MTUDiscovery, kVbTrue);
  walk.CheckChanged(Check::MTUDiscovery, true);
  WalkTo(walk, 7);
  walk.CheckChanged(Check::ICMP, true);
  EXPECT_EQ(set.ICMP, kVbTrue);
  ASSERT_EQ(walk.Next(), NextResult::Finished);
  EXPECT_EQ(set.MTUDiscovery, kVbFalse);
  EXPECT_EQ(set.ICMP, kVbTrue);
}

TEST(Walk, BackFromPageSevenAndNextAgainShowsFinishAgain) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  WalkTo(walk, 7);
  EXPECT_EQ(walk.NextCaption(), "Finish");
  walk.Back();
  EXPECT_EQ(walk.CurrentPage(), 6);
  EXPECT_EQ(walk.VisiblePage(), 6);
  EXPECT_EQ(walk.NextCaption(), "Next>>");
  EXPECT_TRUE(walk.NextEnabled());
  ASSERT_EQ(walk.Next(), NextResult::Moved);
  EXPECT_EQ(walk.CurrentPage(), 7);
  EXPECT_EQ(walk.NextCaption(), "Finish");
}

TEST(Walk, BackAfterFinishReenablesNextWhichFinishesAgain) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 3);
  WalkTo(walk, 7);
  ASSERT_EQ(walk.Next(), NextResult::Finished);
  ASSERT_FALSE(walk.NextEnabled());
  walk.Back();
  EXPECT_EQ(walk.CurrentPage(), 7);
  EXPECT_EQ(walk.VisiblePage(), 7);
  EXPECT_TRUE(walk.NextEnabled());
  // As the Part walks it: "Next>>" on page 7 after Back, and Next finishes.
  EXPECT_EQ(walk.NextCaption(), "Next>>");
  EXPECT_EQ(walk.Next(), NextResult::Finished);
  EXPECT_EQ(walk.CurrentPage(), 8);
  EXPECT_FALSE(walk.NextEnabled());
}

TEST(Walk, BackToPageZeroDisablesBackAndSetsNoValues) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  WalkTo(walk, 5);
  const NetworkParameterSet before = set;
  for (int page = 4; page >= 0; --page) {
    walk.Back();
    EXPECT_EQ(walk.CurrentPage(), page);
    EXPECT_EQ(walk.VisiblePage(), page);
    EXPECT_EQ(walk.BackEnabled(), page > 0);
  }
  EXPECT_EQ(set, before);
  walk.Back();  // disabled: nothing happens
  EXPECT_EQ(walk.CurrentPage(), 0);
}

TEST(Walk, EnteringPageOneAgainResetsItsBoxesToTheChosenType) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  WalkTo(walk, 1);
  walk.TextChanged(Box::MTU, "1400");
  walk.Back();
  walk.ChooseConnectionType(2);
  ASSERT_EQ(walk.Next(), NextResult::Moved);
  EXPECT_EQ(walk.Text(Box::MTU), "1492");
  EXPECT_EQ(walk.Text(Box::MSS), "1452");
  EXPECT_EQ(set.MTU, 1492);
}

TEST(Walk, PagesFourAndFiveSetFieldsButLeaveTheBoxesForFinish) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  WalkTo(walk, 4);
  walk.TextChanged(Box::TTL, "100");
  walk.TextChanged(Box::HTTP10, "8");
  walk.Back();
  set.TTL = 5;
  ASSERT_EQ(walk.Next(), NextResult::Moved);
  EXPECT_EQ(set.TTL, 64);
  EXPECT_EQ(walk.Text(Box::TTL), "100");
  ASSERT_EQ(walk.Next(), NextResult::Moved);
  walk.TextChanged(Box::KeepAliveTime, "300000");
  WalkTo(walk, 7);
  ASSERT_EQ(walk.Next(), NextResult::Finished);
  EXPECT_EQ(set.TTL, 100);
  EXPECT_EQ(set.MSCPS0, 8);
  EXPECT_EQ(set.KeepAliveTime, 300000);
}

TEST(Walk, FinishRoundsHalvesToEven) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 1);
  WalkTo(walk, 1);
  walk.TextChanged(Box::MTU, "1499.5");
  walk.TextChanged(Box::MSS, "1458.5");
  WalkTo(walk, 4);
  walk.TextChanged(Box::TTL, "64.5");
  walk.TextChanged(Box::HTTP10, "4.5");
  walk.TextChanged(Box::HTTP11, "5.5");
  WalkTo(walk, 5);
  walk.TextChanged(Box::KeepAliveTime, "1000.5");
  walk.TextChanged(Box::KeepAliveInterval, "2.51");
  WalkTo(walk, 7);
  ASSERT_EQ(walk.Next(), NextResult::Finished);
  EXPECT_EQ(set.MTU, 1500);
  EXPECT_EQ(set.MSS, 1458);
  EXPECT_EQ(set.TTL, 64);
  EXPECT_EQ(set.MSCPS0, 4);
  EXPECT_EQ(set.MSCPS1, 6);
  EXPECT_EQ(set.KeepAliveTime, 1000);
  EXPECT_EQ(set.KeepAliveInterval, 3);
}

TEST(Walk, MultiplierRules) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  WalkTo(walk, 3);
  const auto typed = [&](const char* text) {
    walk.TextChanged(Box::Multiplier, text);
    return walk.Text(Box::Multiplier) + " " + walk.Text(Box::RWIN);
  };
  EXPECT_EQ(typed("0.5"), "0.5 1072");  // RWIN = 2 x MSS stays
  EXPECT_EQ(typed("0"), "3 6432");      // below the MSS
  EXPECT_EQ(typed("-2"), "3 6432");
  EXPECT_EQ(typed("0.3"), "0.3 643.2");  // fraction digits shown
  EXPECT_EQ(typed("0.25"), "0.25 536");  // equal to the MSS stays
  EXPECT_EQ(typed("0.2"), "3 6432");     // 428.8 is below it
  EXPECT_EQ(typed("abc"), "3 6432");
  EXPECT_EQ(typed("10"), "10 21440");
  EXPECT_EQ(typed(""), "3 6432");
  EXPECT_EQ(typed("500823"), "3 6432");  // 1073764512, just above 1073741823
  EXPECT_EQ(typed("500812"), "500812 1073740928");  // just below stays
  // Typing changes neither RWIN nor its label; Finish reads the box.
  EXPECT_EQ(set.RWIN, 6432);
  EXPECT_EQ(walk.RwinRecommendation(), "6432Bytes");
  EXPECT_EQ(typed("0.3"), "0.3 643.2");
  WalkTo(walk, 7);
  ASSERT_EQ(walk.Next(), NextResult::Finished);
  EXPECT_EQ(set.RWIN, 643);
}

TEST(Walk, MultiplierOfCableFallsBackToFortyFour) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 1);
  WalkTo(walk, 3);
  walk.TextChanged(Box::Multiplier, "183860");  // 1460 x 183860 x 4 > 1073741823
  EXPECT_EQ(walk.Text(Box::Multiplier), "44");
  EXPECT_EQ(walk.Text(Box::RWIN), "256960");
  walk.TextChanged(Box::Multiplier, "183859");
  EXPECT_EQ(walk.Text(Box::RWIN), "1073736560");
  // Entering page 3 again: the type's multiplier and its window.
  walk.Back();
  ASSERT_EQ(walk.Next(), NextResult::Moved);
  EXPECT_EQ(walk.Text(Box::Multiplier), "44");
  EXPECT_EQ(walk.Text(Box::RWIN), "256960");
}

TEST(Walk, SynFollowsItsBoxAndPageSixResetsTheFieldOnly) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  WalkTo(walk, 6);
  walk.TextChanged(Box::SYN, "1");
  EXPECT_EQ(set.SYN, 1);
  walk.TextChanged(Box::SYN, "0");
  EXPECT_EQ(set.SYN, 0);
  walk.SelectNdi(4);
  EXPECT_EQ(set.NDI, 16);
  walk.SelectNdi(7);  // no such item
  EXPECT_EQ(set.NDI, 16);
  EXPECT_EQ(walk.NdiIndex(), 4);
  walk.Back();
  ASSERT_EQ(walk.Next(), NextResult::Moved);
  EXPECT_EQ(set.SYN, 2);
  EXPECT_EQ(set.NDI, 0);
  EXPECT_EQ(walk.Text(Box::SYN), "0");
  EXPECT_EQ(walk.NdiIndex(), 4);
  walk.TextChanged(Box::SYN, "1");
  walk.SelectNdi(5);
  WalkTo(walk, 7);
  ASSERT_EQ(walk.Next(), NextResult::Finished);
  EXPECT_EQ(set.SYN, 1);
  EXPECT_EQ(set.NDI, 32);
}

TEST(Walk, AFailedApplyReturnsToPageSevenWithFinish) {
  NetworkParameterSet set{};
  AdvancedWalk walk(set, 0);
  walk.FinishFailed();  // not finished: nothing happens
  EXPECT_EQ(walk.CurrentPage(), 0);
  WalkTo(walk, 7);
  ASSERT_EQ(walk.Next(), NextResult::Finished);
  walk.FinishFailed();
  EXPECT_EQ(walk.CurrentPage(), 7);
  EXPECT_EQ(walk.VisiblePage(), 7);
  EXPECT_TRUE(walk.NextEnabled());
  EXPECT_EQ(walk.NextCaption(), "Finish");
  EXPECT_EQ(walk.Next(), NextResult::Finished);
}

TEST(Tables, CaptionsAndTypes) {
  EXPECT_EQ(kPageCaptions[0], "Step 1 of 8 : Connection type");
  EXPECT_EQ(kPageCaptions[4], "Step 5 of 8 : TTL && IE Optimization");
  EXPECT_EQ(kPageCaptions[5], "Step 6 of 8 :  Keep Alive Settigns");
  EXPECT_EQ(kPageCaptions[6], "Step 7 of 8 :  SYN Flood Attack Settings && NDI Cache");
  EXPECT_EQ(kPageCaptions[7], "Step 8 of 8 : ICMP Redirect Attack Setting");
  EXPECT_EQ(kConnectionTypes[2].caption, "Digital  Subscriber Line (DSL).");
  EXPECT_EQ(kConnectionTypes[2].mssLabel, "1452Byte");
  EXPECT_EQ(kConnectionTypes[0].multiplier, 3);
  EXPECT_EQ(kConnectionTypes[3].multiplier, 44);
}

}  // namespace
}  // namespace tarvix::advanced
