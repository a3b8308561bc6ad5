// Feeds arbitrary text to the skin file parser. A refused file leaves the
// skin untouched and says why; an accepted one names only known schemes,
// each once, with a font the skin engine can create.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/skin/SkinFile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  SkinFile skin;
  skin.schemes.push_back(SkinScheme{"Button"});
  const SkinFile before = skin;
  TextError error;
  if (!ParseSkinFile(text, skin, error)) {
    Check(skin.schemes == before.schemes);
    Check(!error.message.empty());
  } else {
    Check(skin.schemes.size() <= kSkinSchemeNames.size());
    for (const SkinScheme& scheme : skin.schemes) {
      Check(std::find(kSkinSchemeNames.begin(), kSkinSchemeNames.end(), scheme.name) != kSkinSchemeNames.end());
      Check(skin.Find(scheme.name) == &scheme);  // each name once
      Check(scheme.font.points >= 6 && scheme.font.points <= 36);
      Check(!scheme.font.face.empty() && scheme.font.face.size() < 32);
    }
  }
  // The same bytes as a window class name and style.
  const std::uint32_t style = size >= 4 ? static_cast<std::uint32_t>(data[0]) | (std::uint32_t{data[1]} << 8) |
                                              (std::uint32_t{data[2]} << 16) | (std::uint32_t{data[3]} << 24)
                                        : 0;
  const std::string_view scheme = SchemeForControl(text, style);
  Check(scheme.empty() || std::find(kSkinSchemeNames.begin(), kSkinSchemeNames.end(), scheme) != kSkinSchemeNames.end());
  return 0;
}
