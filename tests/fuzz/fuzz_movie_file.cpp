// Feeds arbitrary text to the movie file parser. A refused file leaves the
// script untouched and says why; an accepted one keeps every screen inside
// the limits the movie window lays out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/movie/MovieScript.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckItem(const tarvix::MovieItem& item) {
  Check(!item.caption.empty() && item.caption.size() <= tarvix::kMaxCaptionChars);
  Check(!item.command.empty() && item.command.size() <= tarvix::kMaxCommandChars);
  Check(item.description.size() <= tarvix::kMaxTextChars);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  MovieScript script = DefaultMovieScript();
  TextError error;
  if (!ParseMovieScript(text, script, error)) {
    Check(script == DefaultMovieScript());
    Check(!error.message.empty() && !error.Describe().empty());
    return 0;
  }
  Check(script.sections.size() <= kMaxMovieSections);
  for (const MovieSection& section : script.sections) {
    Check(section.caption.size() <= kMaxCaptionChars);
    Check(section.items.size() <= kMaxSectionItems);
    for (const MovieItem& item : section.items) CheckItem(item);
  }
  Check(script.bar.size() <= kMaxBarItems);
  for (const MovieItem& item : script.bar) CheckItem(item);
  if (script.barSpacer) Check(*script.barSpacer <= script.bar.size());
  Check(script.about.lines.size() <= kMaxAboutLines);
  Check(script.title.size() <= kMaxCaptionChars && script.tagline.size() <= kMaxTextChars);
  (void)MovieCommands(script);
  return 0;
}
