// The status window and the RAM configuration window together, as the main
// window builds them, with scripted memory figures and a scripted CPU meter.
// Timers are driven by calling their tick handlers.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "MemoryFakes.h"
#include "ProcMeminfo.h"
#include "base/AppPaths.h"
#include "base/OsDetect.h"
#include "memory/frmRamConfiguration.h"
#include "memory/frmSystemStatus.h"
#include "registry/RegistryValues.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using test::Click;
using test::FakeMemory;
using test::FakeMeter;
using test::kMiB;
using test::TypeText;

constexpr std::int64_t kTenMB = 10 * 1048576;

// Hands the test's meter to the window, which owns what its factory makes.
class MeterProxy final : public CpuUsageMeter {
 public:
  explicit MeterProxy(FakeMeter& meter) : meter_(meter) {}
  void Initialize() noexcept override { meter_.Initialize(); }
  [[nodiscard]] int Query() noexcept override { return meter_.Query(); }
  void Terminate() noexcept override { meter_.Terminate(); }

 private:
  FakeMeter& meter_;
};


// Puts a trackbar at `position` and tells its parent, as a drag does.
void MoveSlider(HWND slider, int position) {
  SendMessageA(slider, TBM_SETPOS, TRUE, position);
  SendMessageA(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
               reinterpret_cast<LPARAM>(slider));
  SendMessageA(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
}

[[nodiscard]] int SliderPosition(HWND slider) { return static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0)); }

// The tool tip text that the tooltip control owned by `owner` shows for `tool`.
[[nodiscard]] std::string ToolTipOf(HWND owner, HWND tool) {
  struct Search {
    HWND owner;
    HWND found;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        // A popup made for a child window is owned by that window's top-level ancestor.
        const HWND popupOwner = GetWindow(window, GW_OWNER);
        const bool owned = popupOwner == s->owner || popupOwner == GetAncestor(s->owner, GA_ROOT);
        if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && owned) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return "<no tooltip control>";
  char text[256] = {};
  TOOLINFOA tool_info{};
  tool_info.cbSize = TTTOOLINFOA_V2_SIZE;
  tool_info.hwnd = owner;
  tool_info.uId = reinterpret_cast<UINT_PTR>(tool);
  tool_info.lpszText = text;
  SendMessageA(search.found, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool_info));
  return text;
}

// Serves the thread's messages, real timers among them, for `duration`.
void ServeMessagesFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

// Both windows built and loaded as the main window does: the status window
// first, then the RAM configuration window, which queries its meter.
class MemoryWindowsTest : public testing::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    memory_.freeBytes = 200 * kMiB;
    memory_.totalBytes = 2000 * kMiB;
  }

  void TearDown() override {
    ram_.reset();
    status_.reset();
    RegistryTest::TearDown();
  }

  void LoadWindows(bool loadStatus = true, bool ramAtStartup = false) {
    status_ = std::make_unique<frmSystemStatus>(shell_, memory_,
                                                [this] { return std::make_unique<MeterProxy>(meter_); });
    ram_ = std::make_unique<frmRamConfiguration>(shell_, *status_, memory_, [this](int passes) {
      pumpPasses_ += passes;
      if (duringPump_) duringPump_();
    });
    if (loadStatus) {
      ASSERT_TRUE(status_->Load());
    }
    ASSERT_TRUE(ramAtStartup ? ram_->LoadAtStartup() : ram_->Load());
  }

  [[nodiscard]] HWND Ram(RamConfigurationControl id) const { return ram_->Control(id); }
  [[nodiscard]] HWND Status(SystemStatusControl id) const { return status_->Control(id); }
  [[nodiscard]] std::string RamText(RamConfigurationControl id) const { return WindowText(Ram(id)); }
  [[nodiscard]] std::string StatusText(SystemStatusControl id) const { return WindowText(Status(id)); }
  void Store(const std::string& name, const std::string& text) { testing::StoreSetting(kRamSettingsSuffix, name, text); }
  [[nodiscard]] std::string Stored(const std::string& name) { return testing::StoredSetting(kRamSettingsSuffix, name); }

  testing::FakePlatform platform_;
  test::FakeShell shell_;
  FakeMemory memory_;
  FakeMeter meter_;
  std::unique_ptr<frmSystemStatus> status_;
  std::unique_ptr<frmRamConfiguration> ram_;
  int pumpPasses_ = 0;
  std::function<void()> duringPump_;
};

// ---- RAM configuration -----------------------------------------------------

TEST_F(MemoryWindowsTest, RamWindowLoadsTheDefaults) {
  LoadWindows();
  EXPECT_EQ(ram_->Window() != nullptr, true);
  EXPECT_FALSE(IsChecked(Ram(IDC_chkSoundon)));
  EXPECT_FALSE(IsChecked(Ram(IDC_chkAutomatic)));
  EXPECT_EQ(RamText(IDC_txtAlarm), "250");
  EXPECT_EQ(RamText(IDC_txtFreeAlarm), "10");
  EXPECT_EQ(RamText(IDC_txtTimeCheck), "100");
  EXPECT_FALSE(IsChecked(Ram(IDC_optPer)));
  EXPECT_TRUE(IsChecked(Ram(IDC_optMB)));
  EXPECT_EQ(RamText(IDC_txtRunOnly), "2");
  EXPECT_EQ(RamText(IDC_txtRetryOptimization), "10");

  EXPECT_EQ(ram_->AlarmLevelMB(), 250);
  EXPECT_EQ(ram_->FreeAmountMB(), 10);
  EXPECT_EQ(ram_->RunOnlyBelowCpu(), 2);
  EXPECT_EQ(ram_->RetryCount(), 10);
  EXPECT_EQ(ram_->CheckInterval(), 100u);
  EXPECT_FALSE(ram_->TrayTipInPercent());

  // Nothing changed yet; the fields follow their check boxes.
  EXPECT_FALSE(ram_->Dirty());
  EXPECT_FALSE(IsWindowEnabled(Ram(IDC_cmdSave)));
  EXPECT_FALSE(IsWindowEnabled(Ram(IDC_txtAlarm)));
  for (const auto id : {IDC_txtFreeAlarm, IDC_txtTimeCheck, IDC_updnTimeCheck}) EXPECT_FALSE(IsWindowEnabled(Ram(id)));
  EXPECT_TRUE(IsWindowEnabled(Ram(IDC_txtRunOnly)));
  EXPECT_TRUE(IsWindowEnabled(Ram(IDC_txtRetryOptimization)));
  EXPECT_EQ(shell_.skinned, (std::vector<HWND>{status_->Window(), ram_->Window()}));
}

TEST_F(MemoryWindowsTest, RamWindowCaptionsAndArrowRanges) {
  LoadWindows();
  const std::pair<RamConfigurationControl, const char*> captions[] = {
      {IDC_frameRamConfiguration, "Ram Configuration"},
      {IDC_frameOnOff, "On/Off settings"},
      {IDC_frameAutomatic, "Automatic Optimization"},
      {IDC_frameToolTip, "System Tray Icon Tool Tip Text"},
      {IDC_chkSoundon, "Sound on"},
      {IDC_chkAutomatic, "Optimize automatically when Alarm level is reached"},
      {IDC_lblAlarm, "Alarm Level (in MB):"},
      {IDC_lblFreeAlarm, "RAM to try and free when alarm level is reached:"},
      {IDC_lblTimeCheck, "Do check every (in Milliseconds)"},
      {IDC_lblRunOnly, "Run ONLY if CPU-Usage is below this (0=detectyion not in use)"},
      {IDC_lblRetryOptimization, "Times to retry optimization"},
      {IDC_optPer, "Percentage of Free RAM"},
      {IDC_optMB, "Free RAM in MB"},
      {IDC_cmdSave, "Save"},
  };
  for (const auto& [id, caption] : captions) EXPECT_EQ(RamText(id), caption);

  const std::tuple<RamConfigurationControl, RamConfigurationControl, int, int> arrows[] = {
      {IDC_updnTimeCheck, IDC_txtTimeCheck, 0, 65535},
      {IDC_UpDownRunOnly, IDC_txtRunOnly, 0, 1000},
      {IDC_UpDownRetryOptimization, IDC_txtRetryOptimization, 0, 20},
  };
  for (const auto& [arrow, field, low, high] : arrows) {
    int minimum = -1;
    int maximum = -1;
    SendMessageA(Ram(arrow), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum), reinterpret_cast<LPARAM>(&maximum));
    EXPECT_EQ(minimum, low);
    EXPECT_EQ(maximum, high);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(Ram(arrow), UDM_GETBUDDY, 0, 0)), Ram(field));
  }
  // Every control lies inside the window's 440 x 240.
  for (HWND child = GetWindow(ram_->Window(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT box{};
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, ram_->Window(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, frmRamConfiguration::kWidth);
    EXPECT_LE(box.bottom, frmRamConfiguration::kHeight);
  }
}

TEST_F(MemoryWindowsTest, FreeAmountAcceptsZeroToThousandAndOtherwiseGoesBack) {
  LoadWindows();
  TypeText(Ram(IDC_txtFreeAlarm), "1001");
  EXPECT_EQ(RamText(IDC_txtFreeAlarm), "10");
  EXPECT_TRUE(ram_->Dirty());
  EXPECT_TRUE(IsWindowEnabled(Ram(IDC_cmdSave)));
  TypeText(Ram(IDC_txtFreeAlarm), "1000");
  EXPECT_EQ(RamText(IDC_txtFreeAlarm), "1000");
  for (const char* refused : {"", "abc", "-1", "1000.5", "10 MB"}) {
    TypeText(Ram(IDC_txtFreeAlarm), refused);
    EXPECT_EQ(RamText(IDC_txtFreeAlarm), "10") << refused;
  }
  TypeText(Ram(IDC_txtFreeAlarm), "0");
  EXPECT_EQ(RamText(IDC_txtFreeAlarm), "0");
  TypeText(Ram(IDC_txtFreeAlarm), "12.5");
  EXPECT_EQ(RamText(IDC_txtFreeAlarm), "12.5");
  // The working value changes only with a load.
  EXPECT_EQ(ram_->FreeAmountMB(), 10);
  Click(Ram(IDC_cmdSave));
  EXPECT_EQ(ram_->FreeAmountMB(), 12);
  EXPECT_EQ(Stored("txtFreeAlarm"), "12.5");
}

TEST_F(MemoryWindowsTest, AlarmLevelAcceptsNumbersFromZeroAndClearingSetsItBack) {
  LoadWindows();
  TypeText(Ram(IDC_txtAlarm), "");
  EXPECT_EQ(RamText(IDC_txtAlarm), "250");
  for (const char* refused : {"-5", "abc", "-0.1", "99999999999"}) {
    TypeText(Ram(IDC_txtAlarm), refused);
    EXPECT_EQ(RamText(IDC_txtAlarm), "250") << refused;
  }
  TypeText(Ram(IDC_txtAlarm), "100000");
  EXPECT_EQ(RamText(IDC_txtAlarm), "100000");
  TypeText(Ram(IDC_txtAlarm), "12.5");
  EXPECT_EQ(RamText(IDC_txtAlarm), "12.5");
  Click(Ram(IDC_cmdSave));
  EXPECT_EQ(ram_->AlarmLevelMB(), 12);
  TypeText(Ram(IDC_txtAlarm), "x");
  EXPECT_EQ(RamText(IDC_txtAlarm), "12");
}

TEST_F(MemoryWindowsTest, StoredAlarmLevelThatIsNotANumberLoadsAsZero) {
  Store("txtAlarm", "lots");
  Store("txtFreeAlarm", "5000");
  LoadWindows();
  EXPECT_EQ(RamText(IDC_txtAlarm), "0");
  EXPECT_EQ(ram_->AlarmLevelMB(), 0);
  EXPECT_EQ(RamText(IDC_txtFreeAlarm), "0");
  EXPECT_EQ(ram_->FreeAmountMB(), 0);
  EXPECT_FALSE(ram_->Dirty());
}

TEST_F(MemoryWindowsTest, SaveWritesTheNineValuesInTheirStoredForms) {
  LoadWindows();
  Click(Ram(IDC_chkSoundon));
  Click(Ram(IDC_chkAutomatic));
  TypeText(Ram(IDC_txtAlarm), "300");
  TypeText(Ram(IDC_txtFreeAlarm), "20");
  TypeText(Ram(IDC_txtTimeCheck), "250");
  Click(Ram(IDC_optPer));
  TypeText(Ram(IDC_txtRunOnly), "5");
  TypeText(Ram(IDC_txtRetryOptimization), "3");
  EXPECT_TRUE(IsChecked(Ram(IDC_optPer)));
  EXPECT_FALSE(IsChecked(Ram(IDC_optMB)));
  EXPECT_TRUE(ram_->Dirty());
  Click(Ram(IDC_cmdSave));

  const std::pair<const char*, const char*> expected[] = {
      {"chkSoundon", "1"}, {"chkAutomatic", "1"}, {"txtAlarm", "300"}, {"txtFreeAlarm", "20"},
      {"txtTimeCheck", "250"}, {"optPer", "True"}, {"optMB", "False"}, {"txtRunOnly", "5"},
      {"txtRetryOptimization", "3"},
  };
  for (const auto& [name, text] : expected) EXPECT_EQ(Stored(name), text) << name;
  // Saving loads again: the new values are at work at once, and nothing is unsaved.
  EXPECT_FALSE(ram_->Dirty());
  EXPECT_FALSE(IsWindowEnabled(Ram(IDC_cmdSave)));
  EXPECT_EQ(ram_->AlarmLevelMB(), 300);
  EXPECT_EQ(ram_->FreeAmountMB(), 20);
  EXPECT_EQ(ram_->CheckInterval(), 250u);
  EXPECT_EQ(ram_->RunOnlyBelowCpu(), 5);
  EXPECT_EQ(ram_->RetryCount(), 3);
  EXPECT_TRUE(ram_->TrayTipInPercent());

  // And a new window reads them back.
  ram_.reset();
  LoadWindows();
  EXPECT_TRUE(IsChecked(Ram(IDC_chkSoundon)));
  EXPECT_TRUE(IsChecked(Ram(IDC_chkAutomatic)));
  EXPECT_TRUE(IsChecked(Ram(IDC_optPer)));
  EXPECT_EQ(RamText(IDC_txtTimeCheck), "250");
  EXPECT_TRUE(IsWindowEnabled(Ram(IDC_txtAlarm)));
  EXPECT_TRUE(IsWindowEnabled(Ram(IDC_txtFreeAlarm)));
}

// Without the right to write the settings key, Save says once what was not
// stored; the fields keep what was typed, work with it, and stay to be saved.
TEST_F(MemoryWindowsTest, RefusedSaveTellsOnceAndKeepsWhatWasTyped) {
  Store("txtAlarm", "250");
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, SettingsSubKey(kRamSettingsSuffix));
  LoadWindows();
  Click(Ram(IDC_chkSoundon));
  TypeText(Ram(IDC_txtAlarm), "300");
  TypeText(Ram(IDC_txtTimeCheck), "250");
  Click(Ram(IDC_cmdSave));
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].title, "Tarvix");
  EXPECT_EQ(platform_.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_NE(platform_.messages[0].text.find("Sound on"), std::string::npos) << platform_.messages[0].text;
  EXPECT_NE(platform_.messages[0].text.find("Alarm Level (in MB)"), std::string::npos);
  EXPECT_NE(platform_.messages[0].text.find("administrator"), std::string::npos);
  EXPECT_TRUE(IsChecked(Ram(IDC_chkSoundon)));
  EXPECT_EQ(RamText(IDC_txtAlarm), "300");
  EXPECT_EQ(RamText(IDC_txtTimeCheck), "250");
  EXPECT_TRUE(ram_->Dirty());
  EXPECT_TRUE(IsWindowEnabled(Ram(IDC_cmdSave)));
  EXPECT_EQ(ram_->AlarmLevelMB(), 300);
  EXPECT_EQ(ram_->CheckInterval(), 250u);
  EXPECT_EQ(Stored("txtAlarm"), "250");
}

TEST_F(MemoryWindowsTest, OptionButtonsAreReadBackInAnyLetterCase) {
  Store("optPer", "TRUE");
  Store("optMB", "false");
  LoadWindows();
  EXPECT_TRUE(IsChecked(Ram(IDC_optPer)));
  EXPECT_FALSE(IsChecked(Ram(IDC_optMB)));
  EXPECT_TRUE(ram_->TrayTipInPercent());
}

TEST_F(MemoryWindowsTest, ClickRulesEnableTheDependentFields) {
  LoadWindows();
  Click(Ram(IDC_chkAutomatic));
  EXPECT_TRUE(ram_->Dirty());
  for (const auto id : {IDC_txtFreeAlarm, IDC_txtTimeCheck, IDC_updnTimeCheck}) EXPECT_TRUE(IsWindowEnabled(Ram(id)));
  Click(Ram(IDC_chkAutomatic));
  for (const auto id : {IDC_txtFreeAlarm, IDC_txtTimeCheck, IDC_updnTimeCheck}) EXPECT_FALSE(IsWindowEnabled(Ram(id)));
  ram_->SetDirty(false);
  Click(Ram(IDC_chkSoundon));
  EXPECT_TRUE(IsWindowEnabled(Ram(IDC_txtAlarm)));
  EXPECT_TRUE(ram_->Dirty());
  ram_->SetDirty(false);
  Click(Ram(IDC_optPer));
  EXPECT_TRUE(ram_->Dirty());
  ram_->SetDirty(false);
  Click(Ram(IDC_optMB));
  EXPECT_TRUE(ram_->Dirty());
}

TEST_F(MemoryWindowsTest, ArrowsStepTheirFieldAndStayInRange) {
  LoadWindows();
  SendMessageA(Ram(IDC_txtRetryOptimization), WM_KEYDOWN, VK_UP, 0);
  SendMessageA(Ram(IDC_txtRetryOptimization), WM_KEYUP, VK_UP, 0);
  EXPECT_EQ(RamText(IDC_txtRetryOptimization), "11");
  EXPECT_EQ(ram_->RetryArrow(), 11);
  EXPECT_TRUE(ram_->Dirty());
  TypeText(Ram(IDC_txtRetryOptimization), "25");
  EXPECT_EQ(ram_->RetryArrow(), 20);
  TypeText(Ram(IDC_txtRunOnly), "1000");
  EXPECT_EQ(ram_->RunOnlyArrow(), 1000);
  // Working values wait for Save.
  EXPECT_EQ(ram_->RetryCount(), 10);
  Click(Ram(IDC_cmdSave));
  EXPECT_EQ(ram_->RetryCount(), 20);
  EXPECT_EQ(RamText(IDC_txtRetryOptimization), "20");
  EXPECT_EQ(ram_->RunOnlyBelowCpu(), 1000);
}

TEST_F(MemoryWindowsTest, StoredIntervalIsKeptInRangeAndZeroStopsTheChecks) {
  Store("txtTimeCheck", "70000");
  LoadWindows();
  EXPECT_EQ(RamText(IDC_txtTimeCheck), "65535");
  EXPECT_EQ(ram_->CheckInterval(), 65535u);
  EXPECT_FALSE(ram_->Dirty());

  Store("txtTimeCheck", "0");
  ram_->LoadRamSettings();
  EXPECT_EQ(ram_->CheckInterval(), 0u);
  // No check timer is left to stop.
  EXPECT_FALSE(KillTimer(ram_->Window(), 1));
  Store("txtTimeCheck", "soon");
  ram_->LoadRamSettings();
  EXPECT_EQ(RamText(IDC_txtTimeCheck), "0");
}

TEST_F(MemoryWindowsTest, DefaultCheckFreesTenMegabytesTenTimesBelowTheGate) {
  Store("chkAutomatic", "1");
  LoadWindows();
  meter_.usage = 1;
  meter_.queries = 0;
  ram_->tmrAlarm_Timer();
  EXPECT_EQ(memory_.freed, std::vector<std::int64_t>(10, kTenMB));
  EXPECT_EQ(meter_.queries, 1);
  EXPECT_EQ(ram_->LastCheck().attempts, 10);

  memory_.freed.clear();
  meter_.usage = 2;
  ram_->tmrAlarm_Timer();
  EXPECT_TRUE(memory_.freed.empty());
  EXPECT_EQ(meter_.queries, 2);
}

// Start-up leaves the RAM window's controls to its first show. Until then
// the check, the sound and the tool tip work from the stored texts exactly
// as the filled controls would, odd texts included; the show then fills the
// controls as a full load does, with nothing to save.
TEST_F(MemoryWindowsTest, StartUpWorksFromTheStoredSettingsAsTheFilledControlsWould) {
  using Stored = std::vector<std::pair<std::string, std::string>>;
  const std::vector<Stored> cases = {
      {},
      {{"chkSoundon", "1"}, {"chkAutomatic", "1"}, {"txtAlarm", "lots"}, {"txtFreeAlarm", "5000"},
       {"txtTimeCheck", "70000"}, {"optPer", "TRUE"}, {"optMB", "false"}, {"txtRunOnly", "-3"},
       {"txtRetryOptimization", "0"}},
      {{"chkAutomatic", "1"}, {"txtAlarm", "12.5"}, {"txtFreeAlarm", ""}, {"txtTimeCheck", "soon"},
       {"optPer", "True"}, {"optMB", "True"}, {"txtRunOnly", "99999"}, {"txtRetryOptimization", "x"}},
      {{"chkSoundon", "1"}, {"chkAutomatic", "1"}, {"txtAlarm", "-5"}, {"txtFreeAlarm", "1000"},
       {"txtTimeCheck", "0"}, {"optPer", "1"}, {"optMB", "0"}, {"txtRunOnly", "100"},
       {"txtRetryOptimization", "99"}},
  };
  struct Seen {
    std::int64_t alarm, free;
    int gate, retries;
    UINT interval;
    bool percent, soundDue;
    std::vector<std::int64_t> freed;
    std::vector<std::string> texts;
    bool operator==(const Seen&) const = default;
  };
  const auto run = [&](bool atStartup) {
    LoadWindows(true, atStartup);
    Seen seen{ram_->AlarmLevelMB(), ram_->FreeAmountMB(), ram_->RunOnlyBelowCpu(), ram_->RetryCount(),
              ram_->CheckInterval(), ram_->TrayTipInPercent(), false, {}, {}};
    if (atStartup) {
      EXPECT_EQ(Ram(IDC_txtAlarm), nullptr);
    }
    memory_.freed.clear();
    meter_.usage = 1;
    ram_->tmrAlarm_Timer();
    seen.freed = memory_.freed;
    seen.soundDue = ram_->LowMemorySoundDue();
    if (atStartup) {
      EXPECT_TRUE(ram_->Load());
    }
    for (const auto id : {IDC_txtAlarm, IDC_txtFreeAlarm, IDC_txtTimeCheck, IDC_txtRunOnly, IDC_txtRetryOptimization}) {
      seen.texts.push_back(RamText(id));
    }
    for (const auto id : {IDC_chkSoundon, IDC_chkAutomatic, IDC_optPer, IDC_optMB}) {
      seen.texts.push_back(IsChecked(Ram(id)) ? "checked" : "clear");
    }
    EXPECT_FALSE(ram_->Dirty());
    ram_.reset();
    status_.reset();
    return seen;
  };
  for (const Stored& stored : cases) {
    for (const auto& [name, text] : stored) Store(name, text);
    const Seen full = run(false);
    const Seen startup = run(true);
    EXPECT_TRUE(full == startup) << "stored case " << (&stored - cases.data());
  }
}

TEST_F(MemoryWindowsTest, NoAttemptsStoredMakesOneAttempt) {
  Store("chkAutomatic", "1");
  Store("txtRetryOptimization", "0");
  LoadWindows();
  EXPECT_EQ(ram_->RetryCount(), 0);
  ram_->tmrAlarm_Timer();
  EXPECT_EQ(memory_.freed, std::vector<std::int64_t>{kTenMB});
  EXPECT_EQ(ram_->RetryCount(), 1);
}

TEST_F(MemoryWindowsTest, GateZeroStillQueriesTheStatusWindowsMeter) {
  Store("chkAutomatic", "1");
  Store("txtRunOnly", "0");
  LoadWindows();
  meter_.usage = 100;
  meter_.queries = 0;
  ram_->tmrAlarm_Timer();
  EXPECT_EQ(meter_.queries, 1);
  EXPECT_EQ(memory_.freed.size(), 10u);
}

TEST_F(MemoryWindowsTest, UncheckedAutomaticFreesNothing) {
  LoadWindows();
  for (const std::uint64_t free : {std::uint64_t{0}, 200 * kMiB, 4096 * kMiB}) {
    memory_.freeBytes = free;
    ram_->tmrAlarm_Timer();
  }
  EXPECT_TRUE(memory_.freed.empty());
  EXPECT_EQ(meter_.queries, 0);
}

TEST_F(MemoryWindowsTest, CheckReadsTheFreeAmountAndCheckBoxesLive) {
  LoadWindows();
  Click(Ram(IDC_chkAutomatic));
  TypeText(Ram(IDC_txtFreeAlarm), "20");
  ram_->tmrAlarm_Timer();
  EXPECT_EQ(memory_.freed, std::vector<std::int64_t>(10, 20 * 1048576LL));
  // The alarm level, though, waits for Save.
  TypeText(Ram(IDC_txtAlarm), "100");
  memory_.freed.clear();
  ram_->tmrAlarm_Timer();
  EXPECT_EQ(memory_.freed.size(), 10u);
}

TEST_F(MemoryWindowsTest, WithoutTheStatusWindowsMeterTheGateTakesAFailedMeasurement) {
  Store("chkAutomatic", "1");
  LoadWindows(/*loadStatus=*/false);
  EXPECT_EQ(status_->QueryObject(), nullptr);
  ram_->tmrAlarm_Timer();
  EXPECT_EQ(ram_->LastCheck().cpuUsage, -1);
  EXPECT_EQ(memory_.freed.size(), 10u);
}

TEST_F(MemoryWindowsTest, SoundPlaysWhileChecksFindMemoryLowAndStopsWhenOneDoesNot) {
  Store("chkSoundon", "1");
  LoadWindows();
  const std::string sound = AppFile("\\low-memory.wav");
  ram_->tmrSoundPlayer_Timer();
  EXPECT_TRUE(platform_.playedSounds.empty()) << "no check has armed it yet";
  ram_->tmrAlarm_Timer();
  EXPECT_TRUE(ram_->LowMemorySoundDue());
  ram_->tmrSoundPlayer_Timer();
  EXPECT_EQ(platform_.playedSounds, std::vector<std::string>{sound});
  ram_->tmrAlarm_Timer();
  ram_->tmrSoundPlayer_Timer();
  EXPECT_EQ(platform_.playedSounds.size(), 2u);

  memory_.freeBytes = 300 * kMiB;
  ram_->tmrAlarm_Timer();
  EXPECT_FALSE(ram_->LowMemorySoundDue());
  ram_->tmrSoundPlayer_Timer();
  EXPECT_EQ(platform_.playedSounds.size(), 2u);

  memory_.freeBytes = 100 * kMiB;
  Click(Ram(IDC_chkSoundon));
  ram_->tmrAlarm_Timer();
  ram_->tmrSoundPlayer_Timer();
  EXPECT_EQ(platform_.playedSounds.size(), 2u);
  EXPECT_TRUE(memory_.freed.empty());
}

TEST_F(MemoryWindowsTest, CheckTimerFiringDuringAFreeingDoesNotFreeAgain) {
  Store("chkAutomatic", "1");
  LoadWindows();
  int reentered = 0;
  duringPump_ = [&] {
    ++reentered;
    ram_->tmrAlarm_Timer();
  };
  memory_.duringFreeing = [&] { ram_->tmrAlarm_Timer(); };
  ram_->tmrAlarm_Timer();
  EXPECT_EQ(reentered, 21);
  EXPECT_EQ(memory_.freed.size(), 10u);
  EXPECT_TRUE(ram_->LastCheck().started);
  EXPECT_EQ(ram_->LastCheck().attempts, 10);
}

TEST_F(MemoryWindowsTest, RealCheckTimerRunsTheCheck) {
  Store("chkAutomatic", "1");
  LoadWindows();
  ServeMessagesFor(std::chrono::milliseconds(450));
  EXPECT_TRUE(ram_->LastCheck().started);
  EXPECT_GE(memory_.freed.size(), 10u);
}

// ---- System status ---------------------------------------------------------

TEST_F(MemoryWindowsTest, StatusWindowLoadsItsControlsAndMeter) {
  LoadWindows();
  EXPECT_EQ(meter_.initialized, 1);
  ASSERT_NE(status_->QueryObject(), nullptr);
  const std::pair<SystemStatusControl, const char*> captions[] = {
      {IDC_frameMemoryStatus, "System Status"},  {IDC_frameMemoryControl, "Memory Control"},
      {IDC_frameCPUUsage, "Processor usage"},    {IDC_fameMemoryUsage, "Memory usage"},
      {IDC_lblCPUSpeed, "Speed"},                {IDC_lblCPUZoom, "Zoom"},
      {IDC_lblMemorySpeed, "Speed"},             {IDC_lblMemoryZoom, "Zoom"},
      {IDC_cmdOptimaize, "Optimize Now"},        {IDC_lblTargetMemoryNeeded, "Target Level Of RAM 0MB."},
  };
  for (const auto& [id, caption] : captions) EXPECT_EQ(StatusText(id), caption);

  const std::tuple<SystemStatusControl, int, int, int, int> sliders[] = {
      {IDC_sldCPUSpeed, 300, 1000, 1, 5},
      {IDC_sldCPUZoom, 30, 100, 1, 5},
      {IDC_sldMemorySpeed, 300, 1000, 1, 5},
      {IDC_sldMemoryZoom, 30, 100, 2, 5},
  };
  for (const auto& [id, low, high, line, page] : sliders) {
    const HWND slider = Status(id);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), low);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), high);
    EXPECT_EQ(SliderPosition(slider), low) << "starts at its lowest position";
    EXPECT_EQ(SendMessageA(slider, TBM_GETLINESIZE, 0, 0), line);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPAGESIZE, 0, 0), page);
  }
  EXPECT_EQ(SendMessageA(Status(IDC_sldFreeMomoryReq), TBM_GETRANGEMIN, 0, 0), 0);
  EXPECT_EQ(SendMessageA(Status(IDC_sldFreeMomoryReq), TBM_GETRANGEMAX, 0, 0), 2000);
  EXPECT_EQ(status_->TotalPhysicalMB(), 2000);
  EXPECT_EQ(status_->FreeSliderToolTip(), "0 MB to free when Optimize is clicked");
  EXPECT_EQ(status_->CpuInterval(), 300u);
  EXPECT_EQ(status_->MemoryInterval(), 300u);
  for (const Histogram* graph : {&status_->histCPU(), &status_->histMemory()}) {
    EXPECT_EQ(graph->MaxLines(), 30);
    EXPECT_EQ(graph->NewColor(), RGB(0, 255, 0));
    EXPECT_EQ(graph->Value(), 0);
  }
  EXPECT_EQ(GetDlgCtrlID(status_->histCPU().hwnd()), IDC_histCPU);
  EXPECT_EQ(GetParent(status_->histMemory().hwnd()), status_->Window());
}

// At start-up the window keeps only what its timers need: they graph,
// caption and set the tool tip with no slider made, and the first show adds
// the sliders around what the ticks left.
TEST_F(MemoryWindowsTest, StatusWindowTicksFromStartUpAndMakesItsSlidersOnFirstShow) {
  memory_.freeBytes = 500 * kMiB;
  meter_.usage = 37;
  status_ = std::make_unique<frmSystemStatus>(shell_, memory_, [this] { return std::make_unique<MeterProxy>(meter_); });
  ASSERT_TRUE(status_->LoadAtStartup());
  EXPECT_EQ(Status(IDC_sldCPUSpeed), nullptr);
  EXPECT_EQ(Status(IDC_cmdOptimaize), nullptr);
  EXPECT_TRUE(shell_.skinned.empty());
  EXPECT_EQ(status_->TotalPhysicalMB(), 2000);
  status_->tmrCPU_Timer();
  status_->tmrMemory_Timer();
  EXPECT_EQ(status_->histCPU().Value(), 37);
  EXPECT_EQ(status_->histMemory().Value(), 25);
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (500MB).");

  ASSERT_TRUE(status_->Load());
  ASSERT_TRUE(status_->Load());
  EXPECT_EQ(StatusText(IDC_frameCPUUsage), "Processor usage (37%).");
  EXPECT_EQ(StatusText(IDC_fameMemoryUsage), "Memory Usage (25%).");
  EXPECT_EQ(SendMessageA(Status(IDC_sldFreeMomoryReq), TBM_GETRANGEMAX, 0, 0), 2000);
  EXPECT_EQ(SliderPosition(Status(IDC_sldCPUZoom)), 30);
  EXPECT_EQ(StatusText(IDC_lblTargetMemoryNeeded), "Target Level Of RAM 0MB.");
  EXPECT_EQ(shell_.skinned, std::vector<HWND>{status_->Window()});
  EXPECT_EQ(meter_.initialized, 1);
  // The graphs go on from their samples; the sliders work the timers.
  EXPECT_EQ(status_->histCPU().Samples().TotalAdded(), 1u);
  SendMessageA(Status(IDC_sldCPUSpeed), TBM_SETPOS, TRUE, 800);
  status_->sldCPUSpeed_Click();
  EXPECT_EQ(status_->CpuInterval(), 500u);
}

TEST_F(MemoryWindowsTest, MemoryTickGraphsTheFreeShareAndSetsTheToolTipInMegabytes) {
  memory_.freeBytes = 1000 * kMiB;
  LoadWindows();
  status_->tmrMemory_Timer();
  EXPECT_EQ(status_->FreePhysicalMB(), 1000);
  EXPECT_EQ(status_->histMemory().Value(), 50);
  EXPECT_EQ(StatusText(IDC_fameMemoryUsage), "Memory Usage (50%).");
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (1000MB).");
}

TEST_F(MemoryWindowsTest, ToolTipFollowsTheRamWindowsPercentOption) {
  memory_.freeBytes = 1000 * kMiB;
  LoadWindows();
  Click(Ram(IDC_optPer));
  status_->tmrMemory_Timer();
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (50%).");
  memory_.freeBytes = 1500 * kMiB;
  Click(Ram(IDC_optMB));
  status_->tmrMemory_Timer();
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (1500MB).");
  EXPECT_EQ(status_->histMemory().Value(), 75);
  // Without the RAM window the tool tip shows megabytes: a RAM window that
  // goes away leaves the status window.
  Click(Ram(IDC_optPer));
  ram_.reset();
  status_->tmrMemory_Timer();
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (1500MB).");
  frmRamConfiguration other(shell_, *status_, memory_, [](int) {});
  ASSERT_TRUE(other.Load());
  Click(other.Control(IDC_optPer));
  status_->tmrMemory_Timer();
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (75%).");
  // Only the window that is set is forgotten.
  status_->ForgetRamConfiguration(nullptr);
  status_->tmrMemory_Timer();
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (75%).");
}

TEST_F(MemoryWindowsTest, LargeMachinesOverflowNothing) {
  memory_.totalBytes = 48ULL * 1024 * kMiB;
  memory_.freeBytes = 30ULL * 1024 * kMiB;
  LoadWindows();
  EXPECT_EQ(status_->TotalPhysicalMB(), 49152);
  EXPECT_EQ(SendMessageA(Status(IDC_sldFreeMomoryReq), TBM_GETRANGEMAX, 0, 0), 49152);
  status_->tmrMemory_Timer();
  EXPECT_EQ(status_->FreePhysicalMB(), 30720);
  EXPECT_EQ(status_->histMemory().Value(), 62);  // 62.5, to even
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (30720MB).");

  // The whole machine, 48 GB, in one request: the byte count is 64-bit.
  MoveSlider(Status(IDC_sldFreeMomoryReq), 49152);
  EXPECT_EQ(StatusText(IDC_lblTargetMemoryNeeded), "Target Level Of RAM 49152MB.");
  status_->cmdOptimaize_Click();
  EXPECT_EQ(memory_.freed, std::vector<std::int64_t>{49152LL * 1048576});
}

TEST_F(MemoryWindowsTest, TerabyteMachine) {
  memory_.totalBytes = 1024ULL * 1024 * kMiB;
  memory_.freeBytes = 700ULL * 1024 * kMiB;
  LoadWindows();
  EXPECT_EQ(status_->TotalPhysicalMB(), 1048576);
  status_->tmrMemory_Timer();
  EXPECT_EQ(status_->FreePhysicalMB(), 716800);
  EXPECT_EQ(status_->histMemory().Value(), 68);  // 68.359...
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (716800MB).");
}

TEST_F(MemoryWindowsTest, NoTotalSkipsOnlyTheSample) {
  memory_.totalBytes = 0;
  memory_.freeBytes = 1000 * kMiB;
  LoadWindows();
  status_->tmrMemory_Timer();
  EXPECT_EQ(status_->histMemory().Samples().Count(), 0);
  EXPECT_EQ(StatusText(IDC_fameMemoryUsage), "Memory Usage (0%).");
  EXPECT_EQ(shell_.trayToolTip, "Memory Usage (1000MB).");
}

// The status window's graphs, shown at the default zoom, scroll on every
// tick rather than being drawn anew.
TEST_F(MemoryWindowsTest, ShownGraphsScrollOnEveryTickAtTheDefaultZoom) {
  LoadWindows();
  ShowWindow(shell_.ChildFrame(), SW_SHOWNOACTIVATE);
  ShowWindow(status_->Window(), SW_SHOWNOACTIVATE);
  UpdateWindow(status_->Window());
  meter_.usage = 40;
  for (int tick = 0; tick < 12; ++tick) {
    status_->tmrCPU_Timer();
    status_->tmrMemory_Timer();
    UpdateWindow(status_->Window());
  }
  for (const Histogram* graph : {&status_->histCPU(), &status_->histMemory()}) {
    EXPECT_GE(graph->Paints().scrolled, 10);
    EXPECT_LE(graph->Paints().full, 2);
  }
}

TEST_F(MemoryWindowsTest, CpuTickGraphsTheMetersAnswer) {
  LoadWindows();
  meter_.usage = 37;
  status_->tmrCPU_Timer();
  EXPECT_EQ(status_->histCPU().Value(), 37);
  EXPECT_EQ(StatusText(IDC_frameCPUUsage), "Processor usage (37%).");
  meter_.usage = -1;
  status_->tmrCPU_Timer();
  EXPECT_EQ(status_->histCPU().Value(), -1);
  EXPECT_EQ(StatusText(IDC_frameCPUUsage), "Processor usage (-1%).");
  EXPECT_EQ(status_->histCPU().Samples().Count(), 2);
}

TEST_F(MemoryWindowsTest, CheckAndCpuGraphShareOneMeter) {
  Store("chkAutomatic", "1");
  LoadWindows();
  status_->tmrCPU_Timer();
  ram_->tmrAlarm_Timer();
  status_->tmrCPU_Timer();
  EXPECT_EQ(meter_.queries, 3);
}

TEST_F(MemoryWindowsTest, FreeingSliderTexts) {
  LoadWindows();
  // The tip's control is made when the window is first shown, with the tip of that moment.
  EXPECT_EQ(ToolTipOf(status_->Window(), Status(IDC_sldFreeMomoryReq)), "<no tooltip control>");
  ShowWindow(status_->Window(), SW_SHOWNA);
  EXPECT_EQ(ToolTipOf(status_->Window(), Status(IDC_sldFreeMomoryReq)), status_->FreeSliderToolTip());
  MoveSlider(Status(IDC_sldFreeMomoryReq), 64);
  EXPECT_EQ(status_->FreeSliderToolTip(), "64 MB to free when Optimize is clicked");
  EXPECT_EQ(ToolTipOf(status_->Window(), Status(IDC_sldFreeMomoryReq)), "64 MB to free when Optimize is clicked");
  EXPECT_EQ(StatusText(IDC_lblTargetMemoryNeeded), "Target Level Of RAM 64MB.");
  // The keyboard moves it too.
  SendMessageA(Status(IDC_sldFreeMomoryReq), WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageA(Status(IDC_sldFreeMomoryReq), WM_KEYUP, VK_RIGHT, 0);
  EXPECT_EQ(StatusText(IDC_lblTargetMemoryNeeded), "Target Level Of RAM 65MB.");
}

TEST_F(MemoryWindowsTest, SpeedSlidersSetTheirTimerTo1300LessTheirValue) {
  LoadWindows();
  // At its lowest position a click makes the timer slower than at start.
  MoveSlider(Status(IDC_sldCPUSpeed), 300);
  EXPECT_EQ(status_->CpuInterval(), 1000u);
  EXPECT_EQ(status_->MemoryInterval(), 300u);
  MoveSlider(Status(IDC_sldCPUSpeed), 1000);
  EXPECT_EQ(status_->CpuInterval(), 300u);
  MoveSlider(Status(IDC_sldMemorySpeed), 650);
  EXPECT_EQ(status_->MemoryInterval(), 650u);
  MoveSlider(Status(IDC_sldMemorySpeed), 301);
  EXPECT_EQ(status_->MemoryInterval(), 999u);
  // A value beyond the range is held by the slider at its end.
  MoveSlider(Status(IDC_sldMemorySpeed), 5000);
  EXPECT_EQ(status_->MemoryInterval(), 300u);
}

TEST_F(MemoryWindowsTest, ZoomSlidersSetTheSamplesShown) {
  LoadWindows();
  MoveSlider(Status(IDC_sldCPUZoom), 75);
  EXPECT_EQ(status_->histCPU().MaxLines(), 75);
  EXPECT_EQ(status_->histMemory().MaxLines(), 30);
  MoveSlider(Status(IDC_sldMemoryZoom), 100);
  EXPECT_EQ(status_->histMemory().MaxLines(), 100);
}

TEST_F(MemoryWindowsTest, OptimizeNowFreesTheSlidersAmountUnderTheBusyCursor) {
  LoadWindows();
  bool busy = false;
  HCURSOR cursor = nullptr;
  memory_.duringFreeing = [&] {
    busy = status_->Optimizing();
    cursor = GetCursor();
    // A second click while freeing starts nothing.
    Click(Status(IDC_cmdOptimaize));
  };
  Click(Status(IDC_cmdOptimaize));
  EXPECT_EQ(memory_.freed, std::vector<std::int64_t>{0});
  EXPECT_TRUE(busy);
  EXPECT_EQ(cursor, LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_FALSE(status_->Optimizing());
  EXPECT_NE(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));

  memory_.duringFreeing = nullptr;
  MoveSlider(Status(IDC_sldFreeMomoryReq), 64);
  status_->cmdOptimaize_Click();
  EXPECT_EQ(memory_.freed, (std::vector<std::int64_t>{0, 64LL * 1048576}));
}

// ---- With the machine's own figures ---------------------------------------

TEST(SystemStatusOnThisMachine, FiguresMatchProcMeminfo) {
  test::FakeShell shell;
  frmSystemStatus status(shell);
  ASSERT_TRUE(status.Load());
  status.tmrMemory_Timer();
  const auto meminfo = test::ReadProcMeminfo();
  if (!meminfo) GTEST_SKIP() << "Z:\\proc\\meminfo cannot be read here";
  const double totalMB = static_cast<double>(meminfo->at("MemTotal")) / 1024.0;
  const double availableMB = static_cast<double>(meminfo->at("MemAvailable")) / 1024.0;
  EXPECT_NEAR(static_cast<double>(status.TotalPhysicalMB()), totalMB, 0.01 * totalMB);
  EXPECT_NEAR(static_cast<double>(status.FreePhysicalMB()), availableMB, 0.05 * totalMB);
  EXPECT_NEAR(status.histMemory().Value(), 100.0 * availableMB / totalMB, 5.0);
  EXPECT_EQ(SendMessageA(status.Control(IDC_sldFreeMomoryReq), TBM_GETRANGEMAX, 0, 0), status.TotalPhysicalMB());
  EXPECT_EQ(shell.trayToolTip, "Memory Usage (" + std::to_string(status.FreePhysicalMB()) + "MB).");
}

TEST(SystemStatusOnThisMachine, MeterOfTheRunningFamilyAndLiveTimers) {
  test::FakeShell shell;
  frmSystemStatus status(shell);
  ASSERT_TRUE(status.Load());
  CpuUsageMeter* meter = status.QueryObject();
  ASSERT_NE(meter, nullptr);
  if (IsNtPlatform()) {
    EXPECT_NE(dynamic_cast<clsCPUUsageNT*>(meter), nullptr);
  } else {
    EXPECT_NE(dynamic_cast<clsCPUUsage*>(meter), nullptr);
  }
  ServeMessagesFor(std::chrono::milliseconds(1000));
  EXPECT_GE(status.histCPU().Samples().Count(), 2);
  EXPECT_GE(status.histMemory().Samples().Count(), 2);
  EXPECT_GE(status.histCPU().Value(), 0);
  EXPECT_LE(status.histCPU().Value(), 100);
  EXPECT_GT(status.histMemory().Value(), 0);
  EXPECT_LE(status.histMemory().Value(), 100);
  EXPECT_EQ(WindowText(status.Control(IDC_frameCPUUsage)),
            "Processor usage (" + std::to_string(status.histCPU().Value()) + "%).");
  status.Unload();
  EXPECT_EQ(status.Window(), nullptr);
}

}  // namespace
}  // namespace tarvix
