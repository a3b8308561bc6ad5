#include "app/movie/MovieScript.h"

#include <array>
#include <utility>

namespace tarvix {
namespace {

// The shipped assets/Tarvix.movie, compiled in when the program is built, so
// that a missing or broken file still gives the same home screen.
#include "DefaultMovie.inc"

struct ColourKey {
  std::string_view name;
  Rgb MovieColours::*field;
};

constexpr std::array<ColourKey, 20> kColourKeys{{
    {"background", &MovieColours::background},
    {"band-start", &MovieColours::bandStart},
    {"band-end", &MovieColours::bandEnd},
    {"title", &MovieColours::title},
    {"tagline", &MovieColours::tagline},
    {"text", &MovieColours::text},
    {"muted", &MovieColours::muted},
    {"card", &MovieColours::card},
    {"card-border", &MovieColours::cardBorder},
    {"item", &MovieColours::item},
    {"item-hover", &MovieColours::itemHover},
    {"item-pressed", &MovieColours::itemPressed},
    {"focus", &MovieColours::focus},
    {"bar", &MovieColours::bar},
    {"bar-item", &MovieColours::barItem},
    {"bar-hover", &MovieColours::barHover},
    {"danger", &MovieColours::danger},
    {"version", &MovieColours::version},
    {"panel", &MovieColours::panel},
    {"nav-current", &MovieColours::navCurrent},
}};

constexpr std::array<std::pair<std::string_view, VersionPlacement>, 4> kPlacements{{
    {"band-right", VersionPlacement::BandRight},
    {"band-left", VersionPlacement::BandLeft},
    {"footer", VersionPlacement::Footer},
    {"hidden", VersionPlacement::Hidden},
}};

constexpr std::array<std::pair<std::string_view, ItemTone>, 3> kTones{{
    {"normal", ItemTone::Normal},
    {"accent", ItemTone::Accent},
    {"danger", ItemTone::Danger},
}};

enum class Block { None, Colours, Home, Section, Bar, About };

bool CheckText(std::string_view text, std::size_t limit, std::string_view what, int line, TextError& error) {
  if (text.size() > limit) {
    return Fail(error, line, std::string(what) + " is longer than " + std::to_string(limit) + " characters");
  }
  if (!IsPrintable(text)) return Fail(error, line, std::string(what) + " holds control characters");
  return true;
}

// A command is what the program compares exactly: visible ASCII, no blanks.
bool CheckCommand(std::string_view command, int line, TextError& error) {
  if (command.empty()) return Fail(error, line, "the item has no command");
  if (command.size() > kMaxCommandChars) {
    return Fail(error, line, "the command is longer than " + std::to_string(kMaxCommandChars) + " characters");
  }
  for (const char c : command) {
    if (c <= ' ' || c > '~') return Fail(error, line, "the command \"" + std::string(command) + "\" holds a blank or a non-ASCII character");
  }
  return true;
}

// "Caption | command | description | tone"; description and tone optional.
bool ParseItem(const KeyLine& line, bool allowDescription, MovieItem& item, TextError& error) {
  const auto fields = SplitFields(line.value);
  if (fields.size() < 2) return Fail(error, line.number, "expected \"Caption | command\"");
  if (fields.size() > 4 || (!allowDescription && fields.size() > 2)) {
    return Fail(error, line.number, "too many '|' fields");
  }
  if (fields[0].empty()) return Fail(error, line.number, "the item has no caption");
  if (!CheckText(fields[0], kMaxCaptionChars, "the caption", line.number, error)) return false;
  if (!CheckCommand(fields[1], line.number, error)) return false;
  item = {fields[0], fields[1], {}, ItemTone::Normal};
  if (fields.size() > 2) {
    if (!CheckText(fields[2], kMaxTextChars, "the description", line.number, error)) return false;
    item.description = fields[2];
  }
  if (fields.size() > 3 && !fields[3].empty()) {
    bool known = false;
    for (const auto& [name, tone] : kTones) {
      if (fields[3] == name) {
        item.tone = tone;
        known = true;
      }
    }
    if (!known) return Fail(error, line.number, "unknown tone \"" + fields[3] + "\" (normal, accent or danger)");
  }
  return true;
}

bool CloseSection(const MovieScript& script, int line, TextError& error) {
  if (script.sections.empty()) return true;
  const MovieSection& last = script.sections.back();
  if (last.caption.empty()) return Fail(error, line, "a [section] has no caption");
  if (last.items.empty()) return Fail(error, line, "the section \"" + last.caption + "\" has no items");
  return true;
}

// Reads the movie's lines one by one into a script; each block has its own reader.
class MovieParser {
 public:
  explicit MovieParser(TextError& error) : error_(error) { result_.about.lines.clear(); }

  bool Read(const KeyLine& line) {
    if (line.kind == KeyLine::Kind::Section) return OpenBlock(line);
    switch (block_) {
      case Block::None:
        return Fail(error_, line.number, "\"" + line.name + "\" comes before any [section]");
      case Block::Colours:
        return ColoursLine(line);
      case Block::Home:
        return HomeLine(line);
      case Block::Section:
        return SectionLine(line);
      case Block::Bar:
        return BarLine(line);
      case Block::About:
        return AboutLine(line);
    }
    return false;
  }

  bool Finish(MovieScript& script) {
    if (block_ == Block::Section && !CloseSection(result_, sectionLine_, error_)) return false;
    if (result_.sections.empty()) return Fail(error_, 0, "the movie has no [section]; the home screen would be empty");
    script = std::move(result_);
    return true;
  }

 private:
  bool Once(bool& seen, const KeyLine& line) {
    if (seen) return Fail(error_, line.number, "[" + line.name + "] appears twice");
    seen = true;
    return true;
  }

  bool OpenBlock(const KeyLine& line) {
    if (block_ == Block::Section && !CloseSection(result_, sectionLine_, error_)) return false;
    const std::string& name = line.name;
    if (name == "section") {
      if (result_.sections.size() == kMaxMovieSections) {
        return Fail(error_, line.number, "more than " + std::to_string(kMaxMovieSections) + " sections");
      }
      result_.sections.emplace_back();
      sectionLine_ = line.number;
      block_ = Block::Section;
      return true;
    }
    const auto open = [&](bool& seen, Block block) {
      block_ = block;
      return Once(seen, line);
    };
    if (name == "colours") return open(sawColours_, Block::Colours);
    if (name == "home") return open(sawHome_, Block::Home);
    if (name == "bar") return open(sawBar_, Block::Bar);
    if (name == "about") return open(sawAbout_, Block::About);
    return Fail(error_, line.number, "unknown section [" + name + "]");
  }

  bool UnknownKey(const KeyLine& line) {
    return Fail(error_, line.number, "unknown key \"" + line.name + "\" here");
  }

  bool Colour(const KeyLine& line, Rgb& colour) {
    if (ParseHexColour(line.value, colour)) return true;
    return Fail(error_, line.number, "the colour \"" + line.value + "\" is not #RRGGBB");
  }

  bool ColoursLine(const KeyLine& line) {
    for (const ColourKey& candidate : kColourKeys) {
      if (candidate.name == line.name) return Colour(line, result_.colours.*(candidate.field));
    }
    return Fail(error_, line.number, "unknown colour \"" + line.name + "\"");
  }

  bool HomeLine(const KeyLine& line) {
    const std::string& key = line.name;
    const std::string& value = line.value;
    if (key == "title") {
      if (value.empty()) return Fail(error_, line.number, "the title is empty");
      return Text(line, kMaxCaptionChars, "the title", result_.title);
    }
    if (key == "tagline") return Text(line, kMaxTextChars, "the tagline", result_.tagline);
    if (key == "version-label") return Text(line, kMaxCaptionChars, "the version label", result_.versionLabel);
    if (key != "version") return UnknownKey(line);
    for (const auto& [name, placement] : kPlacements) {
      if (value == name) {
        result_.versionPlacement = placement;
        return true;
      }
    }
    return Fail(error_, line.number,
                "unknown version placement \"" + value + "\" (band-right, band-left, footer or hidden)");
  }

  bool SectionLine(const KeyLine& line) {
    MovieSection& section = result_.sections.back();
    const std::string& key = line.name;
    if (key == "caption") {
      if (line.value.empty()) return Fail(error_, line.number, "the section caption is empty");
      return Text(line, kMaxCaptionChars, "the section caption", section.caption);
    }
    if (key == "accent") return Colour(line, section.accent);
    if (key != "item") return UnknownKey(line);
    if (section.items.size() == kMaxSectionItems) {
      return Fail(error_, line.number, "more than " + std::to_string(kMaxSectionItems) + " items in a section");
    }
    return AddItem(line, section.items);
  }

  bool BarLine(const KeyLine& line) {
    if (line.name == "item") {
      if (result_.bar.size() == kMaxBarItems) {
        return Fail(error_, line.number, "more than " + std::to_string(kMaxBarItems) + " items in the bar");
      }
      return AddItem(line, result_.bar);
    }
    if (line.name != "spacer") return UnknownKey(line);
    if (!line.value.empty()) return Fail(error_, line.number, "\"spacer\" takes no value");
    if (result_.barSpacer) return Fail(error_, line.number, "the bar has a second spacer");
    result_.barSpacer = result_.bar.size();
    return true;
  }

  bool AboutLine(const KeyLine& line) {
    const std::string& key = line.name;
    if (key == "heading") return Text(line, kMaxCaptionChars, "the heading", result_.about.heading);
    if (key == "line") {
      if (result_.about.lines.size() == kMaxAboutLines) {
        return Fail(error_, line.number, "more than " + std::to_string(kMaxAboutLines) + " about lines");
      }
      return Text(line, kMaxTextChars, "the line", result_.about.lines.emplace_back());
    }
    if (key != "back") return UnknownKey(line);
    MovieItem back;
    if (!ParseItem(line, false, back, error_)) return false;
    back.tone = ItemTone::Accent;
    result_.about.back = std::move(back);
    return true;
  }

  bool Text(const KeyLine& line, std::size_t limit, std::string_view what, std::string& into) {
    if (!CheckText(line.value, limit, what, line.number, error_)) return false;
    into = line.value;
    return true;
  }

  bool AddItem(const KeyLine& line, std::vector<MovieItem>& items) {
    MovieItem item;
    if (!ParseItem(line, true, item, error_)) return false;
    items.push_back(std::move(item));
    return true;
  }

  TextError& error_;
  MovieScript result_;
  Block block_ = Block::None;
  bool sawHome_ = false, sawBar_ = false, sawAbout_ = false, sawColours_ = false;
  int sectionLine_ = 0;
};

}  // namespace

bool ParseMovieScript(std::string_view text, MovieScript& script, TextError& error) {
  std::vector<KeyLine> lines;
  if (!ReadKeyLines(text, kMovieMagic, lines, error)) return false;
  MovieParser parser(error);
  for (const KeyLine& line : lines) {
    if (!parser.Read(line)) return false;
  }
  return parser.Finish(script);
}

std::string_view DefaultMovieText() noexcept { return kDefaultMovie; }

const MovieScript& DefaultMovieScript() {
  static const MovieScript script = [] {
    MovieScript parsed;
    TextError error;
    // The compiled-in text is tested to parse; keep an empty-but-valid
    // script rather than fail if that were ever broken.
    (void)ParseMovieScript(DefaultMovieText(), parsed, error);
    return parsed;
  }();
  return script;
}

std::vector<std::string> MovieCommands(const MovieScript& script) {
  std::vector<std::string> commands;
  for (const MovieSection& section : script.sections) {
    for (const MovieItem& item : section.items) commands.push_back(item.command);
  }
  for (const MovieItem& item : script.bar) commands.push_back(item.command);
  commands.push_back(script.about.back.command);
  return commands;
}

MovieScript LoadMovieScript(const std::string& path, std::string& error) {
  error.clear();
  std::string text;
  if (!ReadTextFile(path, text, error)) return DefaultMovieScript();
  MovieScript script;
  TextError parseError;
  if (!ParseMovieScript(text, script, parseError)) {
    error = path + ", " + parseError.Describe();
    return DefaultMovieScript();
  }
  return script;
}

}  // namespace tarvix
