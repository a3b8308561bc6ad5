#pragma once
// Geometry of the movie's screens: where the title band, the section cards,
// their item tiles and the bottom bar go for a given size and DPI, and where
// the tool screen puts its navigation, the tool's name and the child area.
// Pure code; the window measures text for it through a callback.
#include <functional>
#include <string_view>
#include <vector>

#include "app/movie/MovieScript.h"

namespace tarvix {

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  [[nodiscard]] constexpr int width() const noexcept { return right - left; }
  [[nodiscard]] constexpr int height() const noexcept { return bottom - top; }
  [[nodiscard]] constexpr bool empty() const noexcept { return right <= left || bottom <= top; }
  [[nodiscard]] constexpr bool Contains(int x, int y) const noexcept {
    return x >= left && x < right && y >= top && y < bottom;
  }
  [[nodiscard]] constexpr bool Intersects(const Box& o) const noexcept {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  [[nodiscard]] constexpr bool Inside(const Box& o) const noexcept {
    return left >= o.left && top >= o.top && right <= o.right && bottom <= o.bottom;
  }
  friend constexpr bool operator==(const Box&, const Box&) = default;
};

// Which font a measured text is drawn in.
enum class TextRole { Title, Tagline, Version, BarItem, Caption, Description, ToolTitle, NavHeader };
// Width in pixels of `text` in the font of `role` at the layout's DPI.
using TextWidth = std::function<int(std::string_view text, TextRole role)>;

// A length designed at 96 DPI, scaled to `dpi` (rounded to nearest).
[[nodiscard]] constexpr int ScaleToDpi(int value, int dpi) noexcept {
  return dpi <= 0 ? value : (value * dpi + 48) / 96;
}

// Where a tile's texts go inside the tile: after the accent stripe on the
// left, before the chevron on the right (96-DPI lengths).
inline constexpr int kTileTextLeft = 18;
inline constexpr int kTileTextRight = 26;
// Tiles at least this tall (96 DPI) show their description under the caption.
inline constexpr int kTwoLineTileHeight = 40;
// The tool screen's strip for the tool's name, and where a navigation
// item's caption goes: after its marker on the left, before the right edge.
inline constexpr int kToolTitleHeight = 40;
inline constexpr int kNavTextLeft = 16;
inline constexpr int kNavTextRight = 8;

// The caption's and the description's areas in a tile of `width` x `height`
// at `dpi`, in tile coordinates; `description` is empty for a one-line tile.
struct TileText {
  Box caption;
  Box description;
};
[[nodiscard]] TileText TileTextBoxes(int width, int height, int dpi, bool withDescription) noexcept;

struct SectionLayout {
  Box card;
  Box header;
  std::vector<Box> items;
};

struct HomeLayout {
  Box band;     // the title band; pressing it sends "Drag"
  Box logo;
  Box title;
  Box tagline;
  Box version;  // empty when the version is hidden or not set yet
  Box body;
  std::vector<SectionLayout> sections;  // parallel to script.sections
  int columns = 0;                      // cards stand in this many columns
  bool descriptions = false;            // tiles are tall enough for a second line
  Box bar;                              // empty when the script has no bar
  std::vector<Box> barItems;            // parallel to script.bar
};

struct AboutLayout {
  Box band;
  Box card;
  Box logo;
  Box heading;
  Box version;
  Box text;  // the about lines, one under the other
  Box back;  // the way back home
};

// The screen behind a tool window: the band and the bar as at home, a
// navigation card down the left with every section's items under their
// section captions, and beside it a panel with the tool's name over the
// child area. The child area keeps the size it is given (96-DPI lengths,
// scaled); only its place follows from the layout.
struct ToolLayout {
  Box band;
  Box nav;                                // the navigation card
  std::vector<Box> navHeaders;            // parallel to script.sections
  std::vector<std::vector<Box>> navItems;  // parallel to each section's items
  Box panel;                              // the card holding the title and the child area
  Box title;                              // the tool's name
  Box childArea;                          // where the host puts its child area
  Box bar;
  std::vector<Box> barItems;              // parallel to script.bar, as at home
};

// Lays out the home screen in a client area of width x height pixels.
[[nodiscard]] HomeLayout LayoutHome(const MovieScript& script, int width, int height, int dpi,
                                    std::string_view versionText, const TextWidth& measure);
// Lays out the tool screen around a child area of childWidth x childHeight
// (designed at 96 DPI) on the home layout `home` of the same size and DPI.
[[nodiscard]] ToolLayout LayoutTool(const MovieScript& script, const HomeLayout& home, int width, int height,
                                    int dpi, int childWidth, int childHeight);
// `extraLines` are lines the program adds under the script's own.
[[nodiscard]] AboutLayout LayoutAbout(const MovieScript& script, int width, int height, int dpi,
                                      int extraLines = 0);

}  // namespace tarvix
