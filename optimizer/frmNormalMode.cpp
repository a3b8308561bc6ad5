#include "optimizer/frmNormalMode.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>

#include "base/OsDetect.h"
#include "optimizer/AdvancedPages.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/WindowsReads.h"
#include "pinger/PingerSettings.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using W = frmNormalMode;
using advanced::Box;
using advanced::Check;
namespace text = advanced::text;

constexpr int kAlways = -1;  // not on a page: the outer frame and the buttons

struct PageControl {
  int page;
  ControlSpec control;
};

constexpr ControlSpec Text(std::string_view caption, int x, int y, int width, int height) {
  return ControlSpec{ControlKind::Label, W::IDC_lblText, caption, x, y, width, height};
}
// A label on a row of fields, centred on them.
constexpr ControlSpec RowText(std::string_view caption, int x, int y, int width, int id = W::IDC_lblText) {
  return ControlSpec{ControlKind::Label, id, caption, x, y, width, grid::kRowHeight, SS_CENTERIMAGE};
}
constexpr ControlSpec Field(int id, std::string_view initial, int x, int y, int width, DWORD style = 0) {
  return ControlSpec{ControlKind::Edit, id, initial, x, y, width, grid::kRowHeight, style};
}
constexpr ControlSpec PageFrame(int page) {
  return ControlSpec{ControlKind::Frame, W::IDC_frmWizardPages0 + page,
                     advanced::kPageCaptions[static_cast<std::size_t>(page)], 16, 22, 408, 186};
}
constexpr ControlSpec ConnectionOption(int index) {
  return ControlSpec{ControlKind::Option, W::IDC_optConnType0 + index,
                     advanced::kConnectionTypes[static_cast<std::size_t>(index)].caption, 40, 80 + index * 22, 340, 18,
                     index == 0 ? static_cast<DWORD>(WS_GROUP | WS_TABSTOP) : 0u};
}

// Child area 440 x 252: the title frame, one page frame at a time inside it
// (content from x 28 to 412, y 40 to 204, 12 pixels inside the page frame and
// grid::kTightCaptionClearance under its caption), Back and Next below the
// page at the bottom right. Rows of fields are grid::kRowHeight high with
// their labels centred on them.
// Every control is a child of the window itself, so its notifications reach
// the window; a page is the set of rows with its number.
constexpr std::array kControls = {
    PageControl{kAlways, {ControlKind::Frame, W::IDC_frameAdvancedMode, "Normal Mode", 8, 4, 424, 244}},
    // Page 0: connection type.
    PageControl{0, PageFrame(0)},
    PageControl{0, Text(text::kConnectionQuestion, 28, 40, 384, 16)},
    PageControl{0, {ControlKind::Frame, W::IDC_frameConnType, "Connection Type", 28, 60, 384, 112}},
    PageControl{0, ConnectionOption(0)},
    PageControl{0, ConnectionOption(1)},
    PageControl{0, ConnectionOption(2)},
    PageControl{0, ConnectionOption(3)},
    PageControl{0, Text(text::kConnectionHint, 28, 180, 384, 16)},
    // Page 1: MTU and MSS, and the measurement that finds them.
    PageControl{1, PageFrame(1)},
    PageControl{1, Text(text::kMtuExplanation, 28, 40, 384, 60)},
    PageControl{1, RowText(text::kMtuCaption, 28, 104, 48)},
    PageControl{1, Field(W::IDC_txtMTUValue, "576", 80, 104, 76, WS_GROUP)},
    PageControl{1, RowText(text::kMtuRecommended, 164, 104, 156)},
    PageControl{1, RowText("", 324, 104, 88, W::IDC_lblMTURecValue)},
    PageControl{1, RowText(text::kMssCaption, 28, 128, 48)},
    PageControl{1, Field(W::IDC_txtMSSValue, "536", 80, 128, 76)},
    PageControl{1, RowText(text::kMssRecommended, 164, 128, 156)},
    PageControl{1, RowText("", 324, 128, 88, W::IDC_lblMSSRecVaklue)},
    PageControl{1, {ControlKind::Button, W::IDC_cmdFindMtu, text::kFindMtuCaption, 28, 152, grid::kWideButtonWidth,
                    grid::kButtonHeight}},
    PageControl{1, RowText(text::kMtuHostCaption, 164, 156, 44)},
    PageControl{1, Field(W::IDC_txtMtuHost, "", 212, 156, 200)},
    PageControl{1, {ControlKind::Label, W::IDC_lblMtuResult, text::kFindMtuHint, 28, 184, 384, 16}},
    // Page 2: black-hole detection and path MTU discovery.
    PageControl{2, PageFrame(2)},
    PageControl{2, Text(text::kBlackHoleExplanation, 28, 40, 384, 32)},
    PageControl{2, {ControlKind::CheckBox, W::IDC_chkBlackHoleValue, "Enable It?", 28, 76, 100, 20, WS_GROUP}},
    PageControl{2, Text(text::kBlackHoleRecommended, 132, 76, 280, 32)},
    PageControl{2, Text(text::kDiscoveryExplanation, 28, 116, 384, 32)},
    PageControl{2, {ControlKind::CheckBox, W::IDC_chkMTUDisconver, "Disable it??", 28, 152, 100, 20}},
    PageControl{2, RowText(text::kDiscoveryRecommended, 132, 152, 136)},
    PageControl{2, RowText(text::kDiscoveryRecommendedValue, 272, 152, 120)},
    // Page 3: the receive window, laid out as its formula.
    PageControl{3, PageFrame(3)},
    PageControl{3, Text(text::kRwinExplanation, 28, 40, 384, 48)},
    PageControl{3, Text(text::kRwinMss, 28, 92, 64, 16)},
    PageControl{3, Text(text::kRwinMultiplier, 112, 92, 80, 16)},
    PageControl{3, Text(text::kRwinScaleFactor, 196, 92, 80, 16)},
    PageControl{3, Text(text::kRwinResult, 280, 92, 100, 16)},
    PageControl{3, Field(W::IDC_txtMSSRWINValue, "", 28, 112, 64, ES_READONLY)},
    PageControl{3, RowText("*", 96, 112, 12)},
    PageControl{3, Field(W::IDC_txtMultiplier, "", 112, 112, 64, WS_GROUP)},
    PageControl{3, RowText("*", 180, 112, 12)},
    PageControl{3, Field(W::IDC_txtScaleFactor, advanced::kScaleFactor, 196, 112, 64, ES_READONLY)},
    PageControl{3, RowText("=", 264, 112, 12)},
    PageControl{3, Field(W::IDC_txtRWIN, "", 280, 112, 112, ES_READONLY)},
    PageControl{3, RowText(text::kRwinRecommended, 28, 144, 184)},
    PageControl{3, RowText("", 216, 144, 192, W::IDC_lblRWINRecValue)},
    // Page 4: TTL and the browser's connections.
    PageControl{4, PageFrame(4)},
    PageControl{4, Text(text::kTtlExplanation, 28, 40, 384, 32)},
    PageControl{4, RowText(text::kTtlCaption, 28, 76, 68)},
    PageControl{4, Field(W::IDC_txtTTLValue, "64", 100, 76, 48, WS_GROUP)},
    PageControl{4, RowText(text::kTtlRecommended, 156, 76, 148)},
    PageControl{4, RowText(text::kTtlRecommendedValue, 308, 76, 100)},
    PageControl{4, Text(text::kHttpExplanation, 28, 108, 384, 32)},
    PageControl{4, RowText(text::kHttp10Caption, 28, 144, 68)},
    PageControl{4, Field(W::IDC_txtHTTP10Value, "20", 100, 144, 48)},
    PageControl{4, RowText(text::kHttp10Recommended, 156, 144, 232)},
    PageControl{4, RowText(text::kHttpRecommendedValue, 392, 144, 20)},
    PageControl{4, RowText(text::kHttp11Caption, 28, 168, 68)},
    PageControl{4, Field(W::IDC_txtHTTP11Value, "20", 100, 168, 48)},
    PageControl{4, RowText(text::kHttp11Recommended, 156, 168, 232)},
    PageControl{4, RowText(text::kHttpRecommendedValue, 392, 168, 20)},
    // Page 5: keep-alive.
    PageControl{5, PageFrame(5)},
    PageControl{5, Text(text::kKeepAliveExplanation, 28, 40, 384, 48)},
    PageControl{5, RowText(text::kKeepAliveTimeCaption, 28, 92, 140)},
    PageControl{5, Field(W::IDC_txtKeepAliveTimeValue, "7200000", 172, 92, 88, WS_GROUP)},
    PageControl{5, RowText(text::kKeepAliveTimeRecommended, 28, 116, 232)},
    PageControl{5, RowText(text::kKeepAliveTimeRecommendedValue, 264, 116, 148)},
    PageControl{5, RowText(text::kKeepAliveIntervalCaption, 28, 148, 140)},
    PageControl{5, Field(W::IDC_txtKeepAliveIntervalValue, "1000", 172, 148, 88)},
    PageControl{5, RowText(text::kKeepAliveIntervalRecommended, 28, 172, 232)},
    PageControl{5, RowText(text::kKeepAliveIntervalRecommendedValue, 264, 172, 148)},
    // Page 6: SYN flood protection and the NDI cache.
    PageControl{6, PageFrame(6)},
    PageControl{6, Text(text::kSynExplanation, 28, 40, 384, 32)},
    PageControl{6, RowText(text::kSynQuestion, 28, 74, 196)},
    PageControl{6, Field(W::IDC_txtSYNValue, "2", 228, 74, 52, ES_READONLY | WS_GROUP)},
    PageControl{6, {ControlKind::UpDown, W::IDC_updwnDescision, "", 0, 0, 0, 0}},
    PageControl{6, Text(text::kSynLevel0, 40, 98, 372, 15)},
    PageControl{6, Text(text::kSynLevel1, 40, 113, 372, 15)},
    PageControl{6, Text(text::kSynLevel2, 40, 128, 372, 15)},
    PageControl{6, RowText(text::kNdiRecommended, 28, 148, 160)},
    PageControl{6, {ControlKind::ComboList, W::IDC_cmbNDI, "", 192, 148, 56, 180}},
    PageControl{6, RowText(text::kNdiCaption, 256, 148, 156)},
    PageControl{6, Text(text::kNdiExplanation, 28, 174, 384, 30)},
    // Page 7: ICMP redirects.
    PageControl{7, PageFrame(7)},
    PageControl{7, Text(text::kIcmpExplanation, 28, 40, 384, 48)},
    PageControl{7, {ControlKind::CheckBox, W::IDC_chkICMPValue, "Enable It?", 28, 96, 100, 20, WS_GROUP}},
    PageControl{7, RowText(text::kIcmpRecommended, 132, 96, 280)},
    // Below the page: the values of the page that this Windows does not read.
    PageControl{kAlways, {ControlKind::Label, W::IDC_lblWindowsReads, "", 16, 212, 196, 32}},
    // Back and Next, on every page.
    PageControl{kAlways, {ControlKind::Button, W::IDC_cmdPrevPage, advanced::kBackCaption, 220, 212,
                          grid::kButtonWidth, grid::kButtonHeight, WS_GROUP}},
    PageControl{kAlways, {ControlKind::Button, W::IDC_cmdNextPage, advanced::kNextCaption, 324, 212,
                          grid::kButtonWidth, grid::kButtonHeight}},
};

constexpr std::array<std::pair<Box, int>, advanced::kBoxCount> kBoxIds = {{
    {Box::MTU, W::IDC_txtMTUValue},
    {Box::MSS, W::IDC_txtMSSValue},
    {Box::MSSRWIN, W::IDC_txtMSSRWINValue},
    {Box::Multiplier, W::IDC_txtMultiplier},
    {Box::ScaleFactor, W::IDC_txtScaleFactor},
    {Box::RWIN, W::IDC_txtRWIN},
    {Box::TTL, W::IDC_txtTTLValue},
    {Box::HTTP10, W::IDC_txtHTTP10Value},
    {Box::HTTP11, W::IDC_txtHTTP11Value},
    {Box::KeepAliveTime, W::IDC_txtKeepAliveTimeValue},
    {Box::KeepAliveInterval, W::IDC_txtKeepAliveIntervalValue},
    {Box::SYN, W::IDC_txtSYNValue},
}};

constexpr std::array<std::pair<Check, int>, advanced::kCheckCount> kCheckIds = {{
    {Check::BlackHole, W::IDC_chkBlackHoleValue},
    {Check::MTUDiscovery, W::IDC_chkMTUDisconver},
    {Check::ICMP, W::IDC_chkICMPValue},
}};

// Replaces a control's text only when it differs, so nothing flickers.
void ShowText(HWND control, std::string_view wanted) {
  if (WindowText(control) != wanted) SetWindowTextTo(control, wanted);
}

// Shows UTF-8 text (the progress has an ellipsis) whatever the code page.
void ShowUtf8(HWND control, const std::string& text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), length);
  SetWindowTextW(control, wide.c_str());
}

}  // namespace

void frmNormalMode::Form_Load() {
  // A fresh walk on page 0; the kept connection type stays chosen. Its
  // constructor selects the first NDI item, as the combo's Click did.
  walk_.emplace(CurrentParameters, connectionType_);
  shownPage_ = -1;
  syncing_ = true;  // creating and filling the controls is no user change
  for (auto& page : pageControls_) page.clear();
  for (const PageControl& row : kControls) {
    const HWND control = CreateControl(hwnd(), row.control);
    if (control != nullptr && row.page != kAlways) pageControls_[static_cast<std::size_t>(row.page)].push_back(control);
  }
  const HWND combo = Item(IDC_cmbNDI);
  for (const std::string_view item : advanced::kNdiItems) {
    const std::string copy(item);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str()));
  }
  SetWindowTextTo(Item(IDC_txtMtuHost), TargetOf(ReadPingerSettings()).host);
  const HWND arrows = Item(IDC_updwnDescision);
  SendMessageA(arrows, UDM_SETRANGE32, 0, 2);
  SendMessageA(arrows, UDM_SETPOS32, 0, 2);
  syncing_ = false;
  SkinSelf();
  hideAllExcept(0);
  Sync();
}

void frmNormalMode::Form_Unload() noexcept {
  // A measurement still running stops at its next request and then leaves
  // the window alone.
  cancelRequested_ = true;
  measuring_ = false;
  ++generation_;
  if (walk_) connectionType_ = walk_->ConnectionTypeIndex();
  for (auto& page : pageControls_) page.clear();
  shownPage_ = -1;
}

void frmNormalMode::OnClick(int id) {
  if (!walk_) return;
  if (id == IDC_cmdNextPage) {
    cmdNextPage_Click();
  } else if (id == IDC_cmdPrevPage) {
    cmdPrevPage_Click();
  } else if (id == IDC_cmdFindMtu) {
    cmdFindMtu_Click();
  } else if (id >= IDC_optConnType0 && id < IDC_optConnType0 + 4) {
    optConnType_Click(id - IDC_optConnType0);
  } else {
    for (const auto& [check, checkId] : kCheckIds) {
      if (checkId == id) walk_->CheckChanged(check, IsChecked(Item(id)));
    }
    Sync();
  }
}

void frmNormalMode::OnChange(int id) {
  if (!walk_) return;
  if (id == IDC_cmbNDI) {
    walk_->SelectNdi(static_cast<int>(SendMessageA(Item(IDC_cmbNDI), CB_GETCURSEL, 0, 0)));
    Sync();
  } else if (!syncing_) {
    TextChanged(id);
  }
}

void frmNormalMode::optConnType_Click(int index) {
  if (!walk_) return;
  walk_->ChooseConnectionType(index);
  Sync();
}

void frmNormalMode::cmdNextPage_Click() {
  if (!walk_ || measuring_) return;
  const advanced::NextResult result = walk_->Next();
  // On Finish this disables Next before the apply, which may show a message.
  Sync();
  if (result != advanced::NextResult::Finished) return;
  lastApply_ = ApplyNetworkSettings();
  if (lastApply_.status == ApplyOutcome::Status::BackupFailed) {
    walk_->FinishFailed();
    Sync();
    return;
  }
  shell().ReturnToMovieHome();
}

void frmNormalMode::cmdFindMtu_Click() {
  if (!walk_) return;
  if (measuring_) {
    cancelRequested_ = true;
    return;
  }
  measuring_ = true;
  cancelRequested_ = false;
  const unsigned generation = ++generation_;
  const HWND button = Item(IDC_cmdFindMtu);
  const HWND result = Item(IDC_lblMtuResult);
  SetWindowTextTo(button, text::kFindMtuCancel);
  SendMessageA(Item(IDC_txtMtuHost), EM_SETREADONLY, TRUE, 0);
  Sync();  // no Back or Next while it measures
  const std::string host = WindowText(Item(IDC_txtMtuHost));
  const std::function<bool()> cancelled = [this, generation] {
    return cancelRequested_ || generation != generation_ || hwnd() == nullptr;
  };
  const std::function<void(int)> trying = [this, generation, result](int payload) {
    if (generation == generation_ && hwnd() != nullptr) ShowUtf8(result, mtu::TryingText(payload));
  };
  MtuMeasurement measurement;
  try {
    measurement = measurer_(host, cancelled, trying);
  } catch (...) {
    measurement.status = MtuMeasurement::Status::NoIcmp;
  }
  // The window may have been closed, or closed and opened again, meanwhile.
  if (generation != generation_ || hwnd() == nullptr) return;
  measuring_ = false;
  lastMeasurement_ = measurement;
  SetWindowTextTo(button, text::kFindMtuCaption);
  SendMessageA(Item(IDC_txtMtuHost), EM_SETREADONLY, FALSE, 0);
  ShowUtf8(result, MeasurementText(measurement));
  const mtu::MtuOutcome& outcome = measurement.outcome;
  // A cancelled search leaves the boxes as they were: the size it reached is
  // only a lower bound.
  if (measurement.status == MtuMeasurement::Status::Measured && outcome.kind == mtu::MtuOutcome::Kind::Found) {
    // Typed into the boxes as the user would, so the boxes' validators judge them.
    SetWindowTextTo(Item(IDC_txtMTUValue), std::to_string(outcome.mtu));
    SetWindowTextTo(Item(IDC_txtMSSValue), std::to_string(mtu::MssForMtu(outcome.mtu)));
  }
  Sync();
}

void frmNormalMode::cmdPrevPage_Click() {
  if (!walk_ || measuring_) return;
  walk_->Back();
  Sync();
}

void frmNormalMode::hideAllExcept(int frmNo) {
  for (std::size_t page = 0; page < pageControls_.size(); ++page) {
    for (const HWND control : pageControls_[page]) ShowWindow(control, SW_HIDE);
  }
  if (frmNo >= 0 && frmNo < kPageCount) {
    for (const HWND control : pageControls_[static_cast<std::size_t>(frmNo)]) ShowWindow(control, SW_SHOW);
  }
  shownPage_ = frmNo;
}

void frmNormalMode::TextChanged(int id) {
  for (const auto& [box, boxId] : kBoxIds) {
    if (boxId != id) continue;
    const HWND edit = Item(id);
    const std::string typed = WindowText(edit);
    walk_->TextChanged(box, typed);
    if (walk_->Text(box) != typed) {
      // The validator put another text in place: show it with the caret at its end.
      syncing_ = true;
      SetWindowTextTo(edit, walk_->Text(box));
      syncing_ = false;
      const auto end = static_cast<WPARAM>(walk_->Text(box).size());
      SendMessageA(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    }
    break;
  }
  Sync();
}

void frmNormalMode::Sync() {
  if (!walk_) return;
  const advanced::AdvancedWalk& walk = *walk_;
  syncing_ = true;
  for (const auto& [box, id] : kBoxIds) ShowText(Item(id), walk.Text(box));
  ShowText(Item(IDC_lblMTURecValue), walk.MtuRecommendation());
  ShowText(Item(IDC_lblMSSRecVaklue), walk.MssRecommendation());
  ShowText(Item(IDC_lblRWINRecValue), walk.RwinRecommendation());
  for (const auto& [check, id] : kCheckIds) {
    if (IsChecked(Item(id)) != walk.Checked(check)) SetChecked(Item(id), walk.Checked(check));
  }
  for (int index = 0; index < 4; ++index) {
    const HWND option = Item(IDC_optConnType0 + index);
    const bool chosen = index == walk.ConnectionTypeIndex();
    if (IsChecked(option) != chosen) SetChecked(option, chosen);
  }
  const HWND combo = Item(IDC_cmbNDI);
  if (SendMessageA(combo, CB_GETCURSEL, 0, 0) != walk.NdiIndex()) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(walk.NdiIndex()), 0);
  }
  const HWND next = Item(IDC_cmdNextPage);
  const HWND back = Item(IDC_cmdPrevPage);
  ShowText(next, walk.NextCaption());
  // A button about to be disabled hands the keyboard focus to the other one.
  if (!walk.NextEnabled() && GetFocus() == next) SetFocus(back);
  if (!walk.BackEnabled() && GetFocus() == back) SetFocus(next);
  EnableWindow(next, walk.NextEnabled() && !measuring_ ? TRUE : FALSE);
  EnableWindow(back, walk.BackEnabled() && !measuring_ ? TRUE : FALSE);
  if (walk.VisiblePage() != shownPage_) hideAllExcept(walk.VisiblePage());
  const HWND reads = Item(IDC_lblWindowsReads);
  static const unsigned major = RunningMajorVersion();
  const std::string readings = reads::ShowsReadings(OsFamily, major)
                                   ? reads::PageReadingText(walk.VisiblePage())
                                   : std::string();
  ShowText(reads, readings);
  ShowWindow(reads, readings.empty() ? SW_HIDE : SW_SHOWNA);
  syncing_ = false;
}

}  // namespace tarvix
