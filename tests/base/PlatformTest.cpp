#include <gtest/gtest.h>

#include "base/AppPaths.h"
#include "base/Elevation.h"
#include "base/OsDetect.h"
#include "base/Platform.h"
#include "support/FakePlatform.h"

namespace tarvix {
namespace {

TEST(Platform, MessagesAreTitledTarvixAndRecorded) {
  testing::FakePlatform fake;
  fake.answers.push_back(IDNO);
  EXPECT_FALSE(AskYesNo("Delete it?"));
  EXPECT_TRUE(AskYesNo("Delete it?"));  // unscripted Yes/No answers Yes
  ShowError("It failed.");
  ASSERT_EQ(fake.messages.size(), 3u);
  EXPECT_EQ(fake.messages[0].title, "Tarvix");
  EXPECT_EQ(fake.messages[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
  EXPECT_EQ(fake.messages[2].text, "It failed.");
  EXPECT_EQ(fake.messages[2].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

TEST(Platform, FakeIsUninstalledWithItsScope) {
  Platform* real = &CurrentPlatform();
  {
    testing::FakePlatform fake;
    EXPECT_EQ(&CurrentPlatform(), &fake);
  }
  EXPECT_EQ(&CurrentPlatform(), real);
}

class CountingRestart final : public AdministratorRestart {
 public:
  int restarts = 0;
  void RestartAsAdministrator() noexcept override { ++restarts; }
};

TEST(Elevation, TheRefusalAsksToRestartOnlyWhereThatCanHelpAndYesRestarts) {
  testing::FakePlatform fake;
  const ScopedReportedVersion seven(2, 6, 1);
  fake.elevated = false;
  // Nothing installed to restart the program: the refusal alone.
  ShowRefusedForRights("Refused.");
  CountingRestart restart;
  SetAdministratorRestart(&restart);
  fake.answers = {IDNO, IDYES};
  ShowRefusedForRights("Refused.");
  ShowRefusedForRights("Refused.");
  fake.elevated = true;
  ShowRefusedForRights("Refused.");
  SetAdministratorRestart(nullptr);

  ASSERT_EQ(fake.messages.size(), 4u);
  EXPECT_EQ(fake.messages[0].text, "Refused.");
  EXPECT_EQ(fake.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  for (const std::size_t asked : {1u, 2u}) {
    EXPECT_EQ(fake.messages[asked].text, "Refused.\r\n\r\nRestart Tarvix as administrator?");
    EXPECT_EQ(fake.messages[asked].flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
  }
  EXPECT_EQ(fake.messages[3].flags, static_cast<UINT>(MB_OK | MB_ICONERROR)) << "elevated already";
  EXPECT_EQ(restart.restarts, 1);
  EXPECT_TRUE(WindowsKnowsElevation());
  EXPECT_TRUE(RunsElevated());
}

TEST(AppPaths, AppDirIsTheExecutablesFolder) {
  const std::string exe = ExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.substr(0, AppDir().size()), AppDir());
  EXPECT_EQ(exe[AppDir().size()], '\\');
  SetAppDirForTesting("C:\\scratch\\");
  EXPECT_EQ(AppFile("\\Backups"), "C:\\scratch\\Backups");
  SetAppDirForTesting("");
  EXPECT_EQ(exe.substr(0, AppDir().size()), AppDir());
}

}  // namespace
}  // namespace tarvix
