// "Find largest MTU" over a real link, run by mtu-netns-test.sh inside a
// network namespace whose only link (a veth pair of MTU 1400) leads to a
// peer at $TARVIX_MTU_PEER; $TARVIX_MTU_SILENT is an address on that link
// that nobody has. No other address is ever sent to.
//
// Wine's IcmpSendEcho does not set the don't-fragment flag (a 2000-byte echo
// with it crosses a 1400-byte link), so here only the interface bound can
// bring the 1400: the first request, at the adapter's own size, comes back.
// The halving search over real "fragmentation needed" answers is covered by
// the fake path of MtuSearchTest.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/OsDetect.h"
#include "optimizer/MtuFinder.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/frmNormalMode.h"
#include "pinger/HostAddress.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "support/Screenshot.h"
#include "support/SkinnedShell.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

class MtuOverALink : public testing::RegistryTest {
 protected:
  void SetUp() override {
    peer_ = Env("TARVIX_MTU_PEER");
    silent_ = Env("TARVIX_MTU_SILENT");
    link_ = std::atoi(Env("TARVIX_MTU_LINK").c_str());
    if (peer_.empty() || link_ == 0) GTEST_SKIP() << "run by mtu-netns-test.sh inside its namespace";
    RegistryTest::SetUp();
  }

  std::string peer_;
  std::string silent_;
  int link_ = 0;
};

void Report(const char* what, const MtuMeasurement& measurement) {
  std::printf("%s: status %d, interface MTU %d, outcome %d, MTU %d, exact %d, %d requests, %lu ms\n", what,
              static_cast<int>(measurement.status), measurement.interfaceMtu,
              static_cast<int>(measurement.outcome.kind), measurement.outcome.mtu, measurement.outcome.exact ? 1 : 0,
              measurement.outcome.requests, static_cast<unsigned long>(measurement.milliseconds));
}

TEST_F(MtuOverALink, TheInterfaceTowardsThePeerReportsTheLinkMtu) {
  const auto address = ParseDottedParts(peer_);
  ASSERT_TRUE(address.has_value());
  EXPECT_EQ(InterfaceMtuTowards(*address), link_);
}

TEST_F(MtuOverALink, TheFinderReportsTheLinkMtu) {
  int announced = 0;
  const MtuMeasurement measurement =
      MeasureLargestMtu(peer_, [] { return false; }, [&](int) { ++announced; });
  Report("peer", measurement);
  ASSERT_EQ(measurement.status, MtuMeasurement::Status::Measured);
  EXPECT_EQ(measurement.interfaceMtu, link_);
  EXPECT_EQ(measurement.outcome.kind, mtu::MtuOutcome::Kind::Found);
  EXPECT_EQ(measurement.outcome.mtu, link_);
  EXPECT_TRUE(measurement.outcome.exact);
  EXPECT_EQ(measurement.outcome.limit, mtu::MtuOutcome::Limit::Interface);
  EXPECT_EQ(announced, measurement.outcome.requests);
  EXPECT_LE(measurement.outcome.requests, mtu::kMaxRequests);
}

TEST_F(MtuOverALink, AnAddressNobodyHasDoesNotAnswerAtAll) {
  if (silent_.empty()) GTEST_SKIP();
  const MtuMeasurement measurement = MeasureLargestMtu(silent_, [] { return false; }, [](int) {});
  Report("silent", measurement);
  ASSERT_EQ(measurement.status, MtuMeasurement::Status::Measured);
  EXPECT_EQ(measurement.outcome.kind, mtu::MtuOutcome::Kind::NoAnswer);
  EXPECT_LE(measurement.outcome.requests, mtu::kMaxRequests);
}

TEST_F(MtuOverALink, TheEditorFillsBothBoxesAndKeepsAnswering) {
  testing::FakePlatform platform;
  LoadWizardPresets();
  CurrentParameters = WizardPresets[0];
  OsFamily = kOsUnclassified;  // Finish is never pressed here
  test::SkinnedShell shell(frmNormalMode::kWidth, frmNormalMode::kHeight, TARVIX_ASSETS_DIR "/TarvixMask.skn", 140, 140);
  frmNormalMode window(shell);
  ASSERT_TRUE(window.Load());
  const HWND form = window.Window();
  test::Click(GetDlgItem(form, frmNormalMode::IDC_optConnType0 + 2));  // DSL: 1492 and 1452
  test::Click(GetDlgItem(form, frmNormalMode::IDC_cmdNextPage));
  ASSERT_EQ(window.currWizardPage(), 1);
  ASSERT_EQ(WindowText(GetDlgItem(form, frmNormalMode::IDC_txtMTUValue)), "1492");
  test::TypeText(GetDlgItem(form, frmNormalMode::IDC_txtMtuHost), peer_);

  // A timer posted to the window's thread before the click must run while
  // the measurement waits for its echoes.
  static int ticks = 0;
  ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
  const DWORD started = GetTickCount();
  test::Click(GetDlgItem(form, frmNormalMode::IDC_cmdFindMtu));
  const DWORD took = GetTickCount() - started;
  KillTimer(nullptr, timer);
  std::printf("window: %lu ms, %d timer ticks served while measuring\n", static_cast<unsigned long>(took), ticks);

  EXPECT_FALSE(window.Measuring());
  EXPECT_EQ(window.LastMeasurement().outcome.mtu, link_);
  EXPECT_EQ(WindowText(GetDlgItem(form, frmNormalMode::IDC_txtMTUValue)), std::to_string(link_));
  EXPECT_EQ(WindowText(GetDlgItem(form, frmNormalMode::IDC_txtMSSValue)), std::to_string(link_ - 40));
  EXPECT_EQ(WindowText(GetDlgItem(form, frmNormalMode::IDC_cmdFindMtu)), "Find largest MTU");
  if (took > 100) {
    EXPECT_GT(ticks, 0) << "no message was served while measuring";
  }

  shell.ShowInFront(form);
  EXPECT_TRUE(test::SaveScreenshot(form, "advanced-mode-mtu-measured.png"));

  // Next goes on with the measured values, as with typed ones.
  test::Click(GetDlgItem(form, frmNormalMode::IDC_cmdNextPage));
  EXPECT_EQ(window.currWizardPage(), 2);
  window.Unload();
}

// What a 10 ms timer saw while a measurement ran: how many ticks were
// served and the longest wait between two of them.
struct TickLog {
  int ticks = 0;
  DWORD first = 0;
  DWORD last = 0;
  DWORD longestGap = 0;
  HWND cancel = nullptr;  // clicked once the measurement has run this long:
  DWORD cancelAfterMs = 0;
  bool cancelled = false;
};
TickLog g_ticks;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
  const DWORD now = GetTickCount();
  if (g_ticks.ticks++ == 0) g_ticks.first = now;
  if (g_ticks.last != 0 && now - g_ticks.last > g_ticks.longestGap) g_ticks.longestGap = now - g_ticks.last;
  g_ticks.last = now;
  if (g_ticks.cancel != nullptr && !g_ticks.cancelled && now - g_ticks.first >= g_ticks.cancelAfterMs) {
    g_ticks.cancelled = true;
    test::Click(g_ticks.cancel);  // the button reads "Cancel" while it measures
  }
}

TEST_F(MtuOverALink, TheEditorAnswersWhileAHostIsSilentAndCancelStopsIt) {
  if (silent_.empty()) GTEST_SKIP();
  testing::FakePlatform platform;
  LoadWizardPresets();
  CurrentParameters = WizardPresets[0];
  OsFamily = kOsUnclassified;
  test::FakeShell shell;
  frmNormalMode window(shell);
  ASSERT_TRUE(window.Load());
  const HWND form = window.Window();
  test::Click(GetDlgItem(form, frmNormalMode::IDC_cmdNextPage));
  test::TypeText(GetDlgItem(form, frmNormalMode::IDC_txtMtuHost), silent_);

  g_ticks = TickLog{};
  g_ticks.cancel = GetDlgItem(form, frmNormalMode::IDC_cmdFindMtu);
  g_ticks.cancelAfterMs = 2500;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, CountTick);
  const DWORD started = GetTickCount();
  test::Click(GetDlgItem(form, frmNormalMode::IDC_cmdFindMtu));
  const DWORD took = GetTickCount() - started;
  KillTimer(nullptr, timer);
  std::printf("silent host in the window: cancelled after %lu ms, %d ticks, longest wait %lu ms, %d requests\n",
              static_cast<unsigned long>(took), g_ticks.ticks, static_cast<unsigned long>(g_ticks.longestGap),
              window.LastMeasurement().outcome.requests);

  EXPECT_TRUE(g_ticks.cancelled);
  EXPECT_EQ(window.LastMeasurement().outcome.kind, mtu::MtuOutcome::Kind::Cancelled);
  // Cancel takes effect when the echo in flight has had its second.
  EXPECT_LT(took, g_ticks.cancelAfterMs + kMtuEchoTimeoutMs + 1000);
  EXPECT_LT(g_ticks.longestGap, 250u) << "the window stopped answering";
  EXPECT_EQ(WindowText(GetDlgItem(form, frmNormalMode::IDC_txtMTUValue)), "576");
  EXPECT_EQ(WindowText(GetDlgItem(form, frmNormalMode::IDC_lblMtuResult)), "Cancelled.");
  window.Unload();
}

}  // namespace
}  // namespace tarvix
