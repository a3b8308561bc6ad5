// The command line an instance restarted as administrator receives: what the
// old instance writes reads back the same, and nothing else is taken for it.
#include <gtest/gtest.h>

#include "app/HandOver.h"

namespace tarvix {
namespace {

TEST(HandOver, EveryToolWindowRoundTripsWithTheProcessId) {
  for (std::size_t i = 0; i < kToolWindowCount; ++i) {
    const auto tool = static_cast<ToolWindow>(i);
    const HandOver handOver{4242u, tool};
    EXPECT_EQ(ParseHandOver(HandOverArguments(handOver)), handOver) << HandOverArguments(handOver);
    // Each opens through the movie's command, with its child-area size.
    const CommandRow* row = CommandShowing(tool);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->shows, tool);
  }
  EXPECT_EQ(HandOverArguments({4242u, ToolWindow::BackUp}), "/restarted-from 4242 /open backup");
  EXPECT_EQ(HandOverArguments({4294967295u, std::nullopt}), "/restarted-from 4294967295");
  EXPECT_EQ(ParseHandOver("/restarted-from 4294967295"), (HandOver{4294967295u, std::nullopt}));
}

TEST(HandOver, WrittenByHandInAnyCaseOrOrderWithQuotesAndExtraWords) {
  EXPECT_EQ(ParseHandOver("  /OPEN \"Settings\"\t/Restarted-From 17  "), (HandOver{17u, ToolWindow::MainSettings}));
  EXPECT_EQ(ParseHandOver("-x /open ram extra /restarted-from 9 words"), (HandOver{9u, ToolWindow::RamConfiguration}));
  // The first valid value of a switch counts.
  EXPECT_EQ(ParseHandOver("/open status /open wizard"), (HandOver{std::nullopt, ToolWindow::SystemStatus}));
  EXPECT_EQ(ParseHandOver("/open nonsense /open pinger"), (HandOver{std::nullopt, ToolWindow::NetPingerSettings}));
}

TEST(HandOver, BadInputIsIgnored) {
  const HandOver nothing;
  for (const char* bad : {"", "   ", "/restarted-from", "/open", "/restarted-from 0", "/restarted-from -5",
                          "/restarted-from +5", "/restarted-from 12x", "/restarted-from 4294967296",
                          "/restarted-from 99999999999999999999", "/restarted-from 0x10", "/open backups",
                          "/open \"\"", "/open \"backup", "/openbackup", "restarted-from 5 open backup",
                          "/restarted-from /open", "\"/restarted-from 5\""}) {
    EXPECT_EQ(ParseHandOver(bad), nothing) << bad;
  }
  // A switch right after a switch does not swallow the second one.
  EXPECT_EQ(ParseHandOver("/open /restarted-from 5"), (HandOver{5u, std::nullopt}));
  EXPECT_EQ(ParseHandOver("/restarted-from /open wizard"), (HandOver{std::nullopt, ToolWindow::WizardMode}));
  // An unknown word does not stop the reading.
  EXPECT_EQ(ParseHandOver("/restarted-from abc /open advanced"), (HandOver{std::nullopt, ToolWindow::NormalMode}));
}

}  // namespace
}  // namespace tarvix
