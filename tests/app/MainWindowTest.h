#pragma once
// The fixture of the main window's tests: the registry redirected, a scratch
// AppDir holding the real skin (so that skinning shows on the controls), a
// recording platform, a recording notification shell, and the main window
// made by Start().
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "app/frmMain.h"
#include "app/skin/SkinFile.h"
#include "base/AppPaths.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"
#include "ui/TrayTestSupport.h"

namespace tarvix::testing {

class MainWindowTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    platform_.emplace();
    appDir_.emplace();
    CopyFileA(TARVIX_ASSETS_DIR "\\TarvixMask.skn", AppFile(kSkinFileName).c_str(), FALSE);
  }
  void TearDown() override {
    main_.reset();
    appDir_.reset();
    platform_.reset();
    RegistryTest::TearDown();
  }

  frmMain& Start() {
    main_.emplace(shell_);
    EXPECT_TRUE(main_->Form_Load());
    return *main_;
  }

  // Made anew by each SetUp, so a test that starts over gets a fresh record.
  std::optional<FakePlatform> platform_;
  RecordingShell shell_;
  std::optional<TempDir> appDir_;
  std::optional<frmMain> main_;
};

}  // namespace tarvix::testing
