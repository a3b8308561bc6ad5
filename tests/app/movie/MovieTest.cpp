// The movie window: its items are real buttons that send the exact command
// strings, work from the keyboard through IsDialogMessage, and the host's
// variables and movie files change what it shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/movie/Movie.h"
#include "support/FakeShell.h"
#include "support/Screenshot.h"
#include "ui/Handles.h"

namespace tarvix {
namespace {

const std::vector<std::string> kHomeCommands = {
    "IDC_FS_wizardMode",    "IDC_FS_normalMode",   "IDC_FS_backupManger",       "IDC_FS_systemSatus",
    "IDC_FS_ramConfig",     "IDC_FS_pingSetting",  "IDC_FS_internetProperties", "IDC_FS_systemSetting",
    "IDC_FS_modemSetting",  "IDC_FS_networkSetting", "IDC_FS_home",             "IDC_FS_settings",         "IDC_FS_help",
    "IDC_FS_about",         "IDC_FS_minimize",     "IDC_FS_tray",               "IDC_FS_restart",
    "IDC_FS_close"};
const std::vector<std::string> kCaptions = {
    "Wizard Mode",  "Advanced Mode",     "Backup Manager",  "System Status",   "Ram Configuration",
    "Ping Settings", "Internet Properties", "System Properties", "Modems Settings", "Network Settings",
    "Home",         "Settings",      "Help",              "About",           "Minimize",        "Hide to tray",
    "Restart Windows", "Close"};

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// A key press as the host's message loop would see it, through IsDialogMessage.
void PressKey(HWND host, WORD key) {
  const HWND focus = GetFocus();
  for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
    MSG msg{focus, message, key, message == WM_KEYUP ? 0xC0000001 : 1, GetTickCount(), {}};
    if (!IsDialogMessageA(host, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  test::PumpMessages();
}

void SetShift(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + name;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file != nullptr) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  return path;
}

class MovieTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA host{};
    host.cbSize = sizeof host;
    host.lpfnWndProc = DefWindowProcA;
    host.hInstance = GetModuleHandleA(nullptr);
    host.lpszClassName = "TarvixMovieTestHost";
    RegisterClassExA(&host);
    host_ = CreateWindowExA(0, "TarvixMovieTestHost", "Tarvix", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 724, 540,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host_, nullptr);
    movie_ = std::make_unique<Movie>();
    movie_->SetCommandHandler([this](std::string_view command, std::string_view args) {
      commands_.emplace_back(command);
      EXPECT_TRUE(args.empty());
    });
    ASSERT_TRUE(movie_->Create(host_, 0, 0, 724, 540));
    ShowWindow(host_, SW_SHOWNOACTIVATE);
    test::PumpMessages();
  }
  void TearDown() override {
    movie_.reset();
    DestroyWindow(host_);
    test::PumpMessages();
  }
  void Click(std::string_view command) {
    const HWND item = movie_->ItemWindow(command);
    ASSERT_NE(item, nullptr) << command;
    SendMessageA(item, BM_CLICK, 0, 0);
    test::PumpMessages();
  }

  HWND host_ = nullptr;
  std::unique_ptr<Movie> movie_;
  std::vector<std::string> commands_;
};

TEST_F(MovieTest, EveryCommandIsAnOwnerDrawnTabStopButtonWithItsCaption) {
  EXPECT_EQ(std::string(kMovieClassName).find("macromediaflashplayer"), std::string::npos);
  EXPECT_NE(GetWindowLongPtrA(movie_->hwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
  for (std::size_t i = 0; i < kHomeCommands.size(); ++i) {
    SCOPED_TRACE(kHomeCommands[i]);
    const HWND item = movie_->ItemWindow(kHomeCommands[i]);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(GetParent(item), movie_->hwnd());
    EXPECT_EQ(ClassOf(item), "Button");
    EXPECT_EQ(TextOf(item), kCaptions[i]);
    const LONG_PTR style = GetWindowLongPtrA(item, GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_NE(style & WS_TABSTOP, 0);
    EXPECT_TRUE(IsWindowVisible(item));
    RECT box{};
    GetWindowRect(item, &box);
    EXPECT_GT(box.right - box.left, 40);
    EXPECT_GT(box.bottom - box.top, 20);
  }
  // The way back from About exists but is hidden on the home screen.
  const HWND back = movie_->ItemWindow("IDC_FS_closeAbout");
  ASSERT_NE(back, nullptr);
  EXPECT_FALSE(IsWindowVisible(back));
}

TEST_F(MovieTest, NoTextIsCutShortAtTheMainWindowSize) {
  EXPECT_TRUE(movie_->SetVariable("_root.version", "1.0.0.12"));
  const std::vector<std::string> clipped = movie_->ClippedTexts();
  EXPECT_TRUE(clipped.empty()) << clipped.size() << " cut short, the first: " << clipped.front();
}

TEST_F(MovieTest, ClickingEachItemSendsItsExactCommand) {
  for (const std::string& command : kHomeCommands) {
    if (command == "IDC_FS_about") continue;  // changes screen, tested below
    commands_.clear();
    Click(command);
    EXPECT_EQ(commands_, std::vector<std::string>{command});
    EXPECT_EQ(movie_->Screen(), MovieScreen::Home);
  }
}

TEST_F(MovieTest, AboutScreenAndTheWayBack) {
  Click("IDC_FS_about");
  EXPECT_EQ(commands_, std::vector<std::string>{"IDC_FS_about"});
  EXPECT_EQ(movie_->Screen(), MovieScreen::About);
  const HWND back = movie_->ItemWindow("IDC_FS_closeAbout");
  EXPECT_TRUE(IsWindowVisible(back));
  EXPECT_EQ(TextOf(back), "Back");
  EXPECT_FALSE(IsWindowVisible(movie_->ItemWindow("IDC_FS_wizardMode")));
  Click("IDC_FS_closeAbout");
  EXPECT_EQ(commands_, (std::vector<std::string>{"IDC_FS_about", "IDC_FS_closeAbout"}));
  EXPECT_EQ(movie_->Screen(), MovieScreen::Home);
  EXPECT_TRUE(IsWindowVisible(movie_->ItemWindow("IDC_FS_wizardMode")));
  EXPECT_FALSE(IsWindowVisible(back));
}

TEST_F(MovieTest, PressingTheTitleBandSendsDragAndTheBodyDoesNot) {
  SendMessageA(movie_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 20));
  EXPECT_EQ(commands_, std::vector<std::string>{"Drag"});
  commands_.clear();
  SendMessageA(movie_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 470));
  // A point left of the window (a second monitor) is not the band either.
  SendMessageA(movie_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 20));
  EXPECT_TRUE(commands_.empty());
}

TEST_F(MovieTest, TabMovesBetweenItemsAndEnterOrSpaceChooses) {
  const HWND first = movie_->ItemWindow("IDC_FS_wizardMode");
  const HWND second = movie_->ItemWindow("IDC_FS_normalMode");
  SetFocus(movie_->hwnd());  // the movie hands focus to its first item
  test::PumpMessages();
  ASSERT_EQ(GetFocus(), first);
  PressKey(host_, VK_TAB);
  EXPECT_EQ(GetFocus(), second);
  SetShift(true);
  PressKey(host_, VK_TAB);
  SetShift(false);
  EXPECT_EQ(GetFocus(), first);

  PressKey(host_, VK_RETURN);
  EXPECT_EQ(commands_, std::vector<std::string>{"IDC_FS_wizardMode"});
  PressKey(host_, VK_TAB);
  commands_.clear();
  PressKey(host_, VK_SPACE);
  EXPECT_EQ(commands_, std::vector<std::string>{"IDC_FS_normalMode"});

  // Tab reaches every item and wraps round within the movie.
  std::vector<HWND> seen;
  for (std::size_t i = 0; i < kHomeCommands.size(); ++i) {
    seen.push_back(GetFocus());
    PressKey(host_, VK_TAB);
  }
  EXPECT_EQ(GetFocus(), second);
  for (const std::string& command : kHomeCommands) {
    EXPECT_NE(std::find(seen.begin(), seen.end(), movie_->ItemWindow(command)), seen.end()) << command;
  }
}

TEST_F(MovieTest, KeyboardFocusFollowsTheScreen) {
  SetFocus(movie_->ItemWindow("IDC_FS_about"));
  PressKey(host_, VK_RETURN);
  ASSERT_EQ(movie_->Screen(), MovieScreen::About);
  EXPECT_EQ(GetFocus(), movie_->ItemWindow("IDC_FS_closeAbout"));
  PressKey(host_, VK_RETURN);
  EXPECT_EQ(movie_->Screen(), MovieScreen::Home);
  EXPECT_EQ(GetFocus(), movie_->ItemWindow("IDC_FS_wizardMode"));
}

TEST_F(MovieTest, VersionAndHomeVariables) {
  EXPECT_TRUE(movie_->SetVariable("_root.version", "1.0.0.12"));
  EXPECT_EQ(movie_->VersionText(), "1.0.0.12");
  EXPECT_FALSE(movie_->SetVariable("_root.Version", "9"));
  EXPECT_FALSE(movie_->SetVariable("_root.colour", "red"));
  EXPECT_EQ(movie_->VersionText(), "1.0.0.12");

  Click("IDC_FS_about");
  ASSERT_EQ(movie_->Screen(), MovieScreen::About);
  EXPECT_FALSE(movie_->SetVariable("_root.home", "false"));
  EXPECT_EQ(movie_->Screen(), MovieScreen::About);
  commands_.clear();
  EXPECT_TRUE(movie_->SetVariable("_root.home", "TRUE"));
  EXPECT_EQ(movie_->Screen(), MovieScreen::Home);
  EXPECT_TRUE(commands_.empty()) << "returning home on the host's word sends nothing back";
  EXPECT_TRUE(IsWindowVisible(movie_->ItemWindow("IDC_FS_close")));
}

TEST_F(MovieTest, LoadMovieReplacesItemsAndFallsBackWhenBroken) {
  const std::string path = WriteTempFile("tarvix-test.movie",
                                         "tarvix-movie 1\n[section]\ncaption = Only\nitem = Solo | IDC_FS_solo\n");
  EXPECT_TRUE(movie_->LoadMovie(0, path)) << movie_->LoadError();
  EXPECT_EQ(movie_->ItemWindow("IDC_FS_wizardMode"), nullptr);
  Click("IDC_FS_solo");
  EXPECT_EQ(commands_, std::vector<std::string>{"IDC_FS_solo"});

  // Other layers are refused and change nothing.
  EXPECT_FALSE(movie_->LoadMovie(1, path));
  EXPECT_NE(movie_->ItemWindow("IDC_FS_solo"), nullptr);

  const std::string broken = WriteTempFile("tarvix-broken-test.movie", "tarvix-movie 1\n[section]\n");
  EXPECT_FALSE(movie_->LoadMovie(0, broken));
  EXPECT_NE(movie_->LoadError().find("line"), std::string::npos) << movie_->LoadError();
  EXPECT_FALSE(movie_->LoadMovie(0, "Z:/nowhere/Tarvix.movie"));
  for (const std::string& command : kHomeCommands) EXPECT_NE(movie_->ItemWindow(command), nullptr) << command;
  std::remove(path.c_str());
  std::remove(broken.c_str());
}

TEST_F(MovieTest, HandlerMayDestroyOrReloadTheMovie) {
  movie_->SetCommandHandler([this](std::string_view command, std::string_view) {
    commands_.emplace_back(command);
    if (command == "IDC_FS_about") (void)movie_->LoadMovie(0, "Z:/nowhere/Tarvix.movie");
    if (command == "IDC_FS_close") movie_.reset();
  });
  Click("IDC_FS_about");
  EXPECT_EQ(movie_->Screen(), MovieScreen::About);
  Click("IDC_FS_closeAbout");
  const HWND close = movie_->ItemWindow("IDC_FS_close");
  SendMessageA(close, BM_CLICK, 0, 0);
  test::PumpMessages();
  EXPECT_EQ(movie_, nullptr);
  EXPECT_FALSE(IsWindow(close));
  EXPECT_EQ(commands_.back(), "IDC_FS_close");
}

TEST_F(MovieTest, HandlerExceptionsDoNotEscapeIntoWindows) {
  movie_->SetCommandHandler([](std::string_view, std::string_view) { throw std::runtime_error("host failed"); });
  Click("IDC_FS_about");
  EXPECT_EQ(movie_->Screen(), MovieScreen::About);
}


// Paints black over `window` on the screen, so that only a paint brings back its picture.
void Blacken(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  const WindowDC dc(window);
  FillRect(dc.get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// The picture behind the items is let go when painting pauses; the paints
// after it, of one item or of everything, draw it again exactly as before.
TEST_F(MovieTest, TheBackdropIsLetGoWhenPaintingPausesAndDrawnAgainAlike) {
  RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(movie_->HoldsBackdrop());
  const auto before = test::CaptureWindow(movie_->hwnd(), 724, 540);
  test::PumpMessagesFor(600);
  EXPECT_FALSE(movie_->HoldsBackdrop());

  const HWND item = movie_->ItemWindow("IDC_FS_ramConfig");
  ASSERT_NE(item, nullptr);
  Blacken(item);
  RedrawWindow(item, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(movie_->HoldsBackdrop());
  EXPECT_EQ(test::CaptureWindow(movie_->hwnd(), 724, 540), before) << "one item drawn anew";
  test::PumpMessagesFor(600);
  Blacken(movie_->hwnd());
  RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(test::CaptureWindow(movie_->hwnd(), 724, 540), before) << "everything drawn anew";
}

TEST_F(MovieTest, TheToolScreenMovesTheItemsBesideTheChildAreaAndHomeBringsThemBack) {
  const HWND wizard = movie_->ItemWindow("IDC_FS_wizardMode");
  RECT atHome{};
  GetWindowRect(wizard, &atHome);
  const Box area = movie_->ShowToolScreen("IDC_FS_ramConfig", 440, 240);
  EXPECT_EQ(movie_->Screen(), MovieScreen::Tool);
  EXPECT_EQ(movie_->ToolTitle(), "Ram Configuration");
  EXPECT_EQ(area, movie_->ChildAreaBox());
  EXPECT_EQ(area.width(), 440);
  EXPECT_EQ(area.height(), 240);
  // The same buttons, every one shown beside the child area; none of the About screen.
  RECT client{};
  GetClientRect(movie_->hwnd(), &client);
  for (const std::string& command : kHomeCommands) {
    const HWND item = movie_->ItemWindow(command);
    EXPECT_TRUE(IsWindowVisible(item)) << command;
    RECT box{};
    GetWindowRect(item, &box);
    MapWindowPoints(nullptr, movie_->hwnd(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_FALSE((Box{box.left, box.top, box.right, box.bottom}.Intersects(area))) << command;
    EXPECT_TRUE((Box{box.left, box.top, box.right, box.bottom}.Inside(Box{0, 0, client.right, client.bottom})));
  }
  EXPECT_FALSE(IsWindowVisible(movie_->ItemWindow("IDC_FS_closeAbout")));
  EXPECT_TRUE(movie_->ClippedTexts().empty());
  // A bar item's tool takes the bar item's caption as its title; a taller child area moves nothing else.
  const Box settings = movie_->ShowToolScreen("IDC_FS_settings", 440, 245);
  EXPECT_EQ(movie_->ToolTitle(), "Settings");
  EXPECT_EQ(settings.left, area.left);
  EXPECT_EQ(settings.height(), 245);
  Click("IDC_FS_backupManger");
  EXPECT_EQ(commands_.back(), "IDC_FS_backupManger");
  ASSERT_TRUE(movie_->SetVariable("_root.home", "true"));
  EXPECT_EQ(movie_->Screen(), MovieScreen::Home);
  EXPECT_TRUE(movie_->ChildAreaBox().empty());
  RECT back{};
  GetWindowRect(wizard, &back);
  EXPECT_TRUE(EqualRect(&atHome, &back));
}

}  // namespace
}  // namespace tarvix
