// Geometry of the movie's screens: everything inside the movie, nothing
// overlapping, at the main window's size and at a higher DPI.
#include <gtest/gtest.h>

#include <vector>

#include "app/MovieLayout.h"

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
  ExpectSound(DefaultMovieScript(), 724, 540, 96, "Version 1.0.0.1");
  ExpectSound(DefaultMovieScript(), 1086, 810, 144, "Version 1.0.0.1");
  ExpectSound(DefaultMovieScript(), 724, 540, 96, "");
}

TEST(MovieLayout, BarKeepsItsGroupsAtBothEnds) {
  const MovieScript& script = DefaultMovieScript();
  const HomeLayout layout = LayoutHome(script, 724, 540, 96, "", FakeMeasure(96));
  EXPECT_EQ(layout.barItems.front().left, 16);
  EXPECT_EQ(layout.barItems.back().right, 724 - 16);
  // Main Settings, Help, About on the left; the window commands on the right.
  EXPECT_LT(layout.barItems[2].right + 100, layout.barItems[3].left);
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
  for (const int dpi : {96, 144}) {
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

}  // namespace
}  // namespace tarvix
