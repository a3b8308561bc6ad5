// The skin file's reader: the installed skin, defaults for missing keys,
// and the faults that leave the program unskinned instead of half-skinned.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/skin/SkinFile.h"

namespace tarvix {
namespace {

std::string ErrorOf(const std::string& text) {
  SkinFile skin;
  TextError error;
  if (ParseSkinFile(text, skin, error)) return "(parsed)";
  return error.Describe();
}

TEST(SkinFile, InstalledSkinHasEverySchemeWithItsColoursAndFonts) {
  std::ifstream file(TARVIX_ASSETS_DIR "/TarvixMask.skn", std::ios::binary);
  ASSERT_TRUE(file.good());
  std::stringstream text;
  text << file.rdbuf();
  SkinFile skin;
  TextError error;
  ASSERT_TRUE(ParseSkinFile(text.str(), skin, error)) << error.Describe();
  for (const std::string_view name : kSkinSchemeNames) EXPECT_NE(skin.Find(name), nullptr) << name;
  const SkinScheme* button = skin.Find("Button");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->background, (Rgb{0x1E, 0x6F, 0xD9}));
  EXPECT_EQ(button->text, (Rgb{0xFF, 0xFF, 0xFF}));
  EXPECT_TRUE(button->font.bold);
  EXPECT_EQ(button->font.points, 9);
  EXPECT_EQ(skin.Find("button"), nullptr) << "scheme names are exact";
}

TEST(SkinFile, MissingKeysKeepTheDefaultsAndCommentsAndCrLfAreFine) {
  SkinFile skin;
  TextError error;
  ASSERT_TRUE(ParseSkinFile("tarvix-skin 1\r\n# a comment\r\n; another\r\n[Label]\r\ntext = #102030\r\n", skin, error))
      << error.Describe();
  ASSERT_EQ(skin.schemes.size(), 1u);
  const SkinScheme& label = skin.schemes[0];
  EXPECT_EQ(label.text, (Rgb{0x10, 0x20, 0x30}));
  EXPECT_EQ(label.background, SkinScheme{}.background);
  EXPECT_EQ(label.font, SkinFont{});
}

TEST(SkinFile, FaultsNameTheLineAndLeaveTheSkinUnchanged) {
  EXPECT_NE(ErrorOf("not a skin\n[Label]\n"), "(parsed)");
  EXPECT_NE(ErrorOf(""), "(parsed)");
  EXPECT_NE(ErrorOf("tarvix-skin 1\n[Sparkle]\n"), "(parsed)");
  EXPECT_NE(ErrorOf("tarvix-skin 1\n[Label]\n[Label]\n"), "(parsed)");
  EXPECT_NE(ErrorOf("tarvix-skin 1\n[Label]\ntext = #12345\n"), "(parsed)");
  EXPECT_NE(ErrorOf("tarvix-skin 1\n[Label]\ntext = #GG0000\n"), "(parsed)");
  EXPECT_NE(ErrorOf("tarvix-skin 1\n[Label]\ncolour = #000000\n"), "(parsed)");
  EXPECT_NE(ErrorOf("tarvix-skin 1\n[Label]\nfont = Tahoma, 200\n"), "(parsed)");
  EXPECT_NE(ErrorOf("tarvix-skin 1\ntext = #000000\n"), "(parsed)") << "a key before any scheme";
  const std::string unknownKey = ErrorOf("tarvix-skin 1\n[Label]\n\ncolour = #000000\n");
  EXPECT_NE(unknownKey.find("line 4"), std::string::npos) << unknownKey;

  SkinFile skin;
  SkinScheme button;
  button.name = "Button";
  skin.schemes.push_back(button);
  TextError error;
  EXPECT_FALSE(ParseSkinFile("tarvix-skin 1\n[Label]\ntext = nonsense\n", skin, error));
  ASSERT_EQ(skin.schemes.size(), 1u);
  EXPECT_EQ(skin.schemes[0].name, "Button");
}

TEST(SkinFile, EachKindOfControlGetsItsScheme) {
  // Button styles: push 0, default push 1, check box 2/3, radio 4/9, 3-state 5/6, group box 7, owner-drawn 11.
  EXPECT_EQ(SchemeForControl("Button", 0x0), "Button");
  EXPECT_EQ(SchemeForControl("BUTTON", 0x1 | 0x00010000), "Button");
  EXPECT_EQ(SchemeForControl("Button", 0x7), "Frame");
  EXPECT_EQ(SchemeForControl("Button", 0x3), "CheckBox");
  EXPECT_EQ(SchemeForControl("Button", 0x5), "CheckBox");
  EXPECT_EQ(SchemeForControl("Button", 0x9 | 0x00020000), "RadioBox");
  EXPECT_EQ(SchemeForControl("Static", 0), "Label");
  EXPECT_EQ(SchemeForControl("Button", 0xB), "");
  EXPECT_EQ(SchemeForControl("Edit", 0), "");
  EXPECT_EQ(SchemeForControl("SysListView32", 0), "");
}

}  // namespace
}  // namespace tarvix
