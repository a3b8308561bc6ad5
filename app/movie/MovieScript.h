#pragma once
// The movie's model: the screens described by a movie file ("\Tarvix.movie",
// format documented at the top of assets/Tarvix.movie) and its parser. Pure
// code without windows.h; the window that draws it lives in Movie.h.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextFile.h"

namespace tarvix {

inline constexpr std::string_view kMovieFileName = "\\Tarvix.movie";
inline constexpr std::string_view kMovieMagic = "tarvix-movie 1";
// Sent when the title band is pressed, so that the host can move its window.
inline constexpr std::string_view kDragCommand = "Drag";
// An item with this command also opens the About screen.
inline constexpr std::string_view kAboutCommand = "IDC_FS_about";
inline constexpr std::string_view kCloseAboutCommand = "IDC_FS_closeAbout";

// Limits that keep every screen inside the 724 x 540 movie area.
inline constexpr std::size_t kMaxMovieSections = 8;
inline constexpr std::size_t kMaxSectionItems = 6;
inline constexpr std::size_t kMaxBarItems = 9;
inline constexpr std::size_t kMaxAboutLines = 8;
inline constexpr std::size_t kMaxCaptionChars = 40;
inline constexpr std::size_t kMaxTextChars = 120;
inline constexpr std::size_t kMaxCommandChars = 64;

enum class VersionPlacement { BandRight, BandLeft, Footer, Hidden };
enum class ItemTone { Normal, Accent, Danger };

struct MovieItem {
  std::string caption;
  std::string command;      // sent as is, case and spelling exact
  std::string description;  // a short second line; may be empty
  ItemTone tone = ItemTone::Normal;
  friend bool operator==(const MovieItem&, const MovieItem&) = default;
};

struct MovieSection {
  std::string caption;
  Rgb accent{0x3F, 0xA9, 0xF5};
  std::vector<MovieItem> items;
  friend bool operator==(const MovieSection&, const MovieSection&) = default;
};

struct MovieColours {
  Rgb background{0x0F, 0x17, 0x24};
  Rgb bandStart{0x12, 0x3A, 0x6E};
  Rgb bandEnd{0x0E, 0x7C, 0x8C};
  Rgb title{0xFF, 0xFF, 0xFF};
  Rgb tagline{0xBF, 0xD9, 0xEE};
  Rgb text{0xE8, 0xEE, 0xF6};
  Rgb muted{0x8C, 0x9A, 0xB0};
  Rgb card{0x17, 0x22, 0x35};
  Rgb cardBorder{0x24, 0x32, 0x4A};
  Rgb item{0x1E, 0x2C, 0x44};
  Rgb itemHover{0x29, 0x40, 0x5F};
  Rgb itemPressed{0x15, 0x24, 0x3A};
  Rgb focus{0x5C, 0xC8, 0xFF};
  Rgb bar{0x0B, 0x11, 0x1B};
  Rgb barItem{0xC9, 0xD5, 0xE4};
  Rgb barHover{0x22, 0x32, 0x4B};
  Rgb danger{0xD9, 0x53, 0x4F};
  Rgb version{0x0A, 0x2A, 0x4A};
  // The tool screen: the panel round the tool window and the navigation's
  // item for the tool that is open.
  Rgb panel{0x1A, 0x27, 0x3C};
  Rgb navCurrent{0x25, 0x39, 0x5A};
  friend bool operator==(const MovieColours&, const MovieColours&) = default;
};

struct AboutScreen {
  std::string heading = "About Tarvix";
  std::vector<std::string> lines;
  MovieItem back{"Back", std::string(kCloseAboutCommand), {}, ItemTone::Accent};
  friend bool operator==(const AboutScreen&, const AboutScreen&) = default;
};

struct MovieScript {
  MovieColours colours;
  std::string title = "Tarvix";
  std::string tagline;
  std::string versionLabel = "Version";
  VersionPlacement versionPlacement = VersionPlacement::BandRight;
  std::vector<MovieSection> sections;
  std::vector<MovieItem> bar;
  // Index into `bar` of the first item pushed to the right; none when absent.
  std::optional<std::size_t> barSpacer;
  AboutScreen about;
  friend bool operator==(const MovieScript&, const MovieScript&) = default;
};

// Parses a movie file's text. On failure `script` is left unchanged and
// `error` names the line and the fault.
[[nodiscard]] bool ParseMovieScript(std::string_view text, MovieScript& script, TextError& error);

// The movie compiled into the program, used when the file is missing or
// broken; the same text as assets/Tarvix.movie.
[[nodiscard]] std::string_view DefaultMovieText() noexcept;
[[nodiscard]] const MovieScript& DefaultMovieScript();

// Every command the screens can send, in screen order (home sections, the
// bar, the About screen's way back), without "Drag".
[[nodiscard]] std::vector<std::string> MovieCommands(const MovieScript& script);

// Loads a movie file; on any failure returns the built-in movie and sets
// `error` to what went wrong (empty on success).
[[nodiscard]] MovieScript LoadMovieScript(const std::string& path, std::string& error);

}  // namespace tarvix
