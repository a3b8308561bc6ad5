// The skin engine on real windows: schemes applied and given back, the
// colours a skinned parent hands its controls, and a missing skin leaving
// every window as Windows draws it.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/skin/Skin.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/Handles.h"

namespace tarvix {
namespace {

constexpr const char* kSkinText =
    "tarvix-skin 1\n"
    "[controlForm]\nbackground = #102030\ntext = #F0E0D0\n"
    "[Button]\nbackground = #1E6FD9\ntext = #FFFFFF\nfont = Tahoma, 10, bold\n"
    "[Label]\nbackground = #102030\ntext = #A0B0C0\n"
    "[Frame]\nbackground = #102030\n";

class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.reset(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr));
    button_ = CreateControl(form_.get(), {ControlKind::Button, 1, "&Save", 10, 10, 80, 24});
    label_ = CreateControl(form_.get(), {ControlKind::Label, 2, "Text", 10, 40, 80, 20});
    edit_ = CreateControl(form_.get(), {ControlKind::Edit, 3, "", 10, 70, 80, 20});
  }

  UniqueWindow form_;
  HWND button_ = nullptr, label_ = nullptr, edit_ = nullptr;
};

TEST_F(SkinTest, MissingOrBrokenSkinLeavesWindowsPlain) {
  Skin skin;
  EXPECT_FALSE(skin.Load("C:\\no\\such\\folder\\TarvixMask.skn"));
  EXPECT_FALSE(skin.LoadError().empty());
  EXPECT_FALSE(skin.IsLoaded());
  EXPECT_FALSE(skin.Apply(button_, "Button"));
  EXPECT_FALSE(skin.LoadText("tarvix-skin 1\n[Button]\ntext = red\n"));
  EXPECT_FALSE(skin.Apply(button_, "Button"));
  EXPECT_FALSE(skin.SchemeOf(button_).has_value());
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(button_, WM_GETFONT, 0, 0));
  EXPECT_EQ(font, DialogFontFor(WindowDpi(button_)));
}

TEST_F(SkinTest, SchemesApplyByNameAndUnloadGivesEverythingBack) {
  Skin skin;
  ASSERT_TRUE(skin.LoadText(kSkinText)) << skin.LoadError();
  EXPECT_FALSE(skin.Apply(button_, "RadioBox")) << "a scheme the file lacks";
  EXPECT_FALSE(skin.Apply(nullptr, "Button"));
  ASSERT_TRUE(skin.Apply(form_.get(), "controlForm"));
  ASSERT_TRUE(skin.Apply(button_, "Button"));
  ASSERT_TRUE(skin.Apply(label_, "Label"));
  EXPECT_EQ(skin.SchemeOf(button_).value_or(""), "Button");
  EXPECT_FALSE(skin.SchemeOf(edit_).has_value());
  // The button takes the scheme's font.
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageA(button_, WM_GETFONT, 0, 0)), DialogFontFor(WindowDpi(button_)));

  // The skinned form answers its label's colour request with the label's scheme.
  const WindowDC dc(label_);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(form_.get(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(label_)));
  EXPECT_NE(brush, nullptr);
  EXPECT_EQ(GetTextColor(dc.get()), RGB(0xA0, 0xB0, 0xC0));

  skin.Unload();
  EXPECT_FALSE(skin.SchemeOf(button_).has_value());
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(button_, WM_GETFONT, 0, 0)), DialogFontFor(WindowDpi(button_)));
}

TEST_F(SkinTest, ControlSchemesFollowTheKindOfEachControl) {
  Skin skin;
  ASSERT_TRUE(skin.LoadText(kSkinText));
  const HWND frame = CreateControl(form_.get(), {ControlKind::Frame, 4, "Group", 5, 100, 200, 80});
  ApplyControlSchemes(skin, form_.get());
  EXPECT_EQ(skin.SchemeOf(button_).value_or(""), "Button");
  EXPECT_EQ(skin.SchemeOf(label_).value_or(""), "Label");
  EXPECT_EQ(skin.SchemeOf(frame).value_or(""), "Frame");
  EXPECT_FALSE(skin.SchemeOf(edit_).has_value());
  // A destroyed control is forgotten, not touched again at unload.
  DestroyWindow(button_);
  EXPECT_FALSE(skin.SchemeOf(button_).has_value());
  skin.Unload();
}

}  // namespace
}  // namespace tarvix
