#pragma once
// The main window's movie: a child window that draws the program's screens
// from a movie file ("\Tarvix.movie" in AppDir, see assets/Tarvix.movie) and
// reports each choice as a command string, like the FSCommand event of the
// control it replaces.
//
//   tarvix::Movie movie;
//   movie.SetCommandHandler([](std::string_view command, std::string_view) { ... });
//   (void)movie.Create(mainWindow, 0, 0, 724, 540);
//   (void)movie.LoadMovie(0, tarvix::AppFile(tarvix::kMovieFileName));
//   (void)movie.SetVariable("_root.version", TARVIX_VERSION_TEXT);
//
// Every item is an owner-drawn BUTTON child carrying its caption as window
// text, with WS_TABSTOP; the movie has WS_EX_CONTROLPARENT, so a host that
// calls IsDialogMessage(mainWindow, &msg) in its loop gets Tab / Shift+Tab
// between items, and Enter or Space chooses the focused one.
//
// The window class is "TarvixMovie". It deliberately does not contain
// "macromediaflashplayer": the movie has no context menu of its own, so the
// host's search for a Flash player window finds nothing to hook and ends
// after the last child.
//
// While the host shows a tool window it asks for the tool screen
// (ShowToolScreen): the same item buttons move into a navigation column, the
// tool's name becomes the title, and the host puts its child area where the
// screen leaves room for it, so that no item lies behind the child area.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/BaseWindow.h"
#include "app/movie/MovieLayout.h"
#include "app/movie/MovieScript.h"
#include "ui/SkinGdi.h"

namespace tarvix {

inline constexpr const char* kMovieClassName = "TarvixMovie";
inline constexpr std::string_view kVersionVariable = "_root.version";
inline constexpr std::string_view kHomeVariable = "_root.home";
// A line of the About screen under the movie's own lines: whether the
// program runs with administrator rights. Empty shows no such line.
inline constexpr std::string_view kRightsVariable = "_root.rights";
// Control ids of the item buttons start here, in MovieCommands order.
inline constexpr int kMovieFirstItemId = 1000;

enum class MovieScreen { Home, About, Tool };

class Movie final : public BaseWindow<Movie> {
 public:
  // The FSCommand event: the command string exactly as the movie file has
  // it, and an argument string (always empty for this movie). The handler
  // may reload the movie or destroy it.
  using CommandHandler = std::function<void(std::string_view command, std::string_view args)>;

  Movie();
  ~Movie();
  Movie(const Movie&) = delete;
  Movie& operator=(const Movie&) = delete;

  // Creates the movie as a visible child of `parent`; false when Windows
  // refused. The built-in movie shows until LoadMovie is called.
  [[nodiscard]] bool Create(HWND parent, int x, int y, int width, int height) noexcept;

  // Layer 0 is the home screen; other layers are refused (false, nothing
  // changes). A missing or broken file shows the built-in movie and returns
  // false; LoadError() then says why. True when the file's movie is shown.
  [[nodiscard]] bool LoadMovie(int layer, const std::string& path);
  [[nodiscard]] const std::string& LoadError() const noexcept { return loadError_; }

  // "_root.version" shows `value` as the version text; "_root.rights" as the
  // About screen's last line; "_root.home" with "true" (any letter case)
  // returns to the home screen. False for other names or values, which
  // change nothing.
  [[nodiscard]] bool SetVariable(std::string_view name, std::string_view value);

  void SetCommandHandler(CommandHandler handler) { handler_ = std::move(handler); }

  // Shows the tool screen for the tool window that `command` opens, around a
  // child area of childWidth x childHeight (96-DPI lengths); returns where
  // the child area goes in the movie's client coordinates (empty before the
  // window exists). The title is the caption of the item sending `command`.
  // "_root.home" (or LoadMovie) returns to the home screen.
  Box ShowToolScreen(std::string_view command, int childWidth, int childHeight);
  // The child area's place on the tool screen at the movie's DPI now; empty
  // on the other screens.
  [[nodiscard]] Box ChildAreaBox() const noexcept;
  [[nodiscard]] const std::string& ToolTitle() const noexcept { return toolTitle_; }

  [[nodiscard]] MovieScreen Screen() const noexcept { return screen_; }
  [[nodiscard]] const std::string& VersionText() const noexcept { return version_; }
  [[nodiscard]] const std::string& RightsText() const noexcept { return rights_; }
  [[nodiscard]] const MovieScript& Script() const noexcept { return script_; }
  // Captions and descriptions of every item (the version text and the rights line) that
  // their drawn area cuts short, measured in the fonts they are drawn in.
  [[nodiscard]] std::vector<std::string> ClippedTexts() const;
  // The item button sending `command`, or null.
  [[nodiscard]] HWND ItemWindow(std::string_view command) const noexcept;
  // True while the picture behind the items is kept for the paints to come.
  [[nodiscard]] bool HoldsBackdrop() const noexcept { return static_cast<bool>(backdrop_); }

  static const char* ClassName() noexcept { return kMovieClassName; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  enum class ItemKind { Tile, BarItem, Back };
  struct Slot {
    ItemKind kind;
    std::size_t section;  // for tiles
    std::size_t index;    // item within its section, the bar, or 0 for Back
    UniqueWindow button;
    // Where PlaceButtons last put the button; a button is moved only when
    // its box changes, so laying out again for a new text moves nothing.
    std::optional<Box> placed;
  };
  struct Fonts {
    // The logo is drawn in the title's font and the bar in the tagline's.
    UniqueFont title, tagline, version, header, caption, description, heading, body, toolTitle, navHeader;
  };

  LRESULT ButtonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam);

  void Form_Create();
  void Form_Size();
  void Form_DpiChanged(int newDpi, int oldDpi);
  void Form_Paint();
  void Form_LButtonDown(int x, int y);
  void Item_Click(int id);
  void Item_Draw(const DRAWITEMSTRUCT& item);
  struct ItemLook {
    bool pressed, focused, hot;
  };
  void DrawTile(HDC dc, const RECT& all, Rgb accent, const MovieItem& data, ItemLook look);
  void DrawBarItem(HDC dc, const RECT& all, const MovieItem& data, ItemLook look);
  void DrawBackItem(HDC dc, const RECT& all, const MovieItem& data, ItemLook look);
  void DrawNavItem(HDC dc, const RECT& all, Rgb accent, const MovieItem& data, ItemLook look);

  void CreateFonts();
  void BuildButtons();
  void DestroyButtons() noexcept;
  void Relayout();
  void PlaceButtons();
  // The backdrop is drawn when it is first needed after a change (a paint,
  // a button's drawing, a print), so that nothing is drawn before the movie
  // is shown and a load that changes it three times draws it once; it is
  // let go when painting has paused (kKeepBackdropMs).
  void InvalidateBackdrop() noexcept { backdropStale_ = true; }
  [[nodiscard]] bool EnsureBackdrop();
  void RenderBackdrop();
  void DrawBand(HDC dc);
  void DrawAboutCard(HDC dc);
  void DrawHomeCards(HDC dc);
  void DrawVersion(HDC dc);
  void DrawBar(HDC dc);
  void DrawToolScreen(HDC dc);
  // The accent of the section holding the open tool's item (the focus colour otherwise).
  struct ItemFound {
    const MovieItem* item;  // null when no item sends the command
    Rgb accent;
  };
  [[nodiscard]] ItemFound ItemSending(std::string_view command) const noexcept;
  void ShowScreen(MovieScreen screen);
  void ShowText(std::string& shown, std::string_view value, std::size_t longest);
  void Raise(const std::string& command);
  [[nodiscard]] const MovieItem& ItemOf(const Slot& slot) const noexcept;
  [[nodiscard]] Box BoxOf(const Slot& slot) const noexcept;
  [[nodiscard]] const Slot* SlotOf(HWND button) const noexcept;
  [[nodiscard]] std::string VersionLine() const;
  [[nodiscard]] HFONT FontFor(TextRole role) const noexcept;

  MovieScript script_;
  std::string loadError_;
  std::string version_;
  std::string rights_;
  MovieScreen screen_ = MovieScreen::Home;
  CommandHandler handler_;
  std::vector<Slot> slots_;
  HomeLayout home_;
  AboutLayout about_;
  ToolLayout tool_;
  std::string toolCommand_;  // the command that opened the tool on the tool screen
  std::string toolTitle_;
  int childWidth_ = 440;     // the child area the tool screen is laid out for (96 DPI)
  int childHeight_ = 250;
  Fonts fonts_;
  UniqueBitmap backdrop_;  // the screen without its buttons, redrawn on change; null while unused
  SIZE backdropSize_{};
  bool backdropStale_ = true;
  HWND hot_ = nullptr;     // the button under the mouse
  int dpi_ = 96;  // what the fonts and the layout are made for
  // Expires when the movie is destroyed, so a handler may delete it.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace tarvix
