#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "base/Text.h"
#include "pinger/HostAddress.h"

namespace tarvix {
namespace {

std::array<std::uint8_t, 4> MemoryBytes(std::uint32_t address) {
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &address, sizeof(address));
  return bytes;
}

TEST(HostAddress, NumbersArePlainDecimalDigitsOfAnyLength) {
  for (const char* text : {"0", "007", "255", "99999999999999999999999"}) {
    EXPECT_TRUE(text::AllDigits(text)) << text;
  }
  for (const char* text : {"", "+1", "-1", " 1", "1 ", "1e3", "0x1", "&H10", "1.0", "3abc", "1,2"}) {
    EXPECT_FALSE(text::AllDigits(text)) << text;
  }
}

TEST(HostAddress, PartOneIsFirstInMemory) {
  const auto address = ParseDottedParts("10.0.0.1");
  ASSERT_TRUE(address);
  EXPECT_EQ(*address, 0x0100000Au);
  EXPECT_EQ(MemoryBytes(*address), (std::array<std::uint8_t, 4>{10, 0, 0, 1}));
  EXPECT_EQ(MemoryBytes(*ParseDottedParts("192.168.1.254")),
            (std::array<std::uint8_t, 4>{192, 168, 1, 254}));
}

TEST(HostAddress, EachPartKeepsItsLastTwoHexDigits) {
  // 300 is 0x12C: 0x2C is 44.
  EXPECT_EQ(MemoryBytes(*ParseDottedParts("300.256.511.0")),
            (std::array<std::uint8_t, 4>{44, 0, 255, 0}));
  // Longer than any integer type: still exact, 2^32 + 1 ends in 0x01.
  EXPECT_EQ(MemoryBytes(*ParseDottedParts("4294967297.0.0.00000000000000000000002")),
            (std::array<std::uint8_t, 4>{1, 0, 0, 2}));
}

TEST(HostAddress, FewerThanFourPartsGiveAddressZero) {
  EXPECT_EQ(ParseDottedParts("1.2.3"), 0u);
  EXPECT_EQ(ParseDottedParts("123.word"), 0u);  // parts are only read when there are four
  EXPECT_EQ(ParseDottedParts("1."), 0u);
  EXPECT_EQ(ParseDottedParts("nodots"), 0u);
}

TEST(HostAddress, FifthPartOrNonNumberPartIsAnError) {
  for (const char* text : {"1.2.3.4.5", "1.2.3.4.", "1..3.4", ".1.2.3", "1.2.3.x", "1.2.3. 4",
                           " 1.2.3.4", "1.2.3.-4", "1.2.3.0x4", "a.b.c.d.e.f"}) {
    EXPECT_FALSE(ParseDottedParts(text).has_value()) << text;
  }
}

TEST(HostAddress, NamesAreTextsWhoseFirstPartIsNotANumber) {
  EXPECT_TRUE(IsDottedName("3abc.invalid"));
  EXPECT_TRUE(IsDottedName("host.example"));
  EXPECT_TRUE(IsDottedName(".leading"));
  EXPECT_FALSE(IsDottedName("123.word"));
  EXPECT_FALSE(IsDottedName("10.0.0.1"));
  EXPECT_FALSE(IsDottedName("localhost"));  // no dot: the address parser looks it up
}

TEST(HostAddress, TrimsBlanksAndFormatsLookedUpBytes) {
  EXPECT_EQ(text::TrimBlanks(" \t host.example \t "), "host.example");
  EXPECT_EQ(text::TrimBlanks(" \t  "), "");
  EXPECT_EQ(FormatAddressBytes(std::array<std::uint8_t, 4>{127, 0, 0, 1}), "127.0.0.1");
  EXPECT_EQ(FormatAddressBytes(std::array<std::uint8_t, 4>{255, 0, 10, 200}), "255.0.10.200");
  EXPECT_EQ(FormatAddressBytes({}), "");
}

}  // namespace
}  // namespace tarvix
