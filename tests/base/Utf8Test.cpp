// The one conversion between the program's UTF-8 texts and the wide calls.
#include <gtest/gtest.h>

#include <string>

#include "base/Utf8.h"

namespace tarvix {
namespace {

// Cyrillic, Chinese and Nordic letters, and one character beyond the basic
// plane (a surrogate pair in UTF-16), each as UTF-8 and as UTF-16.
struct Sample {
  const char* utf8;
  const wchar_t* wide;
};
constexpr Sample kSamples[] = {
    {"C:\\Users\\\xC3\x85sa\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B\\Tarvix "
     "\xE6\xB5\x8B\xE8\xAF\x95",
     L"C:\\Users\\\u00C5sa\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\Tarvix \u6D4B\u8BD5"},
    {"\xC3\x86\xC3\x98\xC3\x85 \xC3\xA6\xC3\xB8\xC3\xA5 \xC3\x84\xC3\x96 \xC3\xBE\xC3\xB0", L"\u00C6\u00D8\u00C5 \u00E6\u00F8\u00E5 \u00C4\u00D6 \u00FE\u00F0"},
    {"\xD0\x81\xD0\xB6 \xD1\x91", L"\u0401\u0436 \u0451"},
    {"\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x8E\xB5.wav", L"\u4E2D\u6587 \U0001F3B5.wav"},
    {"plain ASCII\\Ping.wav", L"plain ASCII\\Ping.wav"},
};

TEST(Utf8, CyrillicChineseAndNordicRoundTrip) {
  for (const Sample& sample : kSamples) {
    const std::wstring wide = ToWide(sample.utf8);
    EXPECT_EQ(wide, std::wstring(sample.wide)) << sample.utf8;
    EXPECT_EQ(ToUtf8(wide), std::string(sample.utf8));
    EXPECT_TRUE(IsUtf8(sample.utf8)) << sample.utf8;
  }
  EXPECT_EQ(ToWide(""), L"");
  EXPECT_EQ(ToUtf8(L""), "");
  EXPECT_TRUE(IsUtf8(""));
  // A zero inside the text is kept, not taken for its end.
  EXPECT_EQ(ToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

// Bytes that are no UTF-8 (a file name from an ANSI call, a cut sequence, an
// overlong form, a surrogate coded in UTF-8) become U+FFFD, never a crash,
// never a longer text, and never the letters of another path.
TEST(Utf8, InvalidBytesBecomeReplacementCharacters) {
  const std::string invalid[] = {
      "C:\\\xC5sa",              // "Åsa" in code page 1252
      "\xE6\xB5",                // a Chinese letter cut short
      "\xC0\xAF",                // an overlong "/"
      "\xED\xA0\x80",            // a UTF-16 surrogate written as UTF-8
      "\xFF\xFE",                // never in UTF-8
      "\x80 lone continuation",
  };
  for (const std::string& text : invalid) {
    EXPECT_FALSE(IsUtf8(text)) << text;
    const std::wstring wide = ToWide(text);
    ASSERT_FALSE(wide.empty()) << text;
    EXPECT_LE(wide.size(), text.size());
    EXPECT_NE(wide.find(L'\uFFFD'), std::wstring::npos) << text;
    EXPECT_EQ(wide.find(L'/'), std::wstring::npos) << "an overlong form was decoded: " << text;
  }
  EXPECT_EQ(ToWide("C:\\\xC5sa"), L"C:\\\uFFFDsa");
  // An unpaired surrogate in a wide name comes back as U+FFFD (EF BF BD).
  EXPECT_EQ(ToUtf8(std::wstring(L"a\xD800" L"b")), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tarvix
