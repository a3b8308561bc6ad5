#include "app/MovieScript.h"

#include <array>
#include <utility>

namespace tarvix {
namespace {

// Kept identical to assets/Tarvix.movie (a test compares the two), so that a
// missing file still gives the same home screen.
constexpr std::string_view kDefaultMovie = R"movie(
tarvix-movie 1
# The main window's movie: the screens Tarvix draws in its 724 x 540 face.
#
# Format (text, UTF-8 or ASCII, one setting a line; '#' or ';' begin a comment):
#   [colours]  name = #RRGGBB        palette of the screens (names below)
#   [home]     title, tagline, version-label = text
#              version = band-right | band-left | footer | hidden
#   [section]  caption = text, accent = #RRGGBB, then one or more
#              item = Caption | command | description | tone
#              (description and tone are optional; tone is normal, accent or danger)
#   [bar]      the strip along the bottom: item = ... as above; "spacer =" once
#              pushes the items after it to the right-hand end
#   [about]    heading = text, line = text (repeatable),
#              back = Caption | command   (sent before the movie returns home)
# An item sends its command string to the program when it is chosen. The
# command "IDC_FS_about" also opens the About screen; pressing the title band
# sends "Drag". Everything not given keeps the built-in value.
# The home screen sets the sections as cards in as few columns as keep every
# caption whole, in file order down each column and then on to the next.

[colours]
background   = #0F1724
band-start   = #123A6E
band-end     = #0E7C8C
title        = #FFFFFF
tagline      = #BFD9EE
text         = #E8EEF6
muted        = #8C9AB0
card         = #172235
card-border  = #24324A
item         = #1E2C44
item-hover   = #29405F
item-pressed = #15243A
focus        = #5CC8FF
bar          = #0B111B
bar-item     = #C9D5E4
bar-hover    = #22324B
danger       = #D9534F
version      = #0A2A4A

[home]
title         = Tarvix
tagline       = Internet, memory and system booster
version-label = Version
version       = band-right

[section]
caption = Internet Booster
accent  = #3FA9F5
item    = Wizard Mode | IDC_FS_wizardMode | Tune in a few steps
item    = Advanced Mode | IDC_FS_normalMode | Every TCP/IP value
item    = Backup Manager | IDC_FS_backupManger | Restore earlier settings

[section]
caption = Ram Booster
accent  = #36C28A
item    = System Status | IDC_FS_systemSatus | Live CPU and memory
item    = Ram Configuration | IDC_FS_ramConfig | Freeing and alarm

[section]
caption = Net Pinger
accent  = #F2A33A
item    = Ping Settings | IDC_FS_pingSetting | Keep the line alive

[section]
caption = System Settings
accent  = #A57CF0
item    = Internet Properties | IDC_FS_internetProperties | Browser connection
item    = System Properties | IDC_FS_systemSetting | Computer and devices
item    = Modems Settings | IDC_FS_modemSetting | Dial-up modems
item    = Network Settings | IDC_FS_networkSetting | Adapters and protocols

[bar]
item   = Home | IDC_FS_home
item   = Settings | IDC_FS_settings
item   = Help | IDC_FS_help
item   = About | IDC_FS_about
spacer =
item   = Minimize | IDC_FS_minimize
item   = Hide to tray | IDC_FS_tray
item   = Restart Windows | IDC_FS_restart | | danger
item   = Close | IDC_FS_close | | danger

[about]
heading = About Tarvix
line    = Tarvix tunes your Internet connection, frees memory on demand,
line    = watches the processor and memory live and keeps the line alive.
line    = Every change is backed up first, so it can always be undone.
back    = Back | IDC_FS_closeAbout
)movie";

struct ColourKey {
  std::string_view name;
  Rgb MovieColours::*field;
};

constexpr std::array<ColourKey, 18> kColourKeys{{
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

bool Fail(TextError& error, int line, std::string message) {
  error = {line, std::move(message)};
  return false;
}

bool IsPrintable(std::string_view text) noexcept {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

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

}  // namespace

bool ParseMovieScript(std::string_view text, MovieScript& script, TextError& error) {
  std::vector<KeyLine> lines;
  if (!ReadKeyLines(text, kMovieMagic, lines, error)) return false;

  MovieScript result;
  result.about.lines.clear();
  Block block = Block::None;
  bool sawHome = false, sawBar = false, sawAbout = false, sawColours = false;
  int sectionLine = 0;

  for (const KeyLine& line : lines) {
    if (line.kind == KeyLine::Kind::Section) {
      if (block == Block::Section && !CloseSection(result, sectionLine, error)) return false;
      const auto once = [&](bool& seen) {
        if (seen) return Fail(error, line.number, "[" + line.name + "] appears twice");
        seen = true;
        return true;
      };
      if (line.name == "colours") {
        if (!once(sawColours)) return false;
        block = Block::Colours;
      } else if (line.name == "home") {
        if (!once(sawHome)) return false;
        block = Block::Home;
      } else if (line.name == "section") {
        if (result.sections.size() == kMaxMovieSections) {
          return Fail(error, line.number, "more than " + std::to_string(kMaxMovieSections) + " sections");
        }
        result.sections.emplace_back();
        sectionLine = line.number;
        block = Block::Section;
      } else if (line.name == "bar") {
        if (!once(sawBar)) return false;
        block = Block::Bar;
      } else if (line.name == "about") {
        if (!once(sawAbout)) return false;
        block = Block::About;
      } else {
        return Fail(error, line.number, "unknown section [" + line.name + "]");
      }
      continue;
    }

    const std::string& key = line.name;
    const std::string& value = line.value;
    const auto unknownKey = [&] {
      return Fail(error, line.number, "unknown key \"" + key + "\" here");
    };
    switch (block) {
      case Block::None:
        return Fail(error, line.number, "\"" + key + "\" comes before any [section]");
      case Block::Colours: {
        const ColourKey* found = nullptr;
        for (const ColourKey& candidate : kColourKeys) {
          if (candidate.name == key) found = &candidate;
        }
        if (found == nullptr) return Fail(error, line.number, "unknown colour \"" + key + "\"");
        if (!ParseHexColour(value, result.colours.*(found->field))) {
          return Fail(error, line.number, "the colour \"" + value + "\" is not #RRGGBB");
        }
        break;
      }
      case Block::Home:
        if (key == "title") {
          if (value.empty()) return Fail(error, line.number, "the title is empty");
          if (!CheckText(value, kMaxCaptionChars, "the title", line.number, error)) return false;
          result.title = value;
        } else if (key == "tagline") {
          if (!CheckText(value, kMaxTextChars, "the tagline", line.number, error)) return false;
          result.tagline = value;
        } else if (key == "version-label") {
          if (!CheckText(value, kMaxCaptionChars, "the version label", line.number, error)) return false;
          result.versionLabel = value;
        } else if (key == "version") {
          bool known = false;
          for (const auto& [name, placement] : kPlacements) {
            if (value == name) {
              result.versionPlacement = placement;
              known = true;
            }
          }
          if (!known) {
            return Fail(error, line.number, "unknown version placement \"" + value +
                                                "\" (band-right, band-left, footer or hidden)");
          }
        } else {
          return unknownKey();
        }
        break;
      case Block::Section: {
        MovieSection& section = result.sections.back();
        if (key == "caption") {
          if (value.empty()) return Fail(error, line.number, "the section caption is empty");
          if (!CheckText(value, kMaxCaptionChars, "the section caption", line.number, error)) return false;
          section.caption = value;
        } else if (key == "accent") {
          if (!ParseHexColour(value, section.accent)) {
            return Fail(error, line.number, "the colour \"" + value + "\" is not #RRGGBB");
          }
        } else if (key == "item") {
          if (section.items.size() == kMaxSectionItems) {
            return Fail(error, line.number, "more than " + std::to_string(kMaxSectionItems) + " items in a section");
          }
          MovieItem item;
          if (!ParseItem(line, true, item, error)) return false;
          section.items.push_back(std::move(item));
        } else {
          return unknownKey();
        }
        break;
      }
      case Block::Bar:
        if (key == "item") {
          if (result.bar.size() == kMaxBarItems) {
            return Fail(error, line.number, "more than " + std::to_string(kMaxBarItems) + " items in the bar");
          }
          MovieItem item;
          if (!ParseItem(line, true, item, error)) return false;
          result.bar.push_back(std::move(item));
        } else if (key == "spacer") {
          if (!value.empty()) return Fail(error, line.number, "\"spacer\" takes no value");
          if (result.barSpacer) return Fail(error, line.number, "the bar has a second spacer");
          result.barSpacer = result.bar.size();
        } else {
          return unknownKey();
        }
        break;
      case Block::About:
        if (key == "heading") {
          if (!CheckText(value, kMaxCaptionChars, "the heading", line.number, error)) return false;
          result.about.heading = value;
        } else if (key == "line") {
          if (result.about.lines.size() == kMaxAboutLines) {
            return Fail(error, line.number, "more than " + std::to_string(kMaxAboutLines) + " about lines");
          }
          if (!CheckText(value, kMaxTextChars, "the line", line.number, error)) return false;
          result.about.lines.push_back(value);
        } else if (key == "back") {
          MovieItem back;
          if (!ParseItem(line, false, back, error)) return false;
          back.tone = ItemTone::Accent;
          result.about.back = std::move(back);
        } else {
          return unknownKey();
        }
        break;
    }
  }
  if (block == Block::Section && !CloseSection(result, sectionLine, error)) return false;
  if (result.sections.empty()) return Fail(error, 0, "the movie has no [section]; the home screen would be empty");

  script = std::move(result);
  return true;
}

std::string_view DefaultMovieText() noexcept { return kDefaultMovie.substr(1); }

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
