#pragma once
// The skin file ("\TarvixMask.skn", format documented at the top of
// assets/TarvixMask.skn): colours and a font for each named scheme. Pure
// code without windows.h; Skin.h applies a scheme to a window.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextFile.h"

namespace tarvix {

inline constexpr std::string_view kSkinFileName = "\\TarvixMask.skn";
inline constexpr std::string_view kSkinMagic = "tarvix-skin 1";
inline constexpr std::array<std::string_view, 7> kSkinSchemeNames{
    "NoFrame", "controlForm", "Button", "Label", "Frame", "CheckBox", "RadioBox"};

struct SkinFont {
  std::string face = "Segoe UI";
  int points = 9;  // 6 to 36
  bool bold = false;
  friend bool operator==(const SkinFont&, const SkinFont&) = default;
};

struct SkinScheme {
  std::string name;
  Rgb background{0xF4, 0xF6, 0xFA};
  Rgb text{0x1F, 0x2A, 0x37};
  Rgb border{0xC8, 0xD3, 0xE0};
  Rgb hover{0xE6, 0xEE, 0xF8};
  Rgb pressed{0xD5, 0xE1, 0xF0};
  Rgb focus{0x2B, 0x7F, 0xEA};
  // Optional: without `field` text boxes, lists, drop-downs, arrows and
  // sliders keep the system's look; the others fall back to `text`,
  // a mix of `text` and `background`, and white.
  std::optional<Rgb> field;
  std::optional<Rgb> fieldText;
  std::optional<Rgb> disabled;
  std::optional<Rgb> mark;
  SkinFont font;
  friend bool operator==(const SkinScheme&, const SkinScheme&) = default;
};

struct SkinFile {
  std::vector<SkinScheme> schemes;
  // The scheme of this exact name (case counts), or null.
  [[nodiscard]] const SkinScheme* Find(std::string_view name) const noexcept;
};

// Parses a skin file's text. Scheme names must be among kSkinSchemeNames and
// appear once; a scheme's missing keys keep the values above. On failure
// `skin` is left unchanged and `error` names the line and the fault.
[[nodiscard]] bool ParseSkinFile(std::string_view text, SkinFile& skin, TextError& error);

// The scheme a control takes by its window class and style: "Button",
// "Label", "Frame", "CheckBox" or "RadioBox"; empty for other kinds, which
// keep their own look.
[[nodiscard]] std::string_view SchemeForControl(std::string_view className, std::uint32_t style) noexcept;

}  // namespace tarvix
