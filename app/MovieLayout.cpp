#include "app/MovieLayout.h"

#include <algorithm>

namespace tarvix {
namespace {

struct Metrics {
  int margin, gap, band, bar, logo, header, itemGap, itemMax, itemMin, itemInset;
  int pillHeight, pillPad, pillMin, pillGap, versionPad, versionHeight;
};

Metrics MetricsFor(int dpi) {
  const auto s = [dpi](int v) { return ScaleToDpi(v, dpi); };
  return {s(16), s(12), s(84), s(56), s(46), s(46), s(8), s(54), s(26), s(10),
          s(34), s(16), s(60), s(6), s(14), s(26)};
}

Box BandBox(int width, const Metrics& m) { return {0, 0, width, m.band}; }

}  // namespace

HomeLayout LayoutHome(const MovieScript& script, int width, int height, int dpi,
                      std::string_view versionText, const TextWidth& measure) {
  const Metrics m = MetricsFor(dpi);
  const auto measured = [&](std::string_view text, TextRole role) {
    return measure ? std::max(0, measure(text, role)) : static_cast<int>(text.size()) * ScaleToDpi(8, dpi);
  };
  HomeLayout layout;
  layout.band = BandBox(width, m);
  const int logoTop = (m.band - m.logo) / 2;
  layout.logo = {m.margin + 2, logoTop, m.margin + 2 + m.logo, logoTop + m.logo};
  const int textLeft = layout.logo.right + m.margin;
  const int titleWidth = measured(script.title, TextRole::Title);
  layout.title = {textLeft, logoTop - ScaleToDpi(4, dpi), textLeft + titleWidth, m.band / 2 + ScaleToDpi(4, dpi)};
  layout.tagline = {textLeft, layout.title.bottom, width - m.margin, layout.logo.bottom + ScaleToDpi(4, dpi)};

  const bool hasBar = !script.bar.empty();
  layout.bar = hasBar ? Box{0, height - m.bar, width, height} : Box{0, height, width, height};

  const bool showVersion = !versionText.empty() && script.versionPlacement != VersionPlacement::Hidden;
  int versionWidth = 0;
  if (showVersion) versionWidth = measured(versionText, TextRole::Version) + 2 * m.versionPad;
  switch (showVersion ? script.versionPlacement : VersionPlacement::Hidden) {
    case VersionPlacement::BandRight: {
      const int top = (m.band - m.versionHeight) / 2;
      layout.version = {width - m.margin - versionWidth, top, width - m.margin, top + m.versionHeight};
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
      const Box strip = hasBar ? layout.bar : Box{0, height - m.bar, width, height};
      const int top = strip.top + (strip.height() - m.versionHeight) / 2;
      layout.version = {strip.right - m.margin - versionWidth, top, strip.right - m.margin, top + m.versionHeight};
      if (!hasBar) layout.bar = {0, strip.top, width, height};
      break;
    }
    case VersionPlacement::Hidden:
      break;
  }

  layout.body = {m.margin, m.band + m.margin, width - m.margin, layout.bar.top - m.margin};

  // Cards: up to four side by side, further sections wrap to a new row.
  const int count = static_cast<int>(script.sections.size());
  if (count > 0) {
    const int columns = std::min(count, 4);
    const int rows = (count + columns - 1) / columns;
    const int cardWidth = (layout.body.width() - (columns - 1) * m.gap) / columns;
    const int cardHeight = (layout.body.height() - (rows - 1) * m.gap) / rows;
    std::size_t most = 1;
    for (const MovieSection& section : script.sections) most = std::max(most, section.items.size());
    const int slots = static_cast<int>(most);
    const int room = cardHeight - m.header - m.itemInset - (slots - 1) * m.itemGap;
    const int itemHeight = std::clamp(room / slots, std::min(m.itemMin, std::max(1, room / slots)), m.itemMax);
    for (int i = 0; i < count; ++i) {
      const int column = i % columns;
      const int row = i / columns;
      SectionLayout section;
      section.card.left = layout.body.left + column * (cardWidth + m.gap);
      section.card.top = layout.body.top + row * (cardHeight + m.gap);
      section.card.right = section.card.left + cardWidth;
      section.card.bottom = section.card.top + cardHeight;
      section.header = {section.card.left, section.card.top, section.card.right, section.card.top + m.header};
      int top = section.header.bottom;
      for (std::size_t k = 0; k < script.sections[static_cast<std::size_t>(i)].items.size(); ++k) {
        section.items.push_back({section.card.left + m.itemInset, top, section.card.right - m.itemInset, top + itemHeight});
        top += itemHeight + m.itemGap;
      }
      layout.sections.push_back(std::move(section));
    }
  }

  // The bar: items before the spacer from the left, the rest to the right
  // (in front of a footer version); narrowed evenly when they do not fit.
  if (hasBar) {
    const std::size_t n = script.bar.size();
    std::vector<int> widths;
    int total = 0;
    for (const MovieItem& item : script.bar) {
      widths.push_back(std::max(m.pillMin, measured(item.caption, TextRole::BarItem) + 2 * m.pillPad));
      total += widths.back();
    }
    const int right = layout.version.empty() || layout.version.top < layout.bar.top
                          ? width - m.margin
                          : layout.version.left - m.gap;
    const int room = right - m.margin - static_cast<int>(n - 1) * m.pillGap - (script.barSpacer ? m.gap : 0);
    if (total > room && total > 0) {
      for (int& w : widths) w = std::max(1, w * room / total);
    }
    const std::size_t split = script.barSpacer.value_or(n);
    const int top = layout.bar.top + (m.bar - m.pillHeight) / 2;
    layout.barItems.resize(n);
    int x = m.margin;
    for (std::size_t i = 0; i < std::min(split, n); ++i) {
      layout.barItems[i] = {x, top, x + widths[i], top + m.pillHeight};
      x += widths[i] + m.pillGap;
    }
    x = right;
    for (std::size_t i = n; i-- > split;) {
      layout.barItems[i] = {x - widths[i], top, x, top + m.pillHeight};
      x -= widths[i] + m.pillGap;
    }
  }
  return layout;
}

AboutLayout LayoutAbout(const MovieScript& script, int width, int height, int dpi) {
  const Metrics m = MetricsFor(dpi);
  const auto s = [dpi](int v) { return ScaleToDpi(v, dpi); };
  AboutLayout layout;
  layout.band = BandBox(width, m);
  const int lines = static_cast<int>(script.about.lines.size());
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
