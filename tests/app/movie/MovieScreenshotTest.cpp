// Renders the movie in a 724 x 540 top-level window and saves what the
// screen shows as PNG files in $TARVIX_ARTIFACTS (movie-home.png,
// movie-about.png), so that the look can be reviewed.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/movie/Movie.h"
#include "app/Version.h"
#include "support/FakeShell.h"
#include "support/Screenshot.h"

namespace tarvix {
namespace {

using test::CaptureWindow;
using test::DistinctColours;
using test::WritePng;


TEST(MovieScreenshot, HomeAndAboutScreens) {
  const char* artifacts = std::getenv("TARVIX_ARTIFACTS");
  const std::string folder = artifacts != nullptr ? std::string("Z:") + artifacts : std::string(".");
  WNDCLASSEXA host{};
  host.cbSize = sizeof host;
  host.lpfnWndProc = DefWindowProcA;
  host.hInstance = GetModuleHandleA(nullptr);
  host.lpszClassName = "TarvixMovieShotHost";
  RegisterClassExA(&host);
  const HWND window = CreateWindowExA(WS_EX_TOPMOST, "TarvixMovieShotHost", "Tarvix", WS_POPUP | WS_CLIPCHILDREN,
                                      100, 100, 724, 540, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  auto movie = std::make_unique<Movie>();
  ASSERT_TRUE(movie->Create(window, 0, 0, 724, 540));
  EXPECT_TRUE(movie->SetVariable("_root.version", TARVIX_VERSION_TEXT));
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  // Focus on the first tile and the mouse over another show both states.
  SetFocus(movie->ItemWindow("IDC_FS_wizardMode"));
  const HWND hovered = movie->ItemWindow("IDC_FS_systemSatus");
  // The display's one pointer decides what is hot: rest it on that tile.
  RECT hoveredBox{};
  GetWindowRect(hovered, &hoveredBox);
  SetCursorPos(hoveredBox.left + 10, hoveredBox.top + 10);
  SendMessageA(hovered, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  UpdateWindow(window);
  test::PumpMessagesFor(100);

  const auto home = CaptureWindow(window, 724, 540);
  EXPECT_GT(DistinctColours(home), 20u) << "the home screen looks flat";
  EXPECT_TRUE(WritePng(folder + "/movie-home.png", 724, 540, home));

  SendMessageA(movie->ItemWindow("IDC_FS_about"), BM_CLICK, 0, 0);
  UpdateWindow(window);
  test::PumpMessagesFor(100);
  ASSERT_EQ(movie->Screen(), MovieScreen::About);
  const auto about = CaptureWindow(window, 724, 540);
  EXPECT_NE(home, about);
  EXPECT_TRUE(WritePng(folder + "/movie-about.png", 724, 540, about));

  movie.reset();
  DestroyWindow(window);
}

}  // namespace
}  // namespace tarvix
