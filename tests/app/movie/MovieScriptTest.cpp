// The movie file parser: the built-in movie, the installed asset, and the
// ways a movie file can be broken.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/movie/MovieScript.h"

namespace tarvix {
namespace {

// The commands the main window dispatches, in the order the home screen offers them.
const std::vector<std::string> kHomeCommands = {
    "IDC_FS_wizardMode",     "IDC_FS_normalMode",         "IDC_FS_backupManger", "IDC_FS_systemSatus",
    "IDC_FS_ramConfig",      "IDC_FS_pingSetting",        "IDC_FS_internetProperties",
    "IDC_FS_systemSetting",  "IDC_FS_modemSetting",       "IDC_FS_networkSetting", "IDC_FS_home", "IDC_FS_settings",
    "IDC_FS_help",           "IDC_FS_about",              "IDC_FS_minimize",     "IDC_FS_tray",
    "IDC_FS_restart",        "IDC_FS_close",              "IDC_FS_closeAbout"};

std::string Minimal(const std::string& extra = "") {
  return "tarvix-movie 1\n[section]\ncaption = One\nitem = Go | IDC_FS_go\n" + extra;
}

std::string ErrorOf(const std::string& text) {
  MovieScript script;
  TextError error;
  if (ParseMovieScript(text, script, error)) return "(parsed)";
  return error.Describe();
}

TEST(MovieScript, BuiltInMovieOffersEveryCommandOnce) {
  const MovieScript& script = DefaultMovieScript();
  EXPECT_EQ(MovieCommands(script), kHomeCommands);
  ASSERT_EQ(script.sections.size(), 4u);
  EXPECT_EQ(script.sections[0].caption, "Internet Booster");
  EXPECT_EQ(script.sections[1].caption, "Ram Booster");
  EXPECT_EQ(script.sections[2].caption, "Net Pinger");
  EXPECT_EQ(script.sections[3].caption, "System Settings");
  EXPECT_EQ(script.sections[3].items[2].caption, "Modems Settings");
  ASSERT_EQ(script.bar.size(), 8u);
  EXPECT_EQ(script.bar[0].caption, "Home");
  EXPECT_EQ(script.bar[5].caption, "Hide to tray");
  EXPECT_EQ(script.barSpacer, std::optional<std::size_t>(4));
  EXPECT_EQ(script.bar[7].tone, ItemTone::Danger);
  EXPECT_EQ(script.title, "Tarvix");
  EXPECT_EQ(script.about.back.caption, "Back");
  EXPECT_FALSE(script.about.lines.empty());
}

TEST(MovieScript, InstalledAssetIsTheBuiltInMovie) {
  std::string text, error;
  ASSERT_TRUE(ReadTextFile(TARVIX_ASSETS_DIR "/Tarvix.movie", text, error)) << error;
  MovieScript asset;
  TextError parseError;
  ASSERT_TRUE(ParseMovieScript(text, asset, parseError)) << parseError.Describe();
  EXPECT_EQ(MovieCommands(asset), MovieCommands(DefaultMovieScript()));
  EXPECT_TRUE(asset == DefaultMovieScript()) << "assets/Tarvix.movie and the built-in movie differ";
}

TEST(MovieScript, AcceptsCommentsCrLfByteOrderMarkAndPartialColours) {
  const std::string text =
      "\xEF\xBB\xBF# a movie\r\n\r\n  tarvix-movie 1  \r\n; colours\r\n[colours]\r\nfocus = #a0B1c2\r\npanel = #112233\r\n"
      "[section]\r\ncaption = Tools\r\naccent = #010203\r\nitem = Run | IDC_FS_run | Does it |accent\r\n"
      "[home]\r\nversion = footer\r\ntagline =\r\n";
  MovieScript script;
  TextError error;
  ASSERT_TRUE(ParseMovieScript(text, script, error)) << error.Describe();
  EXPECT_EQ(script.colours.focus, (Rgb{0xA0, 0xB1, 0xC2}));
  EXPECT_EQ(script.colours.background, MovieColours{}.background);
  // The tool screen's colours: one given, the other the built-in one.
  EXPECT_EQ(script.colours.panel, (Rgb{0x11, 0x22, 0x33}));
  EXPECT_EQ(script.colours.navCurrent, MovieColours{}.navCurrent);
  ASSERT_EQ(script.sections.size(), 1u);
  EXPECT_EQ(script.sections[0].accent, (Rgb{1, 2, 3}));
  EXPECT_EQ(script.sections[0].items[0], (MovieItem{"Run", "IDC_FS_run", "Does it", ItemTone::Accent}));
  EXPECT_EQ(script.versionPlacement, VersionPlacement::Footer);
  EXPECT_TRUE(script.bar.empty());
  // Without an [about] the way back still sends the usual command.
  EXPECT_EQ(script.about.back.command, "IDC_FS_closeAbout");
}

TEST(MovieScript, RefusesBrokenFilesWithTheLineAndReason) {
  struct Case {
    std::string text;
    std::string expected;  // a part of the error
  };
  const std::string tooManySections = [] {
    std::string text = "tarvix-movie 1\n";
    for (int i = 0; i < 9; ++i) text += "[section]\ncaption = S\nitem = A | B\n";
    return text;
  }();
  const std::string tooManyItems = [] {
    std::string text = "tarvix-movie 1\n[section]\ncaption = S\n";
    for (int i = 0; i < 7; ++i) text += "item = A | B\n";
    return text;
  }();
  const Case cases[] = {
      {"", "empty"},
      {"# only a comment\n", "empty"},
      {"tarvix-movie 2\n[section]\n", "must begin with"},
      {"[section]\ntarvix-movie 1\n", "must begin with"},
      {"tarvix-movie 1\n", "no [section]"},
      {"tarvix-movie 1\ncaption = x\n", "before any [section]"},
      {Minimal("[sections]\n"), "line 5: unknown section [sections]"},
      {Minimal("[home]\ncolour = #000000\n"), "line 6: unknown key"},
      {Minimal("[home]\n[home]\n"), "appears twice"},
      {Minimal("[home]\ntitle =\n"), "title is empty"},
      {Minimal("[home]\nversion = top\n"), "version placement"},
      {Minimal("[colours]\nfocus = 123456\n"), "#RRGGBB"},
      {Minimal("[colours]\nfocus = #12345\n"), "#RRGGBB"},
      {Minimal("[colours]\nfocus = #12345G\n"), "#RRGGBB"},
      {Minimal("[colours]\nfoucs = #123456\n"), "unknown colour"},
      {Minimal("[section]\ncaption = Two\n"), "has no items"},
      {Minimal("[section]\nitem = A | B\n"), "has no caption"},
      {Minimal("[section]\ncaption = T\nitem = A\n"), "Caption | command"},
      {Minimal("[section]\ncaption = T\nitem = A |\n"), "no command"},
      {Minimal("[section]\ncaption = T\nitem = | IDC_FS_x\n"), "no caption"},
      {Minimal("[section]\ncaption = T\nitem = A | IDC FS\n"), "blank"},
      {Minimal("[section]\ncaption = T\nitem = A | B | c | loud\n"), "unknown tone"},
      {Minimal("[section]\ncaption = T\nitem = A | B | c | danger | x\n"), "too many"},
      {Minimal("[section]\ncaption = T\nitem = " + std::string(41, 'x') + " | B\n"), "longer than 40"},
      {Minimal("[section]\ncaption = T\nitem = A | I" + std::string(64, 'x') + "\n"), "longer than 64"},
      {Minimal("[bar]\nspacer = yes\n"), "takes no value"},
      {Minimal("[bar]\nspacer =\nspacer =\n"), "second spacer"},
      {Minimal("[about]\nback = Back | IDC_FS_closeAbout | extra\n"), "too many"},
      {Minimal("just words\n"), "line 5: expected"},
      {Minimal("[section\n"), "[name]"},
      {Minimal("= value\n"), "key is missing"},
      {Minimal("[home]\ntagline = a\x01z\n"), "control characters"},
      {std::string("tarvix-movie 1\n[section]\0\n", 26), "NUL"},
      {Minimal(std::string(1100, '#') + "\n"), "longer than 1024"},
      {tooManySections, "more than 8 sections"},
      {tooManyItems, "more than 6 items"},
  };
  for (const Case& c : cases) {
    const std::string error = ErrorOf(c.text);
    EXPECT_NE(error.find(c.expected), std::string::npos) << "text: " << c.text.substr(0, 80) << "\nerror: " << error;
  }
}

TEST(MovieScript, RefusesOversizedFilesAndLeavesTheScriptUnchanged) {
  std::string huge = Minimal();
  while (huge.size() <= kMaxTextFileBytes) huge += "# padding padding padding padding padding padding\n";
  EXPECT_NE(ErrorOf(huge).find("larger than"), std::string::npos);

  MovieScript script = DefaultMovieScript();
  TextError error;
  EXPECT_FALSE(ParseMovieScript(Minimal("[home]\nversion = nowhere\n"), script, error));
  EXPECT_EQ(error.line, 6);
  EXPECT_TRUE(script == DefaultMovieScript());
}

TEST(MovieScript, MissingOrBrokenFileFallsBackToTheBuiltInMovie) {
  std::string error;
  const MovieScript missing = LoadMovieScript("Z:/nonexistent/folder/Tarvix.movie", error);
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
  EXPECT_TRUE(missing == DefaultMovieScript());

  char temp[MAX_PATH] = {};
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string path = std::string(temp) + "tarvix-broken.movie";
  {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("tarvix-movie 1\n[section]\ncaption = X\nitem = no command here\n", file);
    std::fclose(file);
  }
  const MovieScript broken = LoadMovieScript(path, error);
  EXPECT_NE(error.find("line 4"), std::string::npos) << error;
  EXPECT_TRUE(broken == DefaultMovieScript());
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tarvix
