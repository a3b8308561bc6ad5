// The skin file's reader: the installed skin, defaults for missing keys,
// and the faults that leave the program unskinned instead of half-skinned.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/movie/MovieScript.h"
#include "app/skin/SkinFile.h"
#include "ui/ControlPaint.h"

namespace tarvix {
namespace {

std::string ErrorOf(const std::string& text) {
  SkinFile skin;
  TextError error;
  if (ParseSkinFile(text, skin, error)) return "(parsed)";
  return error.Describe();
}

std::string AssetText(const char* name) {
  std::ifstream file(std::string(TARVIX_ASSETS_DIR "/") + name, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The installed skin gives the tool windows the main window's palette: the
// movie's panel behind them, the balloon boxes' accent on their buttons, and
// every text at WCAG AA contrast (4.5:1) on what it is drawn over, switched
// off or not; edges of boxes and fields and the focus ring at 3:1.
TEST(SkinFile, InstalledSkinIsTheMainWindowsPaletteAtWcagContrast) {
  SkinFile skin;
  TextError error;
  ASSERT_TRUE(ParseSkinFile(AssetText("TarvixMask.skn"), skin, error)) << error.Describe();
  for (const std::string_view name : kSkinSchemeNames) ASSERT_NE(skin.Find(name), nullptr) << name;
  EXPECT_EQ(skin.Find("button"), nullptr) << "scheme names are exact";
  MovieScript movie;
  ASSERT_TRUE(ParseMovieScript(AssetText("Tarvix.movie"), movie, error)) << error.Describe();

  const SkinScheme& button = *skin.Find("Button");
  EXPECT_EQ(button.background, palette::kAccent);
  EXPECT_EQ(button.hover, palette::kAccentHover);
  EXPECT_EQ(button.pressed, palette::kAccentPressed);
  EXPECT_EQ(button.border, palette::kAccentEdge);
  EXPECT_EQ(button.text, palette::kOnAccent);
  EXPECT_TRUE(button.font.bold);
  for (const Rgb fill : {button.background, button.hover, button.pressed}) {
    EXPECT_GE(ContrastRatio(button.text, fill), 4.5);
  }
  for (const std::string_view name : kSkinSchemeNames) {
    if (name == "Button") continue;
    SCOPED_TRACE(std::string(name));
    const SkinScheme& scheme = *skin.Find(name);
    EXPECT_EQ(scheme.background, movie.colours.panel) << "not on the tool screen's panel";
    if (name == "NoFrame") continue;
    EXPECT_GE(ContrastRatio(scheme.text, scheme.background), 4.5);
    ASSERT_TRUE(scheme.disabled.has_value());
    EXPECT_GE(ContrastRatio(*scheme.disabled, scheme.background), 4.5);
    if (name == "controlForm" || name == "CheckBox" || name == "RadioBox") {
      ASSERT_TRUE(scheme.field.has_value());
      EXPECT_GE(ContrastRatio(scheme.border, scheme.background), 3.0);
      EXPECT_GE(ContrastRatio(scheme.focus, scheme.background), 3.0);
      EXPECT_GE(ContrastRatio(scheme.fieldText.value_or(scheme.text), *scheme.field), 4.5);
    }
  }
  // The balloon boxes keep their light panels; their ink reads on them.
  for (const Rgb panel : {Rgb{255, 255, 204}, Rgb{242, 248, 200}}) {
    EXPECT_GE(ContrastRatio(palette::kInk, panel), 4.5);
    EXPECT_GE(ContrastRatio(palette::kTitleInk, panel), 4.5);
    EXPECT_GE(ContrastRatio(palette::kDisabledInk, panel), 4.5);
    EXPECT_GE(ContrastRatio(palette::kFieldEdge, panel), 3.0);
  }
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
