#include "app/ToolWindows.h"

#include "app/frmMainSettings.h"
#include "backup/frmBackUp.h"
#include "memory/frmRamConfiguration.h"
#include "memory/frmSystemStatus.h"
#include "optimizer/frmNormalMode.h"
#include "optimizer/frmWizardMode.h"
#include "pinger/frmNetPingerSettings.h"

namespace tarvix {
namespace {

std::size_t IndexOf(ToolWindow which) noexcept { return static_cast<std::size_t>(which); }

}  // namespace

ToolWindowSet::ToolWindowSet(Shell& shell) {
  windows_[IndexOf(ToolWindow::WizardMode)] = std::make_unique<frmWizardMode>(shell);
  windows_[IndexOf(ToolWindow::NormalMode)] = std::make_unique<frmNormalMode>(shell);
  // The RAM configuration's check queries the status window's processor
  // meter, so the status window is made first and goes last.
  auto status = std::make_unique<frmSystemStatus>(shell);
  windows_[IndexOf(ToolWindow::RamConfiguration)] = std::make_unique<frmRamConfiguration>(shell, *status);
  windows_[IndexOf(ToolWindow::SystemStatus)] = std::move(status);
  windows_[IndexOf(ToolWindow::NetPingerSettings)] = std::make_unique<frmNetPingerSettings>(shell);
  auto backUp = std::make_unique<frmBackUp>(shell);
  backUp_ = backUp.get();
  windows_[IndexOf(ToolWindow::BackUp)] = std::move(backUp);
  auto mainSettings = std::make_unique<frmMainSettings>(shell);
  mainSettings_ = mainSettings.get();
  windows_[IndexOf(ToolWindow::MainSettings)] = std::move(mainSettings);
}

// Destroyed in the main window's unload order.
ToolWindowSet::~ToolWindowSet() {
  for (const ToolWindow which : kUnloadOrder) windows_[IndexOf(which)].reset();
}

IToolWindow* ToolWindowSet::Get(ToolWindow which) const noexcept { return windows_[IndexOf(which)].get(); }

void ToolWindowSet::RebuildBackupList() {
  if (backUp_->Load()) backUp_->intializeList();
}

}  // namespace tarvix
