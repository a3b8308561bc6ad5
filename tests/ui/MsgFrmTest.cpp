// The three boxes on a real display. The modal ones are driven from a thread
// timer that runs inside their message loop, the way a user's clicks would
// arrive; pictures of them go to build/artifacts.
#include "ui/msgFrm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "BalloonTestSupport.h"
#include "support/FakeShell.h"
#include "support/Screenshot.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using test::Click;
using test::PatternWindow;
using test::PumpFor;

constexpr int kTwips = 15;
constexpr COLORREF kNoteColor = RGB(242, 248, 200);

// The modal box on screen, if any.
msgFrm* ShownModalBox() {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, msgFrm::ClassName(), nullptr)) != nullptr) {
    msgFrm* box = msgFrm::FromHandle(window);
    if (box != nullptr && box->Panel() != BoxPanel::Auto && IsWindowVisible(window)) return box;
  }
  return nullptr;
}

// Runs its steps one per timer tick while a modal box shows. A box still
// open long after the last step is cancelled, and the script says so.
class BoxScript {
 public:
  using Step = std::function<void(msgFrm&)>;
  explicit BoxScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 60, &BoxScript::Tick);
  }
  ~BoxScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  BoxScript(const BoxScript&) = delete;
  BoxScript& operator=(const BoxScript&) = delete;

  [[nodiscard]] bool Finished() const noexcept { return next_ == steps_.size() && !timedOut_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    BoxScript* self = current_;
    // A step that pumps messages must not start the next one inside it.
    if (self == nullptr || self->busy_) return;
    self->busy_ = true;
    try {
      msgFrm* box = ShownModalBox();
      if (box == nullptr) return;
      if (self->next_ < self->steps_.size()) {
        const Step step = self->steps_[self->next_++];
        step(*box);
      } else if (++self->idleTicks_ > 40) {
        self->timedOut_ = true;
        if (box->Panel() == BoxPanel::Input) Click(box->Control(IDC_ICMD_CANCEL));
        else Click(box->Control(IDC_CMD1_0));
      }
    } catch (...) {
      // A failing step must not unwind through the timer dispatch.
    }
    self->busy_ = false;
  }

  static inline BoxScript* current_ = nullptr;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int idleTicks_ = 0;
  bool timedOut_ = false;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
};

RECT ChildRect(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Saves what the screen shows around `window` (its shadow included), once
// the window has painted and Wine has put the picture on the screen.
void SaveAround(HWND window, const std::string& fileName, int margin = 16) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpFor(120);
  RECT r{};
  GetWindowRect(window, &r);
  const int left = std::max(0, static_cast<int>(r.left) - margin);
  const int top = std::max(0, static_cast<int>(r.top) - margin);
  const int right = std::min(GetSystemMetrics(SM_CXSCREEN), static_cast<int>(r.right) + margin);
  const int bottom = std::min(GetSystemMetrics(SM_CYSCREEN), static_cast<int>(r.bottom) + margin);
  const auto rgb = test::CaptureScreenArea(left, top, right - left, bottom - top);
  EXPECT_GT(test::DistinctColours(rgb), 5u) << fileName;
  EXPECT_TRUE(test::WritePng(test::ArtifactPath(fileName), right - left, bottom - top, rgb)) << fileName;
}

// Moves the mouse as a user would, and lets the windows hear of it.
void MoveMouseTo(int x, int y) {
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((x * 65535 + sw / 2) / (sw - 1));
  input.mi.dy = static_cast<LONG>((y * 65535 + sh / 2) / (sh - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  EXPECT_EQ(SendInput(1, &input, sizeof input), 1u);
  PumpFor(100);
}

std::vector<int> VisibleButtonLefts(const msgFrm& box) {
  std::vector<int> lefts;
  for (int i = 0; i < 3; ++i) {
    const HWND button = box.Control(IDC_CMD1_0 + i);
    if (IsWindowVisible(button)) lefts.push_back(ChildRect(button).left);
  }
  return lefts;
}

class MsgFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = "TarvixBoxOwner";
    RegisterClassExA(&windowClass);
    owner_.reset(CreateWindowExA(0, "TarvixBoxOwner", "Tarvix", WS_POPUP | WS_BORDER, 520, 420, 240, 160, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr));
    ShowWindow(owner_.get(), SW_SHOWNOACTIVATE);
    SetForegroundWindow(owner_.get());
    SetActiveWindow(owner_.get());
    PumpFor(50);
  }
  void TearDown() override { UnloadNotificationBox(); }

  PatternWindow background_;
  UniqueWindow owner_;
};

TEST_F(MsgFrmTest, YesNoCancelWithTickedCheckBoxReturns106AndDisablesTheOwner) {
  bool ownerDisabledMeanwhile = false;
  std::vector<int> lefts;
  std::int16_t defaultButton = 0;
  bool focusOnDefault = false;
  BoxScript script({
      [&](msgFrm& box) {
        ownerDisabledMeanwhile = !IsWindowEnabled(owner_.get());
        lefts = VisibleButtonLefts(box);
        defaultButton = box.DefaultButtonNumber();
        focusOnDefault = GetFocus() == box.Control(IDC_CMD1_0 + 1);
        EXPECT_TRUE(IsWindowVisible(box.Control(IDC_CHECK1)));
        EXPECT_EQ(WindowText(box.Control(IDC_CHECK1)), "Do not ask again");
        Click(box.Control(IDC_CHECK1));
      },
      [&](msgFrm& box) {
        EXPECT_EQ(WindowText(box.Control(IDC_CMD1_0)), "Yes");
        Click(box.Control(IDC_CMD1_0));
      },
  });
  const std::int16_t result = msg_Box("Free the memory now?", 3 | 32 | 256, "Tarvix", false, "Do not ask again", "",
                                      "", "", RGB(230, 240, 255), 500.0f, 400.0f, 0);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(result, 106);
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner_.get()));
  EXPECT_EQ(defaultButton, 2);
  EXPECT_TRUE(focusOnDefault);
  const int panelTwips = (359 - 30) * kTwips;
  const auto expected = msgbox::ButtonLefts(3, panelTwips);
  ASSERT_EQ(lefts.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(lefts[i], expected[i] / kTwips) << i;
}

TEST_F(MsgFrmTest, ResultCodesWithoutCheckBoxAndByEscape) {
  {
    BoxScript script({[](msgFrm& box) { Click(box.Control(IDC_CMD1_0 + 1)); }});
    EXPECT_EQ(msg_Box("Keep it?", 4, "Tarvix", true, "", "", "", "", 0, 300.0f, 300.0f, 0), msgbox::kNo);
    EXPECT_TRUE(script.Finished());
  }
  {
    // A drag: the body alone while moving, then body and shadow, no pointer.
    bool pointerBefore = false, shadowWhileMoving = true, pointerAfter = true, shadowAfter = false;
    BoxScript script({[&](msgFrm& box) {
      const auto inShape = [&box](int x, int y) {
        const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
        return GetWindowRgn(box.hwnd(), region.get()) != ERROR && PtInRegion(region.get(), x, y) != FALSE;
      };
      const int w = box.Surface().Width();
      pointerBefore = inShape(42, 15);
      box.BeginDragShape();
      shadowWhileMoving = inShape(w - 8, 60);
      SetWindowPos(box.hwnd(), nullptr, 420, 380, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      box.EndDrag();
      pointerAfter = inShape(42, 15);
      shadowAfter = inShape(w - 8, 60);
      Click(box.Control(IDC_CMD1_0));
    }});
    EXPECT_EQ(msg_Box("Drag me", 0, "Tarvix", false, "", "", "", "", 0, 300.0f, 300.0f, 20), msgbox::kOk);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(pointerBefore);
    EXPECT_FALSE(shadowWhileMoving);
    EXPECT_FALSE(pointerAfter);
    EXPECT_TRUE(shadowAfter);
  }
  {
    // A ticked box that is not shown adds nothing.
    BoxScript script({[](msgFrm& box) {
      EXPECT_FALSE(IsWindowVisible(box.Control(IDC_CHECK1)));
      Click(box.Control(IDC_CMD1_0 + 2));
    }});
    EXPECT_EQ(msg_Box("Retry?", 2, "Tarvix", false, "", "", "", "", 0, 300.0f, 300.0f, 0), msgbox::kIgnore);
    EXPECT_TRUE(script.Finished());
  }
  {
    // Escape means Cancel where the box has one.
    BoxScript script({[](msgFrm& box) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); (void)box; }});
    EXPECT_EQ(msg_Box("Apply?", 3, "Tarvix", false, "", "", "", "", 0, 300.0f, 300.0f, 0), msgbox::kCancel);
    EXPECT_TRUE(script.Finished());
  }
}

// A real drag with the mouse: pressed on the body's margin, moved, released.
TEST_F(MsgFrmTest, DraggingTheBoxMovesItAndDropsThePointer) {
  RECT before{}, after{};
  bool pointerAfter = true, shadowAfter = false;
  BoxScript script({
      [&](msgFrm& box) {
        GetWindowRect(box.hwnd(), &before);
        const int x = before.left + 3;
        const int y = before.top + 60;
        const auto absolute = [](int value, int extent) {
          return static_cast<LONG>((value * 65535 + extent / 2) / (extent - 1));
        };
        const int sw = GetSystemMetrics(SM_CXSCREEN);
        const int sh = GetSystemMetrics(SM_CYSCREEN);
        INPUT inputs[4]{};
        const DWORD flags[4] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTUP};
        const POINT at[4] = {{x, y}, {x, y}, {x + 60, y + 40}, {x + 60, y + 40}};
        for (int i = 0; i < 4; ++i) {
          inputs[i].type = INPUT_MOUSE;
          inputs[i].mi.dx = absolute(at[i].x, sw);
          inputs[i].mi.dy = absolute(at[i].y, sh);
          inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        }
        EXPECT_EQ(SendInput(4, inputs, sizeof(INPUT)), 4u);
      },
      [&](msgFrm& box) {
        GetWindowRect(box.hwnd(), &after);
        const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(box.hwnd(), region.get()) != ERROR) {
          pointerAfter = PtInRegion(region.get(), 42, 15) != FALSE;
          shadowAfter = PtInRegion(region.get(), box.Surface().Width() - 8, 60) != FALSE;
        }
        Click(box.Control(IDC_CMD1_0));
      },
  });
  EXPECT_EQ(msg_Box("Drag me", 0, "Tarvix", false, "", "", "", "", 0, 300.0f, 300.0f, 0), msgbox::kOk);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(after.left - before.left, 60);
  EXPECT_EQ(after.top - before.top, 40);
  EXPECT_FALSE(pointerAfter);
  EXPECT_TRUE(shadowAfter);
}

TEST_F(MsgFrmTest, ButtonLayoutsForOneTwoAndCustomCaptions) {
  const int panelTwips = (359 - 30) * kTwips;
  std::vector<int> one, two, custom;
  std::string customCaption;
  {
    BoxScript script({[&](msgFrm& box) {
      one = VisibleButtonLefts(box);
      Click(box.Control(IDC_CMD1_0));
    }});
    EXPECT_EQ(msg_Box("Done.", 0 | 64, "Tarvix", false, "", "", "", "", 0, 300.0f, 300.0f, 0), msgbox::kOk);
  }
  {
    BoxScript script({[&](msgFrm& box) {
      two = VisibleButtonLefts(box);
      Click(box.Control(IDC_CMD1_0 + 1));
    }});
    EXPECT_EQ(msg_Box("Go on?", 1, "Tarvix", false, "", "", "", "", 0, 300.0f, 300.0f, 0), msgbox::kCancel);
  }
  {
    BoxScript script({[&](msgFrm& box) {
      custom = VisibleButtonLefts(box);
      customCaption = WindowText(box.Control(IDC_CMD1_0 + 1));
      Click(box.Control(IDC_CMD1_0 + 1));
    }});
    EXPECT_EQ(msg_Box("Pick one", 6, "Tarvix", false, "", "", "B", "", 0, 300.0f, 300.0f, 0), 2);
  }
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0], msgbox::ButtonLefts(1, panelTwips)[0] / kTwips);
  const auto twoPlaces = msgbox::ButtonLefts(2, panelTwips);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0], twoPlaces[0] / kTwips);
  EXPECT_EQ(two[1], twoPlaces[1] / kTwips);
  ASSERT_EQ(custom.size(), 1u);
  EXPECT_EQ(custom[0], twoPlaces[1] / kTwips);
  EXPECT_EQ(customCaption, "B");
}

TEST_F(MsgFrmTest, ColourZeroIsLightYellowAndIconFieldZeroMovesTheTitle) {
  COLORREF messageColour = 0;
  COLORREF inputColour = 0;
  std::uint32_t bodyPixel = 0;
  bool iconShown = true;
  int titleLeft = -1;
  {
    BoxScript script({[&](msgFrm& box) {
      messageColour = box.PanelColor();
      bodyPixel = box.Surface().BackPixel(4, 80);
      iconShown = IsWindowVisible(box.Control(IDC_P1)) != FALSE;
      titleLeft = ChildRect(box.Control(IDC_LBLTITLE)).left;
      Click(box.Control(IDC_CMD1_0));
    }});
    (void)msg_Box("No icon here", 0, "Plain", false, "", "", "", "", 0, 300.0f, 300.0f, 0);
  }
  {
    BoxScript script({[&](msgFrm& box) {
      inputColour = box.PanelColor();
      Click(box.Control(IDC_ICMD_CANCEL));
    }});
    (void)input_box("Name?", 0, "Tarvix", "", false, "", 0, 300.0f, 300.0f, 0);
  }
  EXPECT_EQ(messageColour, RGB(255, 255, 204));
  EXPECT_EQ(inputColour, RGB(255, 255, 204));
  EXPECT_EQ(bodyPixel, 0x00FFFFCCu);
  EXPECT_FALSE(iconShown);
  EXPECT_EQ(titleLeft, msgbox::kMessageDesign.left / kTwips);

  BoxScript script({[&](msgFrm& box) {
    iconShown = IsWindowVisible(box.Control(IDC_P1)) != FALSE;
    titleLeft = ChildRect(box.Control(IDC_LBLTITLE)).left;
    Click(box.Control(IDC_CMD1_0));
  }});
  (void)msg_Box("Stop", 16, "Error", false, "", "", "", "", 0, 300.0f, 300.0f, 0);
  EXPECT_TRUE(iconShown);
  EXPECT_EQ(titleLeft, msgbox::kTitleDesign.left / kTwips);
}

TEST_F(MsgFrmTest, InputBoxOkNeedsTextCancelGivesNothingTickAppendsMark) {
  bool openAfterEmptyOk = false;
  BoxScript script({
      [](msgFrm& box) {
        test::TypeText(box.Control(IDC_ITXT), "");
        Click(box.Control(IDC_ICMD_OK));
      },
      [&](msgFrm& box) {
        openAfterEmptyOk = IsWindowVisible(box.hwnd()) != FALSE;
        test::TypeText(box.Control(IDC_ITXT), "example.org");
        Click(box.Control(IDC_CHECK2));
        Click(box.Control(IDC_ICMD_OK));
      },
  });
  const std::string result =
      input_box("Host to ping:", 32, "Net pinger", "localhost", false, "Remember", 0, 300.0f, 300.0f, 0);
  EXPECT_TRUE(script.Finished());
  EXPECT_TRUE(openAfterEmptyOk);
  EXPECT_EQ(result, "example.org\xAC");

  BoxScript cancel({[](msgFrm& box) {
    test::TypeText(box.Control(IDC_ITXT), "typed anyway");
    Click(box.Control(IDC_CHECK2));
    Click(box.Control(IDC_ICMD_CANCEL));
  }});
  EXPECT_EQ(input_box("Host:", 0, "Net pinger", "x", false, "Remember", 0, 300.0f, 300.0f, 0), "");
  EXPECT_TRUE(cancel.Finished());

  // Enter in the field means OK; the default text comes back as it was.
  BoxScript enter({[](msgFrm& box) { PostMessageA(box.Control(IDC_ITXT), WM_KEYDOWN, VK_RETURN, 0); }});
  EXPECT_EQ(input_box("Host:", 0, "Net pinger", "127.0.0.1", false, "", 0, 300.0f, 300.0f, 0), "127.0.0.1");
  EXPECT_TRUE(enter.Finished());
}

TEST_F(MsgFrmTest, StartHiddenNoticeSitsInTheLowerRightCornerAndClosesItself) {
  const int screenW = GetSystemMetrics(SM_CXSCREEN);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(MsgAuto_box("The Program Still Running Here", 64, "Program notification", 5, true, kNoteColor,
                        static_cast<float>(screenW - 40), static_cast<float>(screenH), 0),
            "");
  msgFrm* box = NotificationBox();
  ASSERT_NE(box, nullptr);
  const HWND window = box->hwnd();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right, screenW + 2);
  EXPECT_EQ(r.bottom, screenH);
  EXPECT_EQ(box->AutoCloseInterval(), 5000u);
  EXPECT_EQ(box->PanelColor(), kNoteColor);
  EXPECT_EQ(WindowText(box->Control(IDC_AMSG)), "The Program Still Running Here");
  EXPECT_EQ(WindowText(box->Control(IDC_ATITLE)), "Program notification");
  EXPECT_TRUE(IsWindowVisible(box->Control(IDC_APIC)));
  PumpFor(300);
  SaveAround(window, "notification-lower-right.png", 60);

  // The close image: hover, press, release, and leaving over the panel;
  // first with the mouse itself, then message by message.
  const HWND panel = box->Control(IDC_F1_AUTO);
  const HWND close = box->Control(IDC_COMMAND1);
  EXPECT_EQ(box->CloseImageIcon(), msgbox::kIconCloseNormal);
  RECT closeRect{};
  GetWindowRect(close, &closeRect);
  MoveMouseTo(closeRect.left + 8, closeRect.top + 8);
  EXPECT_EQ(box->CloseImageIcon(), msgbox::kIconCloseHover);
  MoveMouseTo(closeRect.left - 120, closeRect.top + 30);
  EXPECT_EQ(box->CloseImageIcon(), msgbox::kIconCloseNormal);

  SendMessageA(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(close), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(box->CloseImageIcon(), msgbox::kIconCloseHover);
  SendMessageA(close, BM_SETSTATE, TRUE, 0);
  UpdateWindow(close);
  EXPECT_EQ(box->CloseImageIcon(), msgbox::kIconClosePressed);
  SendMessageA(close, BM_SETSTATE, FALSE, 0);
  UpdateWindow(close);
  EXPECT_EQ(box->CloseImageIcon(), msgbox::kIconCloseHover);
  SendMessageA(panel, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(box->CloseImageIcon(), msgbox::kIconCloseNormal);

  // A second notice while one shows lays out the same window anew.
  (void)MsgAuto_box("Second notice", 0, "Program notification", 1, false, kNoteColor, 200.0f, 200.0f, 10);
  ASSERT_EQ(NotificationBox(), box);
  EXPECT_EQ(box->hwnd(), window);
  EXPECT_FALSE(IsWindowVisible(box->Control(IDC_APIC)));
  EXPECT_EQ(box->Tag(), "10");
  // Its one second runs out.
  PumpFor(1500);
  EXPECT_EQ(NotificationBox(), nullptr);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(MsgFrmTest, NoticeWithoutTimeStaysUntilItsCloseImageIsClicked) {
  (void)MsgAuto_box("Stays", 48, "Program notification", 0, false, kNoteColor, 900.0f, 700.0f, 0);
  msgFrm* box = NotificationBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->AutoCloseInterval(), 0u);
  PumpFor(600);
  ASSERT_EQ(NotificationBox(), box);
  EXPECT_TRUE(IsWindowVisible(box->hwnd()));
  // The notice cannot be dragged: a press on it leaves its shape alone.
  SendMessageA(box->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 40));
  EXPECT_TRUE(IsWindowVisible(box->hwnd()));
  Click(box->Control(IDC_COMMAND1));
  PumpFor(100);
  EXPECT_EQ(NotificationBox(), nullptr);
}

// A box's window, panels, fonts, brushes, icons and regions all go with it.
TEST_F(MsgFrmTest, BoxesLeaveNoGdiObjectsBehind) {
  const auto oneOfEach = [] {
    BoxScript message({[](msgFrm& box) {
      Click(box.Control(IDC_CHECK1));
      Click(box.Control(IDC_CMD1_0));
    }});
    (void)msg_Box("Once", 3 | 16, "Tarvix", false, "Tick", "", "", "", 0, 300.0f, 300.0f, 5);
    BoxScript input({[](msgFrm& box) { Click(box.Control(IDC_ICMD_OK)); }});
    (void)input_box("Name", 64, "Tarvix", "x", false, "Tick", 0, 300.0f, 300.0f, 5);
    (void)MsgAuto_box("Note", 64, "Tarvix", 0, false, kNoteColor, 300.0f, 300.0f, 5);
    Click(NotificationBox()->Control(IDC_COMMAND1));
    PumpFor(50);
  };
  oneOfEach();  // the process-wide font and icon strip are made once
  const int before = test::LiveGdiObjects();
  for (int i = 0; i < 3; ++i) oneOfEach();
  EXPECT_EQ(test::LiveGdiObjects(), before);
}

// Pictures for review: the Yes/No/Cancel box with its pointer in each screen
// quarter, and the input box with its check box, over the pattern.
TEST_F(MsgFrmTest, PicturesOfTheBoxesInEachQuarter) {
  const int screenW = GetSystemMetrics(SM_CXSCREEN);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  struct Quarter {
    float x;
    float y;
    const char* file;
    std::int16_t intensity;
  };
  const Quarter quarters[] = {
      {static_cast<float>(screenW - 250), static_cast<float>(screenH - 200), "msgbox-pointer-bottom-right.png", 0},
      {static_cast<float>(screenW - 250), 200.0f, "msgbox-pointer-top-right.png", 40},
      {250.0f, static_cast<float>(screenH - 200), "msgbox-pointer-bottom-left.png", -20},
      {250.0f, 200.0f, "msgbox-pointer-top-left.png", 75},
  };
  for (const Quarter& q : quarters) {
    BoxScript script({[&](msgFrm& box) {
      SaveAround(box.hwnd(), q.file);
      Click(box.Control(IDC_CMD1_0 + 2));
    }});
    EXPECT_EQ(msg_Box("Your network settings were changed. Restart Windows now so that they take effect?",
                      3 | 32, "Restart Windows", false, "Do not ask again", "", "", "", 0, q.x, q.y, q.intensity),
              msgbox::kCancel);
    EXPECT_TRUE(script.Finished()) << q.file;
  }

  bool ticked = false;
  BoxScript input({
      [&](msgFrm& box) {
        Click(box.Control(IDC_CHECK2));
        ticked = IsChecked(box.Control(IDC_CHECK2));
      },
      [](msgFrm& box) {
        SaveAround(box.hwnd(), "inputbox-with-checkbox.png");
        Click(box.Control(IDC_ICMD_CANCEL));
      },
  });
  EXPECT_EQ(input_box("Enter the host name or address to keep the connection alive with:", 64, "Net pinger",
                      "localhost", false, "Start pinging at once", 0, 600.0f, 300.0f, 0),
            "");
  EXPECT_TRUE(input.Finished());
  EXPECT_TRUE(ticked);
}

}  // namespace
}  // namespace tarvix
