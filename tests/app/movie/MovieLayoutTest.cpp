// Geometry of the movie's screens: everything inside the movie, nothing
// overlapping, at the main window's size and at a higher DPI.
#include <gtest/gtest.h>

#include <vector>

#include "app/movie/MovieLayout.h"

namespace tarvix {
namespace {

// A stand-in for GDI: 7 pixels a character at 96 DPI, wider for the title.
TextWidth FakeMeasure(int dpi) {
  return [dpi](std::string_view text, TextRole role) {
    const int perChar = role == TextRole::Title ? 16 : 7;
    return ScaleToDpi(static_cast<int>(text.size()) * perChar, dpi);
  };
}

void ExpectSound(const MovieScript& script, int width, int height, int dpi, std::string_view version) {
  SCOPED_TRACE(::testing::Message() << width << "x" << height << " at " << dpi << " DPI");
  const HomeLayout layout = LayoutHome(script, width, height, dpi, version, FakeMeasure(dpi));
  const Box movie{0, 0, width, height};
  std::vector<Box> clickable;
  ASSERT_EQ(layout.sections.size(), script.sections.size());
  for (std::size_t s = 0; s < layout.sections.size(); ++s) {
    const SectionLayout& section = layout.sections[s];
    EXPECT_TRUE(section.card.Inside(layout.body));
    ASSERT_EQ(section.items.size(), script.sections[s].items.size());
    for (const Box& item : section.items) {
      EXPECT_TRUE(item.Inside(section.card));
      EXPECT_FALSE(item.Intersects(section.header));
      EXPECT_GE(item.height(), ScaleToDpi(26, dpi));
      clickable.push_back(item);
    }
    for (std::size_t other = 0; other < s; ++other) EXPECT_FALSE(section.card.Intersects(layout.sections[other].card));
  }
  // Reading order goes down a column, then on to the next one to the right.
  for (std::size_t s = 1; s < layout.sections.size(); ++s) {
    const Box& before = layout.sections[s - 1].card;
    const Box& card = layout.sections[s].card;
    EXPECT_TRUE((card.left == before.left && card.top > before.top) || card.left > before.left) << s;
  }
  ASSERT_EQ(layout.barItems.size(), script.bar.size());
  for (const Box& item : layout.barItems) {
    EXPECT_TRUE(item.Inside(layout.bar));
    EXPECT_FALSE(item.empty());
    clickable.push_back(item);
  }
  for (std::size_t i = 0; i < clickable.size(); ++i) {
    EXPECT_TRUE(clickable[i].Inside(movie));
    EXPECT_FALSE(clickable[i].Intersects(layout.band)) << "the band must stay free for dragging";
    for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(clickable[i].Intersects(clickable[j])) << i << " and " << j;
  }
  if (!version.empty() && script.versionPlacement == VersionPlacement::BandRight) {
    EXPECT_TRUE(layout.version.Inside(layout.band));
    EXPECT_FALSE(layout.version.Intersects(layout.tagline));
    EXPECT_FALSE(layout.version.Intersects(layout.title));
  }
}

TEST(MovieLayout, HomeScreenFitsTheMainWindowAndScalesWithDpi) {
  // The main window is 724 x 540 at 96 DPI and scales with the monitor's DPI.
  for (const int dpi : {96, 120, 144, 192}) {
    ExpectSound(DefaultMovieScript(), ScaleToDpi(724, dpi), ScaleToDpi(540, dpi), dpi, "Version 1.0.0.1");
    ExpectSound(DefaultMovieScript(), ScaleToDpi(724, dpi), ScaleToDpi(540, dpi), dpi, "");
  }
}

TEST(MovieLayout, BarKeepsItsGroupsAtBothEnds) {
  const MovieScript& script = DefaultMovieScript();
  const HomeLayout layout = LayoutHome(script, 724, 540, 96, "", FakeMeasure(96));
  EXPECT_EQ(layout.barItems.front().left, 16);
  EXPECT_EQ(layout.barItems.back().right, 724 - 16);
  // Home, Main Settings, Help, About on the left; the window commands on the right.
  EXPECT_LT(layout.barItems[3].right + 60, layout.barItems[4].left);
}

TEST(MovieLayout, CrowdedScriptsStayInsideWithoutOverlap) {
  MovieScript script = DefaultMovieScript();
  // Six sections wrap to a second row; nine long bar items are narrowed.
  script.sections.push_back(script.sections[3]);
  script.sections.push_back(script.sections[0]);
  script.bar.clear();
  for (int i = 0; i < 9; ++i) script.bar.push_back({"A rather long caption", "IDC_x", {}, ItemTone::Normal});
  script.barSpacer = 4;
  ExpectSound(script, 724, 540, 96, "Version 1.0.0.1");
  script.versionPlacement = VersionPlacement::Footer;
  ExpectSound(script, 724, 540, 96, "Version 1.0.0.1");
  const HomeLayout footer = LayoutHome(script, 724, 540, 96, "Version 1.0.0.1", FakeMeasure(96));
  EXPECT_TRUE(footer.version.Inside(footer.bar));
  for (const Box& item : footer.barItems) EXPECT_FALSE(item.Intersects(footer.version));
}

// Every caption and, on two-line tiles, every description fits its text area.
void ExpectWholeTexts(const MovieScript& script, const HomeLayout& layout, int dpi, const TextWidth& measure) {
  for (std::size_t s = 0; s < layout.sections.size(); ++s) {
    for (std::size_t i = 0; i < layout.sections[s].items.size(); ++i) {
      const MovieItem& item = script.sections[s].items[i];
      const Box& tile = layout.sections[s].items[i];
      const TileText boxes = TileTextBoxes(tile.width(), tile.height(), dpi, layout.descriptions);
      EXPECT_LE(measure(item.caption, TextRole::Caption), boxes.caption.width()) << item.caption;
      if (layout.descriptions) {
        EXPECT_LE(measure(item.description, TextRole::Description), boxes.description.width()) << item.description;
        EXPECT_LE(boxes.caption.bottom, boxes.description.top);
      }
    }
  }
  for (std::size_t i = 0; i < layout.barItems.size(); ++i) {
    EXPECT_LE(measure(script.bar[i].caption, TextRole::BarItem), layout.barItems[i].width()) << script.bar[i].caption;
  }
}

TEST(MovieLayout, TheHomeScreenShowsWholeCaptionsAndDescriptions) {
  const MovieScript& script = DefaultMovieScript();
  for (const int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    // Wider than the program's font: a fallback face must still fit.
    const TextWidth wide = [dpi](std::string_view text, TextRole role) {
      const int perChar = role == TextRole::Title ? 16 : role == TextRole::Description ? 7 : 9;
      return ScaleToDpi(static_cast<int>(text.size()) * perChar, dpi);
    };
    const HomeLayout layout =
        LayoutHome(script, ScaleToDpi(724, dpi), ScaleToDpi(540, dpi), dpi, "Version 1.0.0.1", wide);
    EXPECT_TRUE(layout.descriptions);
    EXPECT_LE(layout.columns, 2) << "tiles as wide as the main window allows";
    ExpectWholeTexts(script, layout, dpi, wide);
  }
}

TEST(MovieLayout, TilesTooShortForTwoLinesDropTheDescriptionNotTheCaption) {
  MovieScript script = DefaultMovieScript();
  script.sections.push_back(script.sections[3]);
  script.sections.push_back(script.sections[0]);
  const HomeLayout layout = LayoutHome(script, 724, 540, 96, "", FakeMeasure(96));
  EXPECT_FALSE(layout.descriptions);
  EXPECT_EQ(layout.columns, 3);
  ExpectWholeTexts(script, layout, 96, FakeMeasure(96));
}

TEST(MovieLayout, TheFullestMovieTheFileMayHoldStillFits) {
  MovieScript script = DefaultMovieScript();
  script.sections.assign(kMaxMovieSections, script.sections[3]);
  for (MovieSection& section : script.sections) section.items.resize(kMaxSectionItems, section.items[0]);
  script.bar.assign(kMaxBarItems, script.bar[0]);
  script.barSpacer = 2;
  const HomeLayout layout = LayoutHome(script, 724, 540, 96, "Version 1.0.0.1", FakeMeasure(96));
  std::vector<Box> tiles;
  for (const SectionLayout& section : layout.sections) {
    for (const Box& tile : section.items) {
      EXPECT_FALSE(tile.empty());
      EXPECT_TRUE(tile.Inside(section.card));
      EXPECT_TRUE(section.card.Inside(layout.body));
      for (const Box& other : tiles) EXPECT_FALSE(tile.Intersects(other));
      tiles.push_back(tile);
    }
  }
}

TEST(MovieLayout, VersionIsPlacedOnlyWhenSetAndNotHidden) {
  MovieScript script = DefaultMovieScript();
  EXPECT_TRUE(LayoutHome(script, 724, 540, 96, "", FakeMeasure(96)).version.empty());
  script.versionPlacement = VersionPlacement::Hidden;
  EXPECT_TRUE(LayoutHome(script, 724, 540, 96, "Version 2", FakeMeasure(96)).version.empty());
  script.versionPlacement = VersionPlacement::BandLeft;
  const HomeLayout left = LayoutHome(script, 724, 540, 96, "Version 2", FakeMeasure(96));
  EXPECT_TRUE(left.version.Inside(left.band));
  EXPECT_GE(left.version.left, left.title.right);
}

TEST(MovieLayout, AboutScreenKeepsItsPartsInsideTheCard) {
  for (const int dpi : {96, 120, 144, 192}) {
    const int width = ScaleToDpi(724, dpi), height = ScaleToDpi(540, dpi);
    const AboutLayout about = LayoutAbout(DefaultMovieScript(), width, height, dpi);
    EXPECT_TRUE(about.card.Inside(Box{0, about.band.bottom, width, height}));
    for (const Box& part : {about.logo, about.heading, about.version, about.text, about.back}) {
      EXPECT_TRUE(part.Inside(about.card));
      EXPECT_FALSE(part.empty());
    }
    EXPECT_FALSE(about.back.Intersects(about.text));
    EXPECT_GE(about.text.height(), static_cast<int>(DefaultMovieScript().about.lines.size()) * ScaleToDpi(22, dpi));
  }
}


// The tool screen around a child area of `childHeight`: the child area as
// large as asked, clear of the navigation, the title, the band and the bar;
// every item and caption inside its card and apart from the others.
void ExpectSoundToolScreen(const MovieScript& script, int dpi, int childHeight, const TextWidth& measure,
                           bool wholeTexts) {
  SCOPED_TRACE(::testing::Message() << "child area 440 x " << childHeight << " at " << dpi << " DPI");
  const int width = ScaleToDpi(724, dpi), height = ScaleToDpi(540, dpi);
  const HomeLayout home = LayoutHome(script, width, height, dpi, "Version 1.0.0.1", measure);
  const ToolLayout tool = LayoutTool(script, home, width, height, dpi, 440, childHeight);
  const Box movie{0, 0, width, height};
  EXPECT_EQ(tool.childArea.width(), ScaleToDpi(440, dpi));
  EXPECT_EQ(tool.childArea.height(), ScaleToDpi(childHeight, dpi));
  EXPECT_TRUE(tool.childArea.Inside(tool.panel));
  EXPECT_TRUE(tool.title.Inside(tool.panel));
  EXPECT_FALSE(tool.title.Intersects(tool.childArea));
  for (const Box& part : {tool.panel, tool.nav}) {
    EXPECT_TRUE(part.Inside(movie));
    EXPECT_GE(part.top, tool.band.bottom);
    EXPECT_LE(part.bottom, tool.bar.top);
  }
  EXPECT_FALSE(tool.nav.Intersects(tool.panel));
  if (wholeTexts) {
    EXPECT_LE(measure("A tool's name here", TextRole::ToolTitle), tool.title.width());
  }
  std::vector<Box> parts = tool.barItems;
  ASSERT_EQ(tool.navItems.size(), script.sections.size());
  ASSERT_EQ(tool.navHeaders.size(), script.sections.size());
  for (std::size_t s = 0; s < script.sections.size(); ++s) {
    const Box& header = tool.navHeaders[s];
    EXPECT_TRUE(header.Inside(tool.nav));
    if (wholeTexts) {
      EXPECT_LE(measure(script.sections[s].caption, TextRole::NavHeader), header.width());
    }
    parts.push_back(header);
    ASSERT_EQ(tool.navItems[s].size(), script.sections[s].items.size());
    for (std::size_t i = 0; i < tool.navItems[s].size(); ++i) {
      const Box& item = tool.navItems[s][i];
      EXPECT_TRUE(item.Inside(tool.nav));
      EXPECT_FALSE(item.empty());
      if (wholeTexts) {
        EXPECT_GE(item.height(), ScaleToDpi(22, dpi));
        const int room = item.width() - ScaleToDpi(kNavTextLeft, dpi) - ScaleToDpi(kNavTextRight, dpi);
        EXPECT_LE(measure(script.sections[s].items[i].caption, TextRole::Caption), room)
            << script.sections[s].items[i].caption;
      }
      parts.push_back(item);
    }
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    EXPECT_FALSE(parts[i].Intersects(tool.childArea)) << i << " lies behind the child area";
    EXPECT_FALSE(parts[i].Intersects(tool.title)) << i;
    for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(parts[i].Intersects(parts[j])) << i << " and " << j;
  }
}

TEST(MovieLayout, TheToolScreenKeepsTheChildAreaClearAndEveryCaptionWhole) {
  for (const int dpi : {96, 120, 144, 192}) {
    // Wider than the program's font, as for the home screen.
    const TextWidth wide = [dpi](std::string_view text, TextRole role) {
      const int perChar = role == TextRole::ToolTitle ? 12 : role == TextRole::NavHeader ? 8 : 9;
      return ScaleToDpi(static_cast<int>(text.size()) * perChar, dpi);
    };
    // Each tool window's height, and the tallest the table could grow to.
    for (const int childHeight : {245, 250, 252, 246, 244, 255, 240, 300}) {
      ExpectSoundToolScreen(DefaultMovieScript(), dpi, childHeight, wide, true);
    }
  }
}

TEST(MovieLayout, TheFullestMovieKeepsItsToolScreenInsideWithoutOverlap) {
  MovieScript script = DefaultMovieScript();
  script.sections.assign(kMaxMovieSections, script.sections[3]);
  for (MovieSection& section : script.sections) section.items.resize(kMaxSectionItems, section.items[0]);
  script.bar.assign(kMaxBarItems, script.bar[0]);
  for (const int dpi : {96, 192}) ExpectSoundToolScreen(script, dpi, 255, FakeMeasure(dpi), false);
  // A movie of one item: the navigation's items keep a usable height.
  script.sections.resize(1);
  script.sections[0].items.resize(1);
  const HomeLayout home = LayoutHome(script, 724, 540, 96, "", FakeMeasure(96));
  const ToolLayout tool = LayoutTool(script, home, 724, 540, 96, 440, 250);
  EXPECT_EQ(tool.navItems[0][0].height(), 30);
}

}  // namespace
}  // namespace tarvix
