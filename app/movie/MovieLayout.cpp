#include "app/movie/MovieLayout.h"

#include <algorithm>

namespace tarvix {
namespace {

struct Metrics {
  int margin, gap, band, bar, logo, header, itemGap, itemMax, itemMin, itemInset, twoLine;
  int pillHeight, pillPadMax, pillPadMin, pillMin, pillGap, barSeparation, versionPad, versionHeight;
};

Metrics MetricsFor(int dpi) {
  const auto s = [dpi](int v) { return ScaleToDpi(v, dpi); };
  return {s(16), s(12), s(84), s(56), s(46), s(38), s(6), s(54), s(26), s(10), s(kTwoLineTileHeight),
          s(34), s(16), s(8), s(44), s(6), s(112), s(14), s(26)};
}

Box BandBox(int width, const Metrics& m) { return {0, 0, width, m.band}; }

constexpr int kMaxColumns = 4;

// Cards stand in columns, each column a run of consecutive sections, so that
// reading order (and Tab order) goes down one column and then the next.
struct ColumnPlan {
  std::vector<std::size_t> first;  // index of each column's first section
  int itemHeight = 0;              // the same for every tile, so rows line up
  int tallest = 0;                 // the tallest column at that item height
};

struct ColumnLoad {
  int fixed = 0;  // headers, paddings and gaps
  int items = 0;
};

ColumnLoad LoadOf(const MovieScript& script, std::size_t begin, std::size_t end, const Metrics& m) {
  ColumnLoad load;
  for (std::size_t i = begin; i < end; ++i) {
    const int k = static_cast<int>(script.sections[i].items.size());
    load.fixed += m.header + m.itemInset + std::max(0, k - 1) * m.itemGap + (i > begin ? m.gap : 0);
    load.items += k;
  }
  return load;
}

// Scores one split of the sections into columns: the tallest item height
// every column allows (capped), then the height of the tallest column.
ColumnPlan Score(const MovieScript& script, const std::vector<std::size_t>& first, int room, const Metrics& m) {
  ColumnPlan plan;
  plan.first = first;
  plan.itemHeight = m.itemMax;
  std::vector<ColumnLoad> loads;
  for (std::size_t c = 0; c < first.size(); ++c) {
    const std::size_t end = c + 1 < first.size() ? first[c + 1] : script.sections.size();
    loads.push_back(LoadOf(script, first[c], end, m));
    const ColumnLoad& load = loads.back();
    if (load.items > 0) plan.itemHeight = std::min(plan.itemHeight, (room - load.fixed) / load.items);
  }
  plan.itemHeight = std::max(1, plan.itemHeight);
  for (const ColumnLoad& load : loads) plan.tallest = std::max(plan.tallest, load.fixed + load.items * plan.itemHeight);
  return plan;
}

bool Better(const ColumnPlan& a, const ColumnPlan& b) {
  if (a.itemHeight != b.itemHeight) return a.itemHeight > b.itemHeight;
  return a.tallest < b.tallest;
}

// Tries every split of the sections into `columns` runs (at most 35 for
// eight sections in four columns) and keeps the best.
ColumnPlan BestSplit(const MovieScript& script, int columns, int room, const Metrics& m) {
  const std::size_t count = script.sections.size();
  ColumnPlan best;
  bool found = false;
  std::vector<std::size_t> first{0};
  const auto walk = [&](auto&& self, std::size_t from) -> void {
    if (static_cast<int>(first.size()) == columns) {
      const ColumnPlan plan = Score(script, first, room, m);
      if (!found || Better(plan, best)) best = plan;
      found = true;
      return;
    }
    const std::size_t left = static_cast<std::size_t>(columns) - first.size();
    for (std::size_t next = from + 1; next + left <= count; ++next) {
      first.push_back(next);
      self(self, next);
      first.pop_back();
    }
  };
  walk(walk, 0);
  return best;
}

}  // namespace

TileText TileTextBoxes(int width, int height, int dpi, bool withDescription) noexcept {
  const int left = ScaleToDpi(kTileTextLeft, dpi);
  const int right = std::max(left, width - ScaleToDpi(kTileTextRight, dpi));
  if (!withDescription) return {{left, 0, right, height}, {}};
  const int middle = height / 2 + ScaleToDpi(1, dpi);
  return {{left, 0, right, middle}, {left, middle + ScaleToDpi(1, dpi), right, height}};
}

namespace {

// What every part of the home screen's layout works from.
struct HomeFrame {
  const MovieScript& script;
  int width, height, dpi;
  Metrics m;
  TextWidth measure;

  [[nodiscard]] int Measured(std::string_view text, TextRole role) const {
    return measure ? std::max(0, measure(text, role)) : static_cast<int>(text.size()) * ScaleToDpi(8, dpi);
  }
};

// The title band: logo, title and tagline.
void LayoutBand(const HomeFrame& f, HomeLayout& layout) {
  const Metrics& m = f.m;
  layout.band = BandBox(f.width, m);
  const int logoTop = (m.band - m.logo) / 2;
  layout.logo = {m.margin + 2, logoTop, m.margin + 2 + m.logo, logoTop + m.logo};
  const int textLeft = layout.logo.right + m.margin;
  const int titleWidth = f.Measured(f.script.title, TextRole::Title);
  layout.title = {textLeft, logoTop - ScaleToDpi(4, f.dpi), textLeft + titleWidth, m.band / 2 + ScaleToDpi(4, f.dpi)};
  layout.tagline = {textLeft, layout.title.bottom, f.width - m.margin, layout.logo.bottom + ScaleToDpi(4, f.dpi)};
}

// The version label where the movie puts it; a footer version without a bar gets a strip of its own.
void PlaceVersion(const HomeFrame& f, std::string_view versionText, HomeLayout& layout) {
  const Metrics& m = f.m;
  const bool show = !versionText.empty() && f.script.versionPlacement != VersionPlacement::Hidden;
  if (!show) return;
  const int versionWidth = f.Measured(versionText, TextRole::Version) + 2 * m.versionPad;
  switch (f.script.versionPlacement) {
    case VersionPlacement::BandRight: {
      const int top = (m.band - m.versionHeight) / 2;
      layout.version = {f.width - m.margin - versionWidth, top, f.width - m.margin, top + m.versionHeight};
      layout.tagline.right = std::max(layout.tagline.left, layout.version.left - m.gap);
      break;
    }
    case VersionPlacement::BandLeft: {
      const int left = layout.title.right + m.gap;
      const int top = layout.title.top + (layout.title.height() - m.versionHeight) / 2;
      layout.version = {left, top, left + versionWidth, top + m.versionHeight};
      break;
    }
    case VersionPlacement::Footer: {
      const bool hasBar = !f.script.bar.empty();
      const Box strip = hasBar ? layout.bar : Box{0, f.height - m.bar, f.width, f.height};
      const int top = strip.top + (strip.height() - m.versionHeight) / 2;
      layout.version = {strip.right - m.margin - versionWidth, top, strip.right - m.margin, top + m.versionHeight};
      if (!hasBar) layout.bar = {0, strip.top, f.width, f.height};
      break;
    }
    case VersionPlacement::Hidden:
      break;
  }
}

int CardWidth(const HomeLayout& layout, int columns, const Metrics& m) {
  return (layout.body.width() - (columns - 1) * m.gap) / columns;
}

// True when every caption (and description) fits its tile at this split.
bool TextsFit(const HomeFrame& f, const HomeLayout& layout, int columns, int itemHeight, bool descriptions) {
  const int tileWidth = CardWidth(layout, columns, f.m) - 2 * f.m.itemInset;
  const TileText boxes = TileTextBoxes(tileWidth, itemHeight, f.dpi, descriptions);
  for (const MovieSection& section : f.script.sections) {
    for (const MovieItem& item : section.items) {
      if (f.Measured(item.caption, TextRole::Caption) > boxes.caption.width()) return false;
      if (descriptions && f.Measured(item.description, TextRole::Description) > boxes.description.width()) {
        return false;
      }
    }
  }
  return true;
}

// As few columns as keep every caption whole, so tiles are wide and tall
// enough to read; a second line for the descriptions when it fits.
ColumnPlan ChooseColumns(const HomeFrame& f, HomeLayout& layout) {
  const Metrics& m = f.m;
  const int most = std::min(static_cast<int>(f.script.sections.size()), kMaxColumns);
  std::vector<ColumnPlan> plans;
  for (int columns = 1; columns <= most; ++columns) {
    plans.push_back(BestSplit(f.script, columns, layout.body.height(), m));
  }
  int chosen = -1;
  for (int c = 0; c < most && chosen < 0; ++c) {
    if (plans[c].itemHeight >= m.twoLine && TextsFit(f, layout, c + 1, plans[c].itemHeight, true)) {
      chosen = c;
      layout.descriptions = true;
    }
  }
  for (int c = 0; c < most && chosen < 0; ++c) {
    if (plans[c].itemHeight >= m.itemMin && TextsFit(f, layout, c + 1, plans[c].itemHeight, false)) chosen = c;
  }
  if (chosen < 0) {
    // Nothing keeps every caption whole: give the tiles the most height.
    chosen = 0;
    for (int c = 1; c < most; ++c) {
      if (plans[c].itemHeight > plans[chosen].itemHeight) chosen = c;
    }
  }
  layout.columns = chosen + 1;
  return plans[static_cast<std::size_t>(chosen)];
}

// The section cards down each column, their tiles one item height apart.
void LayoutCards(const HomeFrame& f, HomeLayout& layout) {
  const std::size_t count = f.script.sections.size();
  if (count == 0) return;
  const Metrics& m = f.m;
  const ColumnPlan plan = ChooseColumns(f, layout);
  const int cardWidth = CardWidth(layout, layout.columns, m);
  layout.sections.resize(count);
  for (std::size_t c = 0; c < plan.first.size(); ++c) {
    const std::size_t end = c + 1 < plan.first.size() ? plan.first[c + 1] : count;
    const int left = layout.body.left + static_cast<int>(c) * (cardWidth + m.gap);
    int top = layout.body.top;
    for (std::size_t i = plan.first[c]; i < end; ++i) {
      SectionLayout& section = layout.sections[i];
      section.card = {left, top, left + cardWidth, top};
      section.header = {left, top, left + cardWidth, top + m.header};
      int y = section.header.bottom;
      for (std::size_t k = 0; k < f.script.sections[i].items.size(); ++k) {
        section.items.push_back({left + m.itemInset, y, left + cardWidth - m.itemInset, y + plan.itemHeight});
        y += plan.itemHeight + m.itemGap;
      }
      section.card.bottom = y - m.itemGap + m.itemInset;
      top = section.card.bottom + m.gap;
    }
    // Columns end level: the last card of each reaches the tallest column's foot.
    layout.sections[end - 1].card.bottom =
        std::min(layout.body.bottom, std::max(layout.sections[end - 1].card.bottom, layout.body.top + plan.tallest));
  }
}

// The widths of the bar's items: padding shrinks first, then the items narrow
// only when the captions alone do not fit.
std::vector<int> BarItemWidths(const HomeFrame& f, int items) {
  const Metrics& m = f.m;
  std::vector<int> texts;
  for (const MovieItem& item : f.script.bar) texts.push_back(f.Measured(item.caption, TextRole::BarItem));
  const auto total = [&](int pad) {
    int sum = 0;
    for (const int text : texts) sum += std::max(m.pillMin, text + 2 * pad);
    return sum;
  };
  const int separation = f.script.barSpacer ? m.barSeparation : 0;
  int pad = m.pillPadMax;
  while (pad > m.pillPadMin && total(pad) > items - separation) --pad;
  std::vector<int> widths;
  for (const int text : texts) widths.push_back(std::max(m.pillMin, text + 2 * pad));
  const int room = items - (f.script.barSpacer ? m.gap : 0);
  const int sum = total(pad);
  if (sum > room && sum > 0) {
    for (int& w : widths) w = std::max(1, w * room / sum);
  }
  return widths;
}

// The bar: items before the spacer from the left, the rest to the right (in
// front of a footer version).
void LayoutBar(const HomeFrame& f, HomeLayout& layout) {
  const Metrics& m = f.m;
  const std::size_t n = f.script.bar.size();
  if (n == 0) return;
  const int right = layout.version.empty() || layout.version.top < layout.bar.top ? f.width - m.margin
                                                                                   : layout.version.left - m.gap;
  const std::vector<int> widths = BarItemWidths(f, right - m.margin - static_cast<int>(n - 1) * m.pillGap);
  const std::size_t split = std::min(f.script.barSpacer.value_or(n), n);
  const int top = layout.bar.top + (m.bar - m.pillHeight) / 2;
  layout.barItems.resize(n);
  int x = m.margin;
  for (std::size_t i = 0; i < split; ++i) {
    layout.barItems[i] = {x, top, x + widths[i], top + m.pillHeight};
    x += widths[i] + m.pillGap;
  }
  x = right;
  for (std::size_t i = n; i-- > split;) {
    layout.barItems[i] = {x - widths[i], top, x, top + m.pillHeight};
    x -= widths[i] + m.pillGap;
  }
}

}  // namespace

HomeLayout LayoutHome(const MovieScript& script, int width, int height, int dpi,
                      std::string_view versionText, const TextWidth& measure) {
  const HomeFrame frame{script, width, height, dpi, MetricsFor(dpi), measure};
  HomeLayout layout;
  LayoutBand(frame, layout);
  const int barHeight = script.bar.empty() ? 0 : frame.m.bar;
  layout.bar = {0, height - barHeight, width, height};
  PlaceVersion(frame, versionText, layout);
  layout.body = {frame.m.margin, frame.m.band + frame.m.margin, width - frame.m.margin, layout.bar.top - frame.m.margin};
  LayoutCards(frame, layout);
  LayoutBar(frame, layout);
  return layout;
}

ToolLayout LayoutTool(const MovieScript& script, const HomeLayout& home, int width, int height, int dpi,
                      int childWidth, int childHeight) {
  const Metrics m = MetricsFor(dpi);
  const auto s = [dpi](int v) { return ScaleToDpi(v, dpi); };
  // Lengths of the tool screen at 96 DPI: the panel's padding round the
  // child area, the title's strip, the navigation's insets, its section
  // captions, the gaps between its items and sections, and its item heights.
  const int pad = s(8), titleHeight = s(kToolTitleHeight), navInset = s(8), header = s(18);
  const int itemGap = s(2), sectionGap = s(6), itemMax = s(30);
  ToolLayout layout;
  layout.band = home.band;
  layout.bar = home.bar;
  layout.barItems = home.barItems;
  const int bodyTop = m.band + m.margin;
  const int bodyBottom = (home.bar.empty() ? height : home.bar.top) - m.margin;
  const Box body{m.margin, bodyTop, width - m.margin, std::max(bodyTop, bodyBottom)};

  // The panel on the right, as wide as the child area and its padding; the
  // navigation takes what is left of the width.
  const int child = s(childWidth);
  const int panelWidth = std::min(body.width(), child + 2 * pad);
  const int panelLeft = body.right - panelWidth;
  layout.nav = {body.left, body.top, std::max(body.left, panelLeft - m.gap), body.bottom};
  layout.title = {panelLeft + 2 * pad, body.top, body.right - 2 * pad, body.top + titleHeight};
  const int childLeft = panelLeft + (panelWidth - child) / 2;
  layout.childArea = {childLeft, layout.title.bottom, childLeft + child, layout.title.bottom + s(childHeight)};
  layout.panel = {panelLeft, body.top, body.right, layout.childArea.bottom + pad};

  // The navigation: every section's caption, then its items, all of one height.
  int items = 0;
  int fixed = 2 * navInset;
  for (std::size_t i = 0; i < script.sections.size(); ++i) {
    const int k = static_cast<int>(script.sections[i].items.size());
    items += k;
    fixed += header + std::max(0, k - 1) * itemGap + (i > 0 ? sectionGap : 0);
  }
  // A crowded movie file gets thin items rather than items off the card.
  const int itemHeight = items == 0 ? itemMax : std::clamp((layout.nav.height() - fixed) / items, 1, itemMax);
  int y = layout.nav.top + navInset;
  for (std::size_t i = 0; i < script.sections.size(); ++i) {
    if (i > 0) y += sectionGap;
    layout.navHeaders.push_back({layout.nav.left + navInset + s(kNavTextLeft), y, layout.nav.right - navInset, y + header});
    y += header;
    std::vector<Box>& row = layout.navItems.emplace_back();
    for (std::size_t k = 0; k < script.sections[i].items.size(); ++k) {
      if (k > 0) y += itemGap;
      row.push_back({layout.nav.left + navInset, y, layout.nav.right - navInset, y + itemHeight});
      y += itemHeight;
    }
  }
  // The card ends under its last item when that is above the body's foot.
  layout.nav.bottom = std::min(layout.nav.bottom, std::max(layout.panel.bottom, y + navInset));
  return layout;
}

AboutLayout LayoutAbout(const MovieScript& script, int width, int height, int dpi, int extraLines) {
  const Metrics m = MetricsFor(dpi);
  const auto s = [dpi](int v) { return ScaleToDpi(v, dpi); };
  AboutLayout layout;
  layout.band = BandBox(width, m);
  const int lines = static_cast<int>(script.about.lines.size()) + extraLines;
  const int cardWidth = std::min(width - 2 * m.margin, s(560));
  const int cardHeight = std::min(height - m.band - 2 * m.margin, s(250) + lines * s(22));
  const int left = (width - cardWidth) / 2;
  const int top = m.band + (height - m.band - cardHeight) / 2;
  layout.card = {left, top, left + cardWidth, top + cardHeight};
  const int logo = s(64);
  layout.logo = {(width - logo) / 2, top + s(24), (width + logo) / 2, top + s(24) + logo};
  layout.heading = {left + m.margin, layout.logo.bottom + s(12), layout.card.right - m.margin, layout.logo.bottom + s(44)};
  layout.version = {left + m.margin, layout.heading.bottom, layout.card.right - m.margin, layout.heading.bottom + s(22)};
  const int backWidth = s(128);
  const int backHeight = s(36);
  layout.back = {(width - backWidth) / 2, layout.card.bottom - s(20) - backHeight, (width + backWidth) / 2, layout.card.bottom - s(20)};
  layout.text = {left + s(28), layout.version.bottom + s(14), layout.card.right - s(28), layout.back.top - s(12)};
  return layout;
}

}  // namespace tarvix
