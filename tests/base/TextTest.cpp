// The shared text and number readers: what every typed field and file line goes through.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/Number.h"
#include "base/Text.h"

namespace tarvix {
namespace {

TEST(Text, CaseInsensitiveOnlyForAsciiLetters) {
  EXPECT_TRUE(text::EqualsNoCase("Parameters\\Tcpip", "PARAMETERS\\tcpip"));
  EXPECT_FALSE(text::EqualsNoCase("\xC5sa", "\xE5sa"));  // Å and å in 1252 are not folded
  EXPECT_FALSE(text::EqualsNoCase("abc", "abcd"));
  EXPECT_TRUE(text::EndsWithNoCase("001.bck", ".BCK"));
  EXPECT_FALSE(text::EndsWithNoCase("BCK", ".BCK"));
  EXPECT_TRUE(text::StartsWithNoCase("HTTP://x", "http://"));
  EXPECT_TRUE(text::ContainsNoCase("MacromediaFlashPlayerActiveX", "flashplayer"));
  EXPECT_FALSE(text::ContainsNoCase("flash", "flashplayer"));
  EXPECT_TRUE(text::ContainsNoCase("anything", ""));
}

TEST(Text, TrimmingKeepsInnerBlanksAndStopsAtNonBlanks) {
  EXPECT_EQ(text::TrimBlanks(" \t a b \t"), "a b");
  EXPECT_EQ(text::TrimBlanks("\r\nx\r\n"), "\r\nx\r\n");  // line ends are not blanks in a field
  EXPECT_EQ(text::TrimSpace("\r\n\v x \f\r"), "x");
  EXPECT_EQ(text::TrimSpace("   "), "");
  EXPECT_FALSE(text::AllDigits(""));
  EXPECT_FALSE(text::AllDigits("12 "));
  EXPECT_TRUE(text::AllDigits("0012"));
}

TEST(Text, ParseWholeTakesTheWholeTextOrNothing) {
  EXPECT_EQ(text::ParseWhole<std::int64_t>("-2147483648"), -2147483648LL);
  EXPECT_EQ(text::ParseWhole<std::int64_t>("4294967295"), 4294967295LL);
  EXPECT_EQ(text::ParseWhole<std::int16_t>("32768"), std::nullopt);  // does not fit
  for (const char* refused : {"", "-", "+1", " 1", "1 ", "1.0", "0x10", "--1", "1e3"}) {
    EXPECT_EQ(text::ParseWhole<std::int64_t>(refused), std::nullopt) << refused;
  }
}

TEST(Number, LengthTakesOnlyACompleteExponent) {
  EXPECT_EQ(NumberLength("12.5e3xyz"), 6u);
  EXPECT_EQ(NumberLength("12e"), 2u);
  EXPECT_EQ(NumberLength("12e+"), 2u);
  EXPECT_EQ(NumberLength("-.5"), 3u);
  EXPECT_EQ(NumberLength("."), 0u);
  EXPECT_EQ(NumberLength("+"), 0u);
  EXPECT_EQ(NumberLength("abc"), 0u);
}

TEST(Number, ParseDecimalRefusesPartialAndInfiniteNumbers) {
  EXPECT_EQ(ParseDecimal("  1500 \t"), 1500.0);
  EXPECT_EQ(ParseDecimal("+2.5E1"), 25.0);
  EXPECT_EQ(ParseDecimal("1e-999"), 0.0);  // an underflow is a number, 0
  EXPECT_EQ(ParseDecimal("1e999"), std::nullopt);
  for (const char* refused : {"", " ", "1e", "1,5", "12abc", "0x1F", "inf", "nan", "1 2"}) {
    EXPECT_EQ(ParseDecimal(refused), std::nullopt) << refused;
  }
  EXPECT_TRUE(std::isinf(NumberValue("-1e999")));
}

TEST(Number, RoundHalfEvenRoundsTiesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0.0);
  EXPECT_EQ(RoundHalfEven(1.5), 2.0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2.0);
  EXPECT_EQ(RoundHalfEven(-0.5), 0.0);
  EXPECT_EQ(RoundHalfEven(4294967295.5), 4294967296.0);
}

}  // namespace
}  // namespace tarvix
