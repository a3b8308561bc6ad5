#include "app/skin/SkinFile.h"

#include "base/Text.h"

namespace tarvix {
namespace {

constexpr std::size_t kMaxFaceChars = 31;  // LF_FACESIZE less the terminator

struct ColourKey {
  std::string_view name;
  Rgb SkinScheme::*field;
};

constexpr std::array<ColourKey, 6> kColourKeys{{
    {"background", &SkinScheme::background},
    {"text", &SkinScheme::text},
    {"border", &SkinScheme::border},
    {"hover", &SkinScheme::hover},
    {"pressed", &SkinScheme::pressed},
    {"focus", &SkinScheme::focus},
}};

struct OptionalColourKey {
  std::string_view name;
  std::optional<Rgb> SkinScheme::*field;
};

constexpr std::array<OptionalColourKey, 4> kOptionalColourKeys{{
    {"field", &SkinScheme::field},
    {"field-text", &SkinScheme::fieldText},
    {"disabled", &SkinScheme::disabled},
    {"mark", &SkinScheme::mark},
}};

// "Face, points" or "Face, points, bold".
bool ParseFont(const KeyLine& line, SkinFont& font, TextError& error) {
  std::vector<std::string> parts;
  std::string_view rest = line.value;
  for (;;) {
    const auto comma = rest.find(',');
    parts.emplace_back(text::TrimSpace(rest.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  if (parts.size() < 2 || parts.size() > 3) return Fail(error, line.number, "expected \"font = Face, points[, bold]\"");
  if (parts[0].empty() || parts[0].size() > kMaxFaceChars) {
    return Fail(error, line.number, "the font face must have 1 to " + std::to_string(kMaxFaceChars) + " characters");
  }
  for (const char c : parts[0]) {
    if (static_cast<unsigned char>(c) < 0x20) return Fail(error, line.number, "the font face holds control characters");
  }
  const auto points = text::ParseWhole<int>(parts[1]);
  if (!points || *points < 6 || *points > 36) {
    return Fail(error, line.number, "the font size \"" + parts[1] + "\" is not a whole number from 6 to 36");
  }
  bool bold = false;
  if (parts.size() == 3) {
    if (parts[2] != "bold" && parts[2] != "normal") {
      return Fail(error, line.number, "expected \"bold\" or \"normal\", not \"" + parts[2] + "\"");
    }
    bold = parts[2] == "bold";
  }
  font = {parts[0], *points, bold};
  return true;
}

}  // namespace

const SkinScheme* SkinFile::Find(std::string_view name) const noexcept {
  for (const SkinScheme& scheme : schemes) {
    if (scheme.name == name) return &scheme;
  }
  return nullptr;
}

bool ParseSkinFile(std::string_view text, SkinFile& skin, TextError& error) {
  std::vector<KeyLine> lines;
  if (!ReadKeyLines(text, kSkinMagic, lines, error)) return false;
  SkinFile result;
  for (const KeyLine& line : lines) {
    if (line.kind == KeyLine::Kind::Section) {
      bool known = false;
      for (const std::string_view name : kSkinSchemeNames) known = known || name == line.name;
      if (!known) return Fail(error, line.number, "unknown scheme [" + line.name + "]");
      if (result.Find(line.name) != nullptr) return Fail(error, line.number, "[" + line.name + "] appears twice");
      SkinScheme scheme;
      scheme.name = line.name;
      result.schemes.push_back(std::move(scheme));
      continue;
    }
    if (result.schemes.empty()) return Fail(error, line.number, "\"" + line.name + "\" comes before any [scheme]");
    SkinScheme& scheme = result.schemes.back();
    if (line.name == "font") {
      if (!ParseFont(line, scheme.font, error)) return false;
      continue;
    }
    Rgb* target = nullptr;
    for (const ColourKey& key : kColourKeys) {
      if (key.name == line.name) target = &(scheme.*(key.field));
    }
    for (const OptionalColourKey& key : kOptionalColourKeys) {
      if (key.name == line.name) target = &(scheme.*(key.field)).emplace();
    }
    if (target == nullptr) return Fail(error, line.number, "unknown key \"" + line.name + "\"");
    if (!ParseHexColour(line.value, *target)) {
      return Fail(error, line.number, "the colour \"" + line.value + "\" is not #RRGGBB");
    }
  }
  if (result.schemes.empty()) return Fail(error, 0, "the skin has no schemes");
  skin = std::move(result);
  return true;
}

std::string_view SchemeForControl(std::string_view className, std::uint32_t style) noexcept {
  auto equalNoCase = [](std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const char x = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
      const char y = (b[i] >= 'A' && b[i] <= 'Z') ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
      if (x != y) return false;
    }
    return true;
  };
  if (equalNoCase(className, "Static")) return "Label";
  if (!equalNoCase(className, "Button")) return {};
  // The button's kind lives in the low four bits of its style.
  switch (style & 0xFu) {
    case 0x0:  // BS_PUSHBUTTON
    case 0x1:  // BS_DEFPUSHBUTTON
      return "Button";
    case 0x2:  // BS_CHECKBOX
    case 0x3:  // BS_AUTOCHECKBOX
    case 0x5:  // BS_3STATE
    case 0x6:  // BS_AUTO3STATE
      return "CheckBox";
    case 0x4:  // BS_RADIOBUTTON
    case 0x9:  // BS_AUTORADIOBUTTON
      return "RadioBox";
    case 0x7:  // BS_GROUPBOX
      return "Frame";
    default:
      return {};
  }
}

}  // namespace tarvix
