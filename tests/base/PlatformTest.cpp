#include <gtest/gtest.h>

#include "base/AppPaths.h"
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
