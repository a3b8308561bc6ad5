// The pinger window: its controls, loading and saving in both modes, the
// change rules, the timer driving the schedule, Ping Now, and a picture of
// the skinned window. Pings go to a recording stand-in, or for real to
// 127.0.0.1 only.
#include "pinger/frmNetPingerSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/AppPaths.h"
#include "app/skin/Skin.h"
#include "registry/RegistryValues.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "support/Screenshot.h"
#include "support/SkinnedShell.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using Form = frmNetPingerSettings;
using test::Click;
using test::FakeShell;
using test::TypeText;
using testing::FakePlatform;

std::string Stored(const char* name) { return testing::StoredSetting(kNetPingerSuffix, name); }
void Store(const char* name, const std::string& text) { testing::StoreSetting(kNetPingerSuffix, name, text); }

// All six values as stored, in the order they are written.
std::vector<std::string> StoredValues() {
  return {Stored("chkDoPinging"), Stored("optAuto"),         Stored("optManual"),
          Stored("txtPingHost"),  Stored("cmbPingInterval"), Stored("chkSound")};
}

void StoreManual(const std::string& host, int index, bool enabled, bool sound) {
  Store("chkDoPinging", enabled ? "1" : "0");
  Store("optAuto", "False");
  Store("optManual", "True");
  Store("txtPingHost", host);
  Store("cmbPingInterval", std::to_string(index));
  Store("chkSound", sound ? "1" : "0");
}

class PingerWindowTest : public testing::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    form_.Schedule().SetPingFunction([this](std::string_view host, DWORD timeout) {
      pinged.emplace_back(host);
      EXPECT_EQ(timeout, 10000u);
      return answer;
    });
  }
  void TearDown() override {
    form_.Unload();
    RegistryTest::TearDown();
  }

  Form& LoadedForm() {
    EXPECT_TRUE(form_.Load());
    return form_;
  }
  Form& Unloaded() { return form_; }
  [[nodiscard]] HWND Control(Form::ControlId id) const { return form_.Control(id); }
  [[nodiscard]] bool Enabled(Form::ControlId id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  [[nodiscard]] bool Checked(Form::ControlId id) const { return IsChecked(Control(id)); }
  [[nodiscard]] std::string Text(Form::ControlId id) const { return WindowText(Control(id)); }
  [[nodiscard]] int Interval() const {
    return static_cast<int>(SendMessageA(Control(Form::IDC_INTERVAL), CB_GETCURSEL, 0, 0));
  }
  // Picks a list entry as the user does: the list tells its window.
  void ChooseInterval(int index) {
    const HWND list = Control(Form::IDC_INTERVAL);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(form_.hwnd(), WM_COMMAND, MAKEWPARAM(Form::IDC_INTERVAL, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }
  // The timer's tick, as Windows delivers it.
  void Tick(int count = 1) {
    for (int i = 0; i < count; ++i) SendMessageA(form_.hwnd(), WM_TIMER, Form::kPingerTimerId, 0);
  }
  // True when a running timer was found (and stopped).
  [[nodiscard]] bool KillRunningTimer() { return KillTimer(form_.hwnd(), Form::kPingerTimerId) != FALSE; }

  FakePlatform platform;
  FakeShell shell;
  std::vector<std::string> pinged;
  bool answer = true;

 private:
  Form form_{shell};
};

TEST_F(PingerWindowTest, FirstStartShowsTheAutomaticModeSwitchedOff) {
  Form& form = LoadedForm();
  RECT size{};
  GetWindowRect(form.hwnd(), &size);
  EXPECT_EQ(size.bottom - size.top, 244);
  EXPECT_EQ(GetParent(form.hwnd()), shell.ChildFrame());
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  EXPECT_EQ(shell.skinned, std::vector<HWND>{form.hwnd()});

  EXPECT_EQ(Text(Form::IDC_DESCRIPTION),
            "The PING utility helps to keep you from getting your modem connection disconnected by your service "
            "provider. Most Internet Service Providers Disconnect users after a fixed period of modem activity");
  EXPECT_EQ(Text(Form::IDC_DO_PINGING), "Enable Pinger");
  EXPECT_EQ(Text(Form::IDC_CONFIGURATION), "Configuration");
  EXPECT_EQ(Text(Form::IDC_AUTO), "Automatic Mode");
  EXPECT_EQ(Text(Form::IDC_MANUAL), "Manual Mode");
  EXPECT_EQ(Text(Form::IDC_HOST_LABEL), "Ping Host");
  EXPECT_EQ(Text(Form::IDC_INTERVAL_LABEL), "Ping Interval");
  EXPECT_EQ(Text(Form::IDC_SOUND), "Play &Sound at Ping");
  EXPECT_EQ(Text(Form::IDC_PING_NOW), "Ping &Now");
  EXPECT_EQ(Text(Form::IDC_SAVE), "Save");

  const HWND list = Control(Form::IDC_INTERVAL);
  ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 60);
  for (int index = 0; index < 60; ++index) {
    char entry[32] = {};
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(std::string(entry), std::to_string(index + 1) + " min.");
  }

  EXPECT_FALSE(Checked(Form::IDC_DO_PINGING));
  EXPECT_TRUE(Checked(Form::IDC_AUTO));
  EXPECT_FALSE(Checked(Form::IDC_MANUAL));
  EXPECT_EQ(Text(Form::IDC_HOST), "Automatic");
  EXPECT_EQ(Interval(), 0);
  EXPECT_FALSE(Checked(Form::IDC_SOUND));
  // Switched off: the whole frame is out of use; Ping Now works anyway.
  for (const auto id : {Form::IDC_CONFIGURATION, Form::IDC_AUTO, Form::IDC_MANUAL, Form::IDC_HOST, Form::IDC_INTERVAL,
                        Form::IDC_SOUND, Form::IDC_SAVE}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_TRUE(Enabled(Form::IDC_DO_PINGING));
  EXPECT_TRUE(Enabled(Form::IDC_PING_NOW));
  EXPECT_FALSE(form.IsDirty());
  EXPECT_FALSE(form.PingerTimerEnabled());
  EXPECT_FALSE(KillRunningTimer());
  EXPECT_EQ(form.Schedule().CurrentPingHost(), kDefaultPingHost);
  EXPECT_EQ(form.Schedule().PingPeriodTicks(), 6);
  EXPECT_EQ(form.Schedule().TicksSinceLastPing(), 0);
  Tick(12);
  EXPECT_TRUE(pinged.empty());
  EXPECT_EQ(StoredValues(), std::vector<std::string>(6, "<missing>"));  // loading writes nothing
}

TEST_F(PingerWindowTest, EnablingAndSavingPingsTheDefaultHostEverySixTicks) {
  Form& form = LoadedForm();
  Click(Control(Form::IDC_DO_PINGING));
  EXPECT_TRUE(form.IsDirty());
  EXPECT_TRUE(Enabled(Form::IDC_SAVE));
  for (const auto id : {Form::IDC_CONFIGURATION, Form::IDC_AUTO, Form::IDC_MANUAL, Form::IDC_SOUND}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  EXPECT_FALSE(Enabled(Form::IDC_HOST));  // the automatic mode's host is fixed
  EXPECT_FALSE(Enabled(Form::IDC_INTERVAL));
  EXPECT_FALSE(form.PingerTimerEnabled());  // not before the save

  Click(Control(Form::IDC_SAVE));
  EXPECT_FALSE(form.IsDirty());
  EXPECT_FALSE(Enabled(Form::IDC_SAVE));
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1", "True", "False", "Automatic", "0", "0"}));
  EXPECT_TRUE(form.PingerTimerEnabled());
  Tick(12);
  EXPECT_EQ(pinged, (std::vector<std::string>{std::string(kDefaultPingHost), std::string(kDefaultPingHost)}));
  EXPECT_EQ(form.Schedule().TicksSinceLastPing(), 0);
  EXPECT_TRUE(KillRunningTimer());
}

TEST_F(PingerWindowTest, RefusedSaveTellsOnceAndStaysChanged) {
  testing::MakeKey(HKEY_LOCAL_MACHINE, SettingsSubKey(kNetPingerSuffix));
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, SettingsSubKey(kNetPingerSuffix));
  Form& form = LoadedForm();
  Click(Control(Form::IDC_DO_PINGING));
  Click(Control(Form::IDC_SAVE));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_NE(platform.messages[0].text.find("Enable Pinger"), std::string::npos) << platform.messages[0].text;
  EXPECT_NE(platform.messages[0].text.find("administrator"), std::string::npos);
  EXPECT_TRUE(Checked(Form::IDC_DO_PINGING));
  EXPECT_TRUE(form.IsDirty());
  EXPECT_TRUE(Enabled(Form::IDC_SAVE));
  EXPECT_TRUE(KillRunningTimer());  // what is on screen is at work
}

TEST_F(PingerWindowTest, ManualModeSuggestsAHostAndSavesTheFieldAndEntry) {
  Form& form = LoadedForm();
  Click(Control(Form::IDC_DO_PINGING));
  Click(Control(Form::IDC_SAVE));
  Click(Control(Form::IDC_MANUAL));
  EXPECT_TRUE(form.IsDirty());
  EXPECT_TRUE(Checked(Form::IDC_MANUAL));
  EXPECT_FALSE(Checked(Form::IDC_AUTO));
  EXPECT_EQ(Text(Form::IDC_HOST), kSuggestedPingHost);
  EXPECT_TRUE(Enabled(Form::IDC_HOST));
  EXPECT_TRUE(Enabled(Form::IDC_INTERVAL));

  TypeText(Control(Form::IDC_HOST), "127.0.0.1");
  ChooseInterval(0);
  Click(Control(Form::IDC_SOUND));
  Click(Control(Form::IDC_SAVE));
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1", "False", "True", "127.0.0.1", "0", "1"}));
  EXPECT_EQ(form.Schedule().CurrentPingHost(), "127.0.0.1");
  EXPECT_EQ(form.Schedule().PingPeriodTicks(), 1);
  Tick(3);
  EXPECT_EQ(pinged, std::vector<std::string>(3, "127.0.0.1"));

  ChooseInterval(59);
  Click(Control(Form::IDC_SAVE));
  EXPECT_EQ(Stored("cmbPingInterval"), "59");
  pinged.clear();
  Tick(120);
  EXPECT_EQ(pinged.size(), 2u);
}

TEST_F(PingerWindowTest, StoredManualSettingsAreLoaded) {
  StoreManual("localhost", 59, true, true);
  Form& form = LoadedForm();
  EXPECT_TRUE(Checked(Form::IDC_DO_PINGING));
  EXPECT_TRUE(Checked(Form::IDC_MANUAL));
  EXPECT_FALSE(Checked(Form::IDC_AUTO));
  EXPECT_EQ(Text(Form::IDC_HOST), "localhost");
  EXPECT_EQ(Interval(), 59);
  EXPECT_TRUE(Checked(Form::IDC_SOUND));
  EXPECT_TRUE(Enabled(Form::IDC_HOST));
  EXPECT_TRUE(Enabled(Form::IDC_INTERVAL));
  EXPECT_TRUE(Enabled(Form::IDC_CONFIGURATION));
  EXPECT_FALSE(form.IsDirty());
  EXPECT_FALSE(Enabled(Form::IDC_SAVE));
  EXPECT_TRUE(form.PingerTimerEnabled());
  EXPECT_EQ(form.Schedule().CurrentPingHost(), "localhost");
  EXPECT_EQ(form.Schedule().PingPeriodTicks(), 60);
  EXPECT_TRUE(KillRunningTimer());
}

TEST_F(PingerWindowTest, StoredAutomaticModeHidesTheStoredHostAndEntry) {
  StoreManual("localhost", 30, true, false);
  Store("optAuto", "TRUE");
  Store("optManual", "false");
  Form& form = LoadedForm();
  EXPECT_TRUE(Checked(Form::IDC_AUTO));
  EXPECT_EQ(Text(Form::IDC_HOST), "Automatic");
  EXPECT_EQ(Interval(), 0);
  EXPECT_FALSE(Enabled(Form::IDC_HOST));
  EXPECT_FALSE(form.IsDirty());
  EXPECT_EQ(form.Schedule().CurrentPingHost(), kDefaultPingHost);
  EXPECT_EQ(form.Schedule().PingPeriodTicks(), 6);
}

TEST_F(PingerWindowTest, UnsavedEditsDoNotReachTheScheduleOrPingNow) {
  StoreManual("127.0.0.1", 0, true, false);
  Form& form = LoadedForm();
  TypeText(Control(Form::IDC_HOST), "localhost");
  ChooseInterval(59);
  EXPECT_TRUE(form.IsDirty());
  Tick(2);
  Click(Control(Form::IDC_PING_NOW));
  EXPECT_EQ(pinged, std::vector<std::string>(3, "127.0.0.1"));

  Click(Control(Form::IDC_AUTO));
  Tick();
  EXPECT_EQ(pinged.back(), "127.0.0.1");
  EXPECT_EQ(form.Schedule().PingPeriodTicks(), 1);

  // Switching off without saving leaves the timer running.
  Click(Control(Form::IDC_DO_PINGING));
  EXPECT_FALSE(Enabled(Form::IDC_CONFIGURATION));
  Tick();
  EXPECT_EQ(pinged.size(), 5u);

  // Loading again throws the edits away.
  form.LoadPingerSettings();
  EXPECT_EQ(Text(Form::IDC_HOST), "127.0.0.1");
  EXPECT_TRUE(Checked(Form::IDC_MANUAL));
  EXPECT_TRUE(Checked(Form::IDC_DO_PINGING));
  EXPECT_FALSE(form.IsDirty());
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1", "False", "True", "127.0.0.1", "0", "0"}));
}

TEST_F(PingerWindowTest, SwitchingToAutomaticAndSavingStoresTheWordAutomatic) {
  StoreManual("localhost", 12, true, false);
  Form& form = LoadedForm();
  Click(Control(Form::IDC_AUTO));
  EXPECT_TRUE(form.IsDirty());
  EXPECT_EQ(Text(Form::IDC_HOST), "Automatic");
  EXPECT_EQ(Interval(), 0);
  EXPECT_FALSE(Enabled(Form::IDC_HOST));
  EXPECT_FALSE(Enabled(Form::IDC_INTERVAL));
  Click(Control(Form::IDC_SAVE));
  EXPECT_EQ(StoredValues(), (std::vector<std::string>{"1", "True", "False", "Automatic", "0", "0"}));
  EXPECT_EQ(form.Schedule().CurrentPingHost(), kDefaultPingHost);
  EXPECT_EQ(form.Schedule().PingPeriodTicks(), 6);
}

TEST_F(PingerWindowTest, ClickingTheSelectedModeAgainKeepsTheTypedHost) {
  StoreManual("localhost", 3, true, false);
  Form& form = LoadedForm();
  TypeText(Control(Form::IDC_HOST), "127.0.0.1");
  form.SetDirty(false);
  Click(Control(Form::IDC_MANUAL));
  EXPECT_EQ(Text(Form::IDC_HOST), "127.0.0.1");
  EXPECT_EQ(Interval(), 3);
  EXPECT_FALSE(form.IsDirty());
}

TEST_F(PingerWindowTest, EveryEditMarksTheWindowChanged) {
  StoreManual("localhost", 3, true, false);
  Form& form = LoadedForm();
  const auto expectEditMarks = [&](const char* what, const auto& edit) {
    form.SetDirty(false);
    ASSERT_FALSE(Enabled(Form::IDC_SAVE));
    edit();
    EXPECT_TRUE(form.IsDirty()) << what;
    EXPECT_TRUE(Enabled(Form::IDC_SAVE)) << what;
  };
  expectEditMarks("host", [&] { TypeText(Control(Form::IDC_HOST), "127.0.0.1"); });
  expectEditMarks("interval", [&] { ChooseInterval(7); });
  expectEditMarks("sound", [&] { Click(Control(Form::IDC_SOUND)); });
  expectEditMarks("automatic", [&] { Click(Control(Form::IDC_AUTO)); });
  expectEditMarks("manual", [&] { Click(Control(Form::IDC_MANUAL)); });
  expectEditMarks("switch off", [&] { Click(Control(Form::IDC_DO_PINGING)); });
  expectEditMarks("switch on", [&] { Click(Control(Form::IDC_DO_PINGING)); });
  // Ping Now changes no setting.
  form.SetDirty(false);
  Click(Control(Form::IDC_PING_NOW));
  EXPECT_FALSE(form.IsDirty());
}

TEST_F(PingerWindowTest, SwitchingOffAndSavingStopsTheTimer) {
  StoreManual("127.0.0.1", 0, true, false);
  Form& form = LoadedForm();
  Tick();
  EXPECT_EQ(pinged.size(), 1u);
  Click(Control(Form::IDC_DO_PINGING));
  EXPECT_FALSE(Enabled(Form::IDC_CONFIGURATION));
  EXPECT_FALSE(Enabled(Form::IDC_HOST));
  EXPECT_TRUE(Enabled(Form::IDC_SAVE));
  Click(Control(Form::IDC_SAVE));
  EXPECT_EQ(Stored("chkDoPinging"), "0");
  EXPECT_FALSE(form.PingerTimerEnabled());
  EXPECT_FALSE(KillRunningTimer());
  Tick(3);
  EXPECT_EQ(pinged.size(), 1u);
  // The stored host and interval stay as they were.
  EXPECT_EQ(Stored("txtPingHost"), "127.0.0.1");
  EXPECT_EQ(Stored("optManual"), "True");
}

TEST_F(PingerWindowTest, SavingDoesNotRestartTheCountToTheNextPing) {
  StoreManual("127.0.0.1", 5, true, false);
  Form& form = LoadedForm();
  Tick(4);
  Click(Control(Form::IDC_SOUND));
  Click(Control(Form::IDC_SAVE));
  EXPECT_EQ(form.Schedule().TicksSinceLastPing(), 4);
  Tick(2);
  EXPECT_EQ(pinged.size(), 1u);
}

TEST_F(PingerWindowTest, SoundFollowsTheLiveOptionAndPingNowOnlyWhenAnswered) {
  StoreManual("127.0.0.1", 0, true, false);
  Form& form = LoadedForm();
  const std::string wav = AppFile("\\Ping.wav");
  answer = false;
  Tick();
  EXPECT_TRUE(platform.playedSounds.empty());
  Click(Control(Form::IDC_SOUND));  // not saved: takes effect at once
  Tick();
  EXPECT_EQ(platform.playedSounds, std::vector<std::string>{wav});
  Click(Control(Form::IDC_PING_NOW));
  EXPECT_EQ(platform.playedSounds.size(), 1u);
  answer = true;
  Click(Control(Form::IDC_PING_NOW));
  EXPECT_EQ(platform.playedSounds, (std::vector<std::string>{wav, wav}));
  EXPECT_TRUE(form.IsDirty());
  EXPECT_EQ(Stored("chkSound"), "0");
}

// Start-up leaves the controls to the first show, yet pings with the stored
// host, interval and sound from the first tick; the show then puts the same
// settings on screen with nothing to save.
TEST_F(PingerWindowTest, StartUpPingsWithTheStoredSettingsBeforeAnyControlIsMade) {
  StoreManual("127.0.0.1", 1, true, true);
  Form& form = Unloaded();
  ASSERT_TRUE(form.LoadAtStartup());
  EXPECT_EQ(Control(Form::IDC_HOST), nullptr);
  EXPECT_TRUE(form.PingerTimerEnabled());
  Tick(2);
  EXPECT_EQ(pinged, std::vector<std::string>{"127.0.0.1"});
  EXPECT_EQ(platform.playedSounds, std::vector<std::string>{AppFile("\\Ping.wav")});

  ASSERT_TRUE(form.Load());
  EXPECT_EQ(Text(Form::IDC_HOST), "127.0.0.1");
  EXPECT_EQ(Interval(), 1);
  EXPECT_TRUE(Checked(Form::IDC_SOUND));
  EXPECT_TRUE(Checked(Form::IDC_MANUAL));
  EXPECT_FALSE(form.IsDirty());
  EXPECT_FALSE(Enabled(Form::IDC_SAVE));
  EXPECT_EQ(form.Schedule().TicksSinceLastPing(), 0);  // the show does not restart the count
  Click(Control(Form::IDC_SOUND));
  Tick(2);
  EXPECT_EQ(pinged.size(), 2u);
  EXPECT_EQ(platform.playedSounds.size(), 1u);  // switched off on screen, unsaved
}

TEST_F(PingerWindowTest, UnloadStopsTheTimer) {
  StoreManual("127.0.0.1", 0, true, false);
  Form& form = LoadedForm();
  EXPECT_TRUE(form.PingerTimerEnabled());
  form.Unload();
  EXPECT_FALSE(form.PingerTimerEnabled());
  EXPECT_EQ(form.hwnd(), nullptr);
}

// Ping Now through the real PingHost, to loopback only.
class PingerWindowLoopbackTest : public testing::RegistryTest {
 protected:
  FakePlatform platform;
  FakeShell shell;
};

TEST_F(PingerWindowLoopbackTest, PingNowPingsTheSavedHostForReal) {
  StoreManual("127.0.0.1", 0, false, true);
  Form form(shell);
  ASSERT_TRUE(form.Load());
  Click(form.Control(Form::IDC_PING_NOW));
  EXPECT_EQ(platform.playedSounds, std::vector<std::string>{AppFile("\\Ping.wav")});

  StoreManual("no-such-host.invalid", 0, false, true);
  form.LoadPingerSettings();
  Click(form.Control(Form::IDC_PING_NOW));
  EXPECT_EQ(platform.playedSounds.size(), 1u);  // not answered: silent
  EXPECT_TRUE(platform.messages.empty());
  form.Unload();
}


TEST_F(PingerWindowLoopbackTest, ScreenshotOfTheManualModeSwitchedOn) {
  StoreManual("127.0.0.1", 4, true, true);
  test::SkinnedShell skinned(Form::kWidth, Form::kHeight, TARVIX_ASSETS_DIR "/TarvixMask.skn", 60, 60);
  ASSERT_TRUE(skinned.SkinLoaded());
  Form form(skinned);
  ASSERT_TRUE(form.Load());
  ShowWindow(skinned.ChildFrame(), SW_SHOWNOACTIVATE);
  ShowWindow(form.hwnd(), SW_SHOW);
  SetForegroundWindow(skinned.ChildFrame());
  SetFocus(form.Control(Form::IDC_HOST));
  RedrawWindow(skinned.ChildFrame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  test::PumpMessagesFor(300);
  const auto picture = test::CaptureWindow(form.hwnd(), Form::kWidth, Form::kHeight);
  EXPECT_GT(test::DistinctColours(picture), 8u) << "the window looks flat";
  EXPECT_TRUE(test::WritePng(test::ArtifactPath("pinger-window.png"), Form::kWidth, Form::kHeight, picture));

  // The same window switched off, in the automatic mode.
  Click(form.Control(Form::IDC_AUTO));
  Click(form.Control(Form::IDC_DO_PINGING));
  RedrawWindow(skinned.ChildFrame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  test::PumpMessagesFor(300);
  EXPECT_TRUE(test::SaveScreenshot(form.hwnd(), "pinger-window-off.png"));
  form.Unload();
}

}  // namespace
}  // namespace tarvix
