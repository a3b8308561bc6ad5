#pragma once
// The seven tool windows of the main window, each made once per process.
#include <array>
#include <memory>

#include "app/CommandTable.h"
#include "ui/ToolWindow.h"

namespace tarvix {

class frmMainSettings;
class frmBackUp;

class ToolWindowSet {
 public:
  explicit ToolWindowSet(Shell& shell);
  ~ToolWindowSet();
  ToolWindowSet(const ToolWindowSet&) = delete;
  ToolWindowSet& operator=(const ToolWindowSet&) = delete;

  // Null for a window this build does not have.
  [[nodiscard]] IToolWindow* Get(ToolWindow which) const noexcept;
  [[nodiscard]] frmMainSettings& MainSettings() const noexcept { return *mainSettings_; }
  // Rebuilds the backup manager's list from the Backups folder.
  void RebuildBackupList();

 private:
  std::array<std::unique_ptr<IToolWindow>, kToolWindowCount> windows_;
  frmMainSettings* mainSettings_ = nullptr;
  frmBackUp* backUp_ = nullptr;
};

}  // namespace tarvix
