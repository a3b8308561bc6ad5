// The subclass chain: the order handlers see a message in, handlers that
// add or remove handlers while they run, and the window's own procedure
// given back once no handler is left.
#include "ui/Subclass.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tarvix {
namespace {

constexpr UINT kProbe = WM_APP + 1;

std::vector<std::string> g_seen;

LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) {
    g_seen.push_back("window");
    return 100;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

struct Handler {
  explicit Handler(std::string handlerName) : name(std::move(handlerName)) {}
  std::string name;
  // What the handler does to the chain when the probe reaches it.
  enum class Act { Pass, RemoveSelf, RemoveOther, AddOther, Swallow } act = Act::Pass;
  Handler* other = nullptr;
  std::vector<UINT> messages;
  std::wstring text;  // the last WM_SETTEXT, as the handler received it
};

LRESULT CALLBACK Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                        DWORD_PTR data) {
  auto* self = reinterpret_cast<Handler*>(data);
  self->messages.push_back(message);
  if (message == WM_SETTEXT) self->text = reinterpret_cast<const wchar_t*>(lParam);
  if (message != kProbe) return DefSubclass(window, message, wParam, lParam);
  g_seen.push_back(self->name);
  switch (self->act) {
    case Handler::Act::RemoveSelf:
      RemoveSubclass(window, &Handle, id);
      if (self->other != nullptr) RemoveSubclass(window, &Handle, reinterpret_cast<UINT_PTR>(self->other));
      break;
    case Handler::Act::RemoveOther: RemoveSubclass(window, &Handle, reinterpret_cast<UINT_PTR>(self->other)); break;
    case Handler::Act::AddOther:
      EXPECT_TRUE(AddSubclass(window, &Handle, reinterpret_cast<UINT_PTR>(self->other),
                              reinterpret_cast<DWORD_PTR>(self->other)));
      break;
    case Handler::Act::Swallow: return 7;
    case Handler::Act::Pass: break;
  }
  return DefSubclass(window, message, wParam, lParam) + 1;
}

bool Add(HWND window, Handler& handler) {
  return AddSubclass(window, &Handle, reinterpret_cast<UINT_PTR>(&handler), reinterpret_cast<DWORD_PTR>(&handler));
}

class SubclassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = OwnProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TarvixSubclassTest";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    g_seen.clear();
  }
  void TearDown() override {
    if (window_ != nullptr) DestroyWindow(window_);
  }

  std::vector<std::string> Probe(LRESULT expected) {
    g_seen.clear();
    EXPECT_EQ(SendMessageA(window_, kProbe, 0, 0), expected);
    return g_seen;
  }

  [[nodiscard]] WNDPROC Procedure() const {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window_, GWLP_WNDPROC));
  }

  HWND window_ = nullptr;
};

using Seen = std::vector<std::string>;

TEST_F(SubclassTest, TheNewestHandlerComesFirstAndTheWindowLastAndTheOwnProcedureComesBackAfterTheLast) {
  const WNDPROC own = Procedure();
  Handler a("a"), b("b");
  ASSERT_TRUE(Add(window_, a));
  ASSERT_TRUE(Add(window_, b));
  EXPECT_NE(Procedure(), own);
  EXPECT_EQ(Probe(102), (Seen{"b", "a", "window"}));
  // Adding a handler again gives it new data; it is not called twice.
  ASSERT_TRUE(Add(window_, a));
  EXPECT_EQ(Probe(102), (Seen{"b", "a", "window"}));
  b.act = Handler::Act::Swallow;
  EXPECT_EQ(Probe(7), (Seen{"b"}));

  EXPECT_TRUE(RemoveSubclass(window_, &Handle, reinterpret_cast<UINT_PTR>(&b)));
  EXPECT_FALSE(RemoveSubclass(window_, &Handle, reinterpret_cast<UINT_PTR>(&b)));
  EXPECT_EQ(Probe(101), (Seen{"a", "window"}));
  EXPECT_TRUE(RemoveSubclass(window_, &Handle, reinterpret_cast<UINT_PTR>(&a)));
  EXPECT_EQ(Procedure(), own);
  EXPECT_EQ(Probe(100), (Seen{"window"}));
}

TEST_F(SubclassTest, HandlersThatChangeTheChainWhileTheyRunStillPassTheMessageOn) {
  const WNDPROC own = Procedure();
  Handler a("a"), b("b"), c("c"), d("d");
  ASSERT_TRUE(Add(window_, a));
  ASSERT_TRUE(Add(window_, b));
  ASSERT_TRUE(Add(window_, c));
  // c takes itself off, then b below it, and still passes this very message on, past b.
  c.act = Handler::Act::RemoveSelf;
  c.other = &b;
  EXPECT_EQ(Probe(102), (Seen{"c", "a", "window"}));
  EXPECT_EQ(Probe(101), (Seen{"a", "window"}));
  // A handler added while a message runs sees the next message first.
  a.act = Handler::Act::AddOther;
  a.other = &d;
  EXPECT_EQ(Probe(101), (Seen{"a", "window"}));
  a.act = Handler::Act::Pass;
  EXPECT_EQ(Probe(102), (Seen{"d", "a", "window"}));
  // The last handler to go, in the middle of a message, gives the window its procedure back after it.
  d.act = Handler::Act::RemoveOther;
  d.other = &a;
  EXPECT_EQ(Probe(101), (Seen{"d", "window"}));
  d.act = Handler::Act::RemoveSelf;
  d.other = nullptr;
  EXPECT_EQ(Probe(101), (Seen{"d", "window"}));
  EXPECT_EQ(Procedure(), own);
}

TEST_F(SubclassTest, HandlersSeeUnicodeTextAndTheDestructionAndAnotherSubclassOnTopKeepsWorking) {
  Handler a("a");
  ASSERT_TRUE(Add(window_, a));
  SetWindowTextA(window_, "Processor usage (3%).");
  EXPECT_EQ(a.text, L"Processor usage (3%).");
  char text[64] = {};
  GetWindowTextA(window_, text, sizeof text);
  EXPECT_STREQ(text, "Processor usage (3%).");

  // Someone subclasses the window after us: taking ours off keeps theirs on top, and messages still get through.
  static WNDPROC below = nullptr;
  below = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kProbe) g_seen.push_back("on top");
        return CallWindowProcA(below, window, message, wParam, lParam);
      })));
  EXPECT_EQ(Probe(101), (Seen{"on top", "a", "window"}));
  EXPECT_TRUE(RemoveSubclass(window_, &Handle, reinterpret_cast<UINT_PTR>(&a)));
  EXPECT_EQ(Probe(100), (Seen{"on top", "window"}));
  Handler b("b");
  ASSERT_TRUE(Add(window_, b));
  EXPECT_EQ(Probe(101), (Seen{"on top", "b", "window"}));

  // The last message a handler sees is WM_NCDESTROY.
  DestroyWindow(window_);
  window_ = nullptr;
  ASSERT_FALSE(b.messages.empty());
  EXPECT_EQ(b.messages.back(), static_cast<UINT>(WM_NCDESTROY));
  EXPECT_FALSE(Add(window_, b));
}

}  // namespace
}  // namespace tarvix
