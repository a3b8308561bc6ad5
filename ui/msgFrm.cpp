#include "ui/msgFrm.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/ControlPaint.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/SkinGdi.h"
#include "ui/Subclass.h"

namespace tarvix {
namespace {

using msgbox::TwipsRect;

// The panels' controls in tab order; layout places them for each box.
constexpr ControlSpec kMessageControls[] = {
    {ControlKind::Label, IDC_LBLTITLE, "", 0, 0, 0, 0, SS_ENDELLIPSIS},
    {ControlKind::Label, IDC_P1, "", 0, 0, 16, 16, SS_BITMAP},
    {ControlKind::Label, IDC_LBLMSG, "", 0, 0, 0, 0},
    {ControlKind::CheckBox, IDC_CHECK1, "", 0, 0, 0, 0},
    {ControlKind::Button, IDC_CMD1_0, "", 0, 0, 0, 0},
    {ControlKind::Button, IDC_CMD1_0 + 1, "", 0, 0, 0, 0},
    {ControlKind::Button, IDC_CMD1_0 + 2, "", 0, 0, 0, 0},
};
constexpr ControlSpec kInputControls[] = {
    {ControlKind::Label, IDC_ITITLE, "", 0, 0, 0, 0, SS_ENDELLIPSIS},
    {ControlKind::Label, IDC_IPIC, "", 0, 0, 16, 16, SS_BITMAP},
    {ControlKind::Label, IDC_IMSG, "", 0, 0, 0, 0},
    {ControlKind::Edit, IDC_ITXT, "", 0, 0, 0, 0},
    {ControlKind::CheckBox, IDC_CHECK2, "", 0, 0, 0, 0},
    {ControlKind::Button, IDC_ICMD_CANCEL, "Cancel", 0, 0, 0, 0},
    {ControlKind::Button, IDC_ICMD_OK, "OK", 0, 0, 0, 0, BS_DEFPUSHBUTTON},
};
constexpr ControlSpec kAutoControls[] = {
    {ControlKind::Label, IDC_ATITLE, "", 0, 0, 0, 0, SS_ENDELLIPSIS},
    {ControlKind::Label, IDC_APIC, "", 0, 0, 16, 16, SS_BITMAP},
    {ControlKind::Label, IDC_AMSG, "", 0, 0, 0, 0},
    {ControlKind::Button, IDC_COMMAND1, "Close", 0, 0, 0, 0, BS_OWNERDRAW},
};

struct PanelIds {
  int title;
  int message;
  int picture;
  TwipsRect titleDesign;
};
constexpr PanelIds kPanelIds[] = {
    {IDC_LBLTITLE, IDC_LBLMSG, IDC_P1, msgbox::kTitleDesign},
    {IDC_ITITLE, IDC_IMSG, IDC_IPIC, msgbox::kTitleDesign},
    {IDC_ATITLE, IDC_AMSG, IDC_APIC, msgbox::kAutoTitleDesign},
};

constexpr int kPanelIdOf[] = {IDC_F1_MESSAGE, IDC_F1_INPUT, IDC_F1_AUTO};

std::size_t IndexOf(BoxPanel panel) noexcept { return static_cast<std::size_t>(panel); }

// Shown on its panel, whether or not the window is on the screen yet.
bool Shown(HWND control) noexcept { return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0; }

// The notification outlives the call that shows it.
std::unique_ptr<msgFrm>& AutoBox() noexcept {
  static std::unique_ptr<msgFrm> box;
  return box;
}

BOOL CALLBACK RepaintPart(HWND window, LPARAM context) noexcept {
  const RECT& screenArea = *reinterpret_cast<const RECT*>(context);
  RECT bounds{};
  RECT overlap{};
  if (!IsWindowVisible(window) || !GetWindowRect(window, &bounds) || !IntersectRect(&overlap, &bounds, &screenArea)) {
    return TRUE;
  }
  // RedrawWindow takes the area in client coordinates.
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  OffsetRect(&overlap, -origin.x, -origin.y);
  RedrawWindow(window, &overlap, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

// Lets this thread's windows beneath `area` repaint now, so the shadow reads
// them and not what covered them a moment ago; other programs' windows
// repaint on their own.
void RepaintBeneath(const RECT& area) noexcept {
  EnumThreadWindows(GetCurrentThreadId(), &RepaintPart, reinterpret_cast<LPARAM>(&area));
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
}

UniqueFont BoldDialogFont(int dpi) noexcept {
  LOGFONTA font{};
  if (GetObjectA(DialogFontFor(dpi), sizeof font, &font) == 0) return {};
  font.lfWeight = FW_BOLD;
  return UniqueFont(CreateFontIndirectA(&font));
}

// The DPI of the monitor the box points at: (X, Y), or the cursor when
// either is 0, as the box places itself.
int BoxDpi(float X, float Y) noexcept {
  POINT at{static_cast<LONG>(X), static_cast<LONG>(Y)};
  if (X == 0.0f || Y == 0.0f) GetCursorPos(&at);
  return MonitorDpiAt(at);
}

constexpr UINT_PTR kBoxFaceSubclassId = 0x4246;  // "BF"

Rgb RgbOf(COLORREF c) noexcept {
  return {static_cast<std::uint8_t>(GetRValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
          static_cast<std::uint8_t>(GetBValue(c))};
}

// The boxes' buttons, check boxes and text field in the program's faces
// over the panel colour; the close image stays owner-drawn.
LRESULT CALLBACK BoxFaceProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                             DWORD_PTR data) noexcept {
  const auto* box = reinterpret_cast<const msgFrm*>(data);
  const LONG kind = static_cast<LONG>(GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK);
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  const bool field = lstrcmpiA(name, "Edit") == 0;
  ControlLook look = LightPanelLook(RgbOf(box->PanelColor()));
  if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) look.font = box->BoldFont();
  switch (message) {
    case WM_ERASEBKGND:
      if (!field) return 1;
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (!field) {
        PaintFor(control, message, wParam, [&](HDC dc) {
          if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) {
            PaintPushButton(control, dc, look, false);
          } else {
            PaintCheckOrOption(control, dc, look);
          }
        });
        return 0;
      }
      break;
    case WM_NCPAINT:
      if (field) {
        const LRESULT result = DefSubclass(control, message, wParam, lParam);
        PaintFieldEdge(control, look);
        return result;
      }
      break;
    case WM_NCDESTROY:
      RemoveSubclass(control, &BoxFaceProc, kBoxFaceSubclassId);
      break;
    default:
      break;
  }
  const LRESULT result = DefSubclass(control, message, wParam, lParam);
  if (field) {
    RedrawFieldEdgeAfter(control, message);
  } else if (SystemDrewState(message)) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  return result;
}

void PaintOwnFaces(HWND panel, const msgFrm& box) noexcept {
  for (HWND control = GetWindow(panel, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    char name[16] = {};
    GetClassNameA(control, name, sizeof name);
    const LONG kind = static_cast<LONG>(GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK);
    const bool button = lstrcmpiA(name, "Button") == 0 && kind != BS_OWNERDRAW;
    if (button || lstrcmpiA(name, "Edit") == 0) {
      static_cast<void>(AddSubclass(control, &BoxFaceProc, kBoxFaceSubclassId, reinterpret_cast<DWORD_PTR>(&box)));
    }
  }
}

}  // namespace

// ---- MsgPanel -------------------------------------------------------------

bool MsgPanel::Create(msgFrm& owner, BoxPanel which) noexcept {
  owner_ = &owner;
  const auto index = static_cast<std::size_t>(which);
  if (!CreateWindowOf(WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, owner.hwnd(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPanelIdOf[index])))) {
    return false;
  }
  switch (which) {
    case BoxPanel::Message: CreateControls(hwnd(), kMessageControls); break;
    case BoxPanel::Input: CreateControls(hwnd(), kInputControls); break;
    case BoxPanel::Auto: CreateControls(hwnd(), kAutoControls); break;
  }
  PaintOwnFaces(hwnd(), owner);
  return true;
}

LRESULT MsgPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      const HBRUSH brush = owner_->panelBrush_ ? owner_->panelBrush_.get() : GetSysColorBrush(COLOR_INFOBK);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return owner_->PanelColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
    case WM_DRAWITEM:
      return SendMessageA(owner_->hwnd(), message, wParam, lParam);
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == owner_->Control(IDC_COMMAND1) && HIWORD(lParam) == WM_MOUSEMOVE) {
        owner_->Command1_Hover();
      }
      break;
    case WM_MOUSEMOVE:
      owner_->Panel_MouseMove((wParam & MK_LBUTTON) != 0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd(), message, wParam, lParam);
}

// ---- msgFrm ---------------------------------------------------------------

msgFrm* msgFrm::FromHandle(HWND window) noexcept {
  char name[64] = {};
  if (window == nullptr || GetClassNameA(window, name, sizeof name) == 0 || lstrcmpA(name, ClassName()) != 0) {
    return nullptr;
  }
  return reinterpret_cast<msgFrm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

msgFrm::~msgFrm() { Unload(); }

bool msgFrm::Load(HWND owner, bool notification, int dpi) noexcept {
  if (Loaded()) return true;
  dpi_ = dpi > 0 ? dpi : SystemDpi();
  twips_ = TwipsPerPixelAt(dpi_);
  width_ = balloon::PixelsFromTwips(balloon::kDesignWidthTwips, twips_.x);
  const DWORD exStyle = WS_EX_CONTROLPARENT | (notification ? WS_EX_TOOLWINDOW | WS_EX_TOPMOST : 0);
  if (!CreateWindowOf(exStyle, WS_POPUP | WS_CLIPCHILDREN, 0, 0, width_, 100, owner)) return false;
  // The panels' controls and fonts are made for the box's DPI.
  SetWindowDpi(hwnd(), dpi_);
  owner_ = owner;
  titleFont_ = BoldDialogFont(dpi_);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    if (!panels_[i].Create(*this, static_cast<BoxPanel>(i))) {
      Unload();
      return false;
    }
    if (titleFont_) {
      SendMessageA(Control(kPanelIds[i].title), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
    }
  }
  ShowWindow(Control(IDC_CHECK1), SW_HIDE);
  ShowWindow(Control(IDC_CHECK2), SW_HIDE);
  return surface_.Attach(hwnd(), width_, 100, panelColor_);
}

void msgFrm::Unload() noexcept {
  if (hwnd() != nullptr) {
    KillTimer(hwnd(), kAutoCloseTimerId);
    if (ownerDisabled_) EnableWindow(owner_, TRUE);
    ownerDisabled_ = false;
    modalRunning_ = false;
  }
  DestroyOwnWindow();
  surface_.Detach();
  for (UniqueBitmap& icon : icons_) icon.reset();
  iconNumbers_ = {};
  panelBrush_.reset();
  titleFont_.reset();
  autoCloseMs_ = 0;
  closeImage_.Reset();
}

HWND msgFrm::Control(int id) const noexcept {
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    if (kPanelIdOf[i] == id) return panels_[i].hwnd();
  }
  for (const MsgPanel& panel : panels_) {
    if (panel.hwnd() == nullptr) continue;
    if (const HWND control = GetDlgItem(panel.hwnd(), id)) return control;
  }
  return nullptr;
}

int msgFrm::StartBox(BoxPanel panel, std::string_view mPrompt, std::string_view mCaption, COLORREF mColor,
                     std::int16_t Intensity) {
  panel_ = panel;
  const PanelIds& ids = kPanelIds[IndexOf(panel)];
  SetWindowTextTo(Control(ids.title), mCaption);
  SetWindowTextTo(Control(ids.message), mPrompt);
  // A box given no colour is light yellow, so its black text stays readable.
  panelColor_ = msgbox::PanelColorFor(mColor);
  panelBrush_.reset(CreateSolidBrush(panelColor_));
  if (Intensity != 0) tag_ = std::to_string(Intensity);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    if (i != IndexOf(panel)) ShowWindow(panels_[i].hwnd(), SW_HIDE);
  }
  return width_ - msgbox::BoxPixels(msgbox::kPanelWidthLoss, twips_.x);
}

int msgFrm::MessageHeightTwips(HWND label, int widthTwips) const noexcept {
  const std::string text = WindowText(label);
  const WindowDC screen(label);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
  const SelectGuard select(screen.get(), font);
  RECT box{0, 0, balloon::PixelsFromTwips(widthTwips, twips_.x), 0};
  DrawTextA(screen.get(), text.empty() ? " " : text.c_str(), -1, &box,
            DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  return std::max(msgbox::kMessageDesign.height, static_cast<int>(box.bottom - box.top) * twips_.y);
}

// The box's check box, unticked, shown only when it has a caption.
void msgFrm::ShowCheckBox(HWND check, std::string_view caption, const msgbox::TwipsRect& where) const noexcept {
  SetChecked(check, false);
  if (caption.empty()) return;
  SetWindowTextTo(check, caption);
  Place(check, where);
  ShowWindow(check, SW_SHOW);
}

void msgFrm::Place(HWND control, const TwipsRect& r) const noexcept {
  MoveWindow(control, balloon::PixelsFromTwips(r.left, twips_.x), balloon::PixelsFromTwips(r.top, twips_.y),
             balloon::PixelsFromTwips(r.width, twips_.x), balloon::PixelsFromTwips(r.height, twips_.y), FALSE);
}

void msgFrm::PlacePanel(int heightPx) const noexcept {
  const HWND panel = panels_[IndexOf(panel_)].hwnd();
  MoveWindow(panel, msgbox::BoxPixels(msgbox::kPanelLeft, twips_.x), msgbox::BoxPixels(msgbox::kPanelTop, twips_.y),
             width_ - msgbox::BoxPixels(msgbox::kPanelWidthLoss, twips_.x), heightPx, FALSE);
  ShowWindow(panel, SW_SHOW);
  InvalidateRect(panel, nullptr, TRUE);
}

void msgFrm::SetDisplayIcon(std::uint32_t MF, BoxPanel ID) noexcept {
  const PanelIds& ids = kPanelIds[IndexOf(ID)];
  const HWND picture = Control(ids.picture);
  const int icon = msgbox::StripIconForFlags(MF);
  iconNumbers_[IndexOf(ID)] = icon;
  const TwipsRect& message = ID == BoxPanel::Message ? msgbox::kMessageDesign : msgbox::kInputMessageDesign;
  if (icon != 0) {
    Place(picture, msgbox::kIconDesign);
    icons_[IndexOf(ID)] = SetStripIcon(picture, icon, ScaleForDpi(msgbox::kStripIconSize, dpi_), panelColor_);
    ShowWindow(picture, SW_SHOW);
  } else {
    ShowWindow(picture, SW_HIDE);
  }
  Place(Control(ids.title), msgbox::TitlePlace(ids.titleDesign, icon != 0, message.left));
}

void msgFrm::SetupButtons(std::uint32_t MF, std::string_view b1, std::string_view b2, std::string_view b3) {
  const msgbox::ButtonSet set = msgbox::ButtonsFor(MF, b1, b2, b3);
  RECT panel{};
  GetClientRect(Control(IDC_F1_MESSAGE), &panel);
  const auto places = msgbox::ButtonPlaces(set.count, width_ - msgbox::BoxPixels(msgbox::kPanelWidthLoss, twips_.x), panel.bottom,
                                           {twips_.x, twips_.y});
  for (std::size_t i = 0; i < set.slots.size(); ++i) {
    const HWND button = Control(IDC_CMD1_0 + static_cast<int>(i));
    codes_[i] = set.slots[i].code;
    SetWindowTextTo(button, set.slots[i].caption);
    Place(button, places[i]);
    ShowWindow(button, set.slots[i].visible ? SW_SHOW : SW_HIDE);
    SendMessageA(button, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
  }
}

void msgFrm::SetDefaultButton(std::uint32_t MF) noexcept {
  defaultButtonNumber_ = msgbox::DefaultButtonFor(MF, defaultButtonNumber_);
  if (defaultButtonNumber_ <= 0) return;
  // A default that names a button the box does not show falls to the first
  // one shown, so Enter never presses a hidden button.
  const auto visible = [this](int number) { return Shown(Control(IDC_CMD1_0 + number - 1)); };
  if (!visible(defaultButtonNumber_)) {
    defaultButtonNumber_ = 0;
    for (std::int16_t n = 1; n <= 3 && defaultButtonNumber_ == 0; ++n) {
      if (visible(n)) defaultButtonNumber_ = n;
    }
  }
  if (defaultButtonNumber_ > 0) {
    SendMessageA(Control(IDC_CMD1_0 + defaultButtonNumber_ - 1), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
}

void msgFrm::ShowAuto(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption,
                      std::int16_t nTime, bool NoPointer, COLORREF mColor, float X, float Y,
                      std::int16_t Intensity) {
  // A box still showing on a monitor of another DPI is made anew for this one.
  const int dpi = BoxDpi(X, Y);
  if (Loaded() && dpi != dpi_) Unload();
  if (!Load(nullptr, true, dpi)) return;
  // A box still showing is laid out anew; hidden first so the shadow reads
  // what lies beneath it and not the old balloon.
  KillTimer(hwnd(), kAutoCloseTimerId);
  autoCloseMs_ = 0;
  if (IsWindowVisible(hwnd())) {
    RECT old{};
    GetWindowRect(hwnd(), &old);
    ShowWindow(hwnd(), SW_HIDE);
    RepaintBeneath(old);
  }
  closeImage_.Reset();
  const int panelWidth = StartBox(BoxPanel::Auto, mPrompt, mCaption, mColor, Intensity);
  const msgbox::Twips t{twips_.x, twips_.y};
  const int messageHeight = MessageHeightTwips(Control(IDC_AMSG), msgbox::MessageWidthTwips(panelWidth, t));
  const msgbox::AutoLayout layout = msgbox::LayoutAutoBox(panelWidth, messageHeight, t);
  Place(Control(IDC_AMSG), layout.message);
  Place(Control(IDC_COMMAND1), layout.closeImage);
  PlacePanel(layout.panelHeightPx);
  if (!surface_.Attach(hwnd(), width_, layout.windowHeightPx, panelColor_)) return;
  surface_.DrawBalloon(NoPointer, X, Y, Intensity);
  SetDisplayIcon(mFlags, BoxPanel::Auto);
  InvalidateRect(Control(IDC_COMMAND1), nullptr, TRUE);
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // A notification does not take the keyboard from the window in use.
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd());
  autoCloseMs_ = msgbox::AutoCloseMilliseconds(nTime);
  if (autoCloseMs_ > 0) SetTimer(hwnd(), kAutoCloseTimerId, autoCloseMs_, nullptr);
}

std::int16_t msgFrm::RunMessage(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption,
                                bool NoPointer, std::string_view CheckboxTxt, std::string_view Btn1,
                                std::string_view Btn2, std::string_view Btn3, COLORREF mColor, float X, float Y,
                                std::int16_t Intensity) {
  ResultCode = 0;
  const int panelWidth = StartBox(BoxPanel::Message, mPrompt, mCaption, mColor, Intensity);
  const msgbox::Twips t{twips_.x, twips_.y};
  const int messageHeight = MessageHeightTwips(Control(IDC_LBLMSG), msgbox::MessageWidthTwips(panelWidth, t));
  const msgbox::MessageLayout layout = msgbox::LayoutMessageBox(panelWidth, messageHeight, t);
  Place(Control(IDC_LBLMSG), layout.message);
  const HWND check = Control(IDC_CHECK1);
  ShowCheckBox(check, CheckboxTxt, layout.checkBox);
  PlacePanel(layout.panelHeightPx);
  if (!surface_.Attach(hwnd(), width_, layout.windowHeightPx, panelColor_)) return 0;
  surface_.DrawBalloon(NoPointer, X, Y, Intensity);
  SetupButtons(mFlags, Btn1, Btn2, Btn3);
  SetDisplayIcon(mFlags, BoxPanel::Message);
  SetDefaultButton(mFlags);
  if (!RunModal()) return 0;
  return msgbox::MsgBoxResult(ResultCode, !CheckboxTxt.empty() && IsChecked(check));
}

std::string msgFrm::RunInput(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption,
                             std::string_view DefaultText, bool NoPointer, std::string_view CheckboxTxt,
                             COLORREF mColor, float X, float Y, std::int16_t Intensity) {
  ResultCode = msgbox::kInputCancel;
  const int panelWidth = StartBox(BoxPanel::Input, mPrompt, mCaption, mColor, Intensity);
  const msgbox::Twips t{twips_.x, twips_.y};
  const int messageHeight = MessageHeightTwips(Control(IDC_IMSG), msgbox::MessageWidthTwips(panelWidth, t));
  const msgbox::InputLayout layout = msgbox::LayoutInputBox(panelWidth, messageHeight, t);
  Place(Control(IDC_IMSG), layout.message);
  Place(Control(IDC_ITXT), layout.field);
  Place(Control(IDC_ICMD_OK), layout.ok);
  Place(Control(IDC_ICMD_CANCEL), layout.cancel);
  const HWND check = Control(IDC_CHECK2);
  ShowCheckBox(check, CheckboxTxt, layout.checkBox);
  PlacePanel(layout.panelHeightPx);
  SetWindowTextTo(Control(IDC_ITXT), DefaultText);
  if (!surface_.Attach(hwnd(), width_, layout.windowHeightPx, panelColor_)) return {};
  surface_.DrawBalloon(NoPointer, X, Y, Intensity);
  SetDisplayIcon(mFlags, BoxPanel::Input);
  if (!RunModal()) return {};
  return msgbox::InputBoxResult(ResultCode, WindowText(Control(IDC_ITXT)), !CheckboxTxt.empty() && IsChecked(check));
}

bool msgFrm::RunModal() {
  if (owner_ != nullptr && IsWindowEnabled(owner_)) {
    EnableWindow(owner_, FALSE);
    ownerDisabled_ = true;
  }
  modalRunning_ = true;
  // Shown first and activated then: the same for Windows, and Wine without
  // a window manager then hides the box without a two-second wait.
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  SetForegroundWindow(hwnd());
  UpdateWindow(hwnd());
  MSG message{};
  while (modalRunning_ && hwnd() != nullptr) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: the box gives way and the quit goes on.
      EndModal();
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    if (got == -1) break;
    if (!IsDialogMessageA(hwnd(), &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  EndModal();
  return true;
}

void msgFrm::EndModal() noexcept {
  modalRunning_ = false;
  // The owner comes back before the box goes, so Windows activates it.
  if (ownerDisabled_) EnableWindow(owner_, TRUE);
  ownerDisabled_ = false;
  if (hwnd() != nullptr) ShowWindow(hwnd(), SW_HIDE);
}

void msgFrm::CloseAuto() noexcept {
  KillTimer(hwnd(), kAutoCloseTimerId);
  autoCloseMs_ = 0;
  ShowWindow(hwnd(), SW_HIDE);
  PostMessageA(hwnd(), WM_APP_UNLOAD_BOX, 0, 0);
}

void msgFrm::cmd1_Click(int index) noexcept {
  if (panel_ != BoxPanel::Message || index < 0 || index > 2) return;
  ResultCode = codes_[static_cast<std::size_t>(index)];
  EndModal();
}

void msgFrm::iCmd_Click(int index) noexcept {
  if (panel_ != BoxPanel::Input) return;
  if (index == 0) {
    ResultCode = msgbox::kInputCancel;
    EndModal();
    return;
  }
  if (!msgbox::InputOkCloses(WindowText(Control(IDC_ITXT)))) return;
  ResultCode = msgbox::kInputOk;
  EndModal();
}

void msgFrm::Cancel() noexcept {
  switch (panel_) {
    case BoxPanel::Input: iCmd_Click(0); break;
    case BoxPanel::Auto: CloseAuto(); break;
    case BoxPanel::Message: {
      // Escape and closing mean Cancel when the box has it, or its only button.
      int shown = 0;
      int only = -1;
      for (int i = 0; i < 3; ++i) {
        if (!Shown(Control(IDC_CMD1_0 + i))) continue;
        if (codes_[static_cast<std::size_t>(i)] == msgbox::kCancel) {
          cmd1_Click(i);
          return;
        }
        ++shown;
        only = i;
      }
      if (shown == 1) cmd1_Click(only);
      break;
    }
  }
}

void msgFrm::Form_Activate() noexcept {
  if (panel_ == BoxPanel::Message && defaultButtonNumber_ > 0) {
    SetFocus(Control(IDC_CMD1_0 + defaultButtonNumber_ - 1));
  } else if (panel_ == BoxPanel::Input) {
    const HWND field = Control(IDC_ITXT);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
  } else if (panel_ == BoxPanel::Auto) {
    // A notification clicked into use closes with the space bar.
    SetFocus(Control(IDC_COMMAND1));
  }
}

void msgFrm::Command1_Hover() noexcept {
  if (panel_ == BoxPanel::Auto && closeImage_.MoveOverImage()) InvalidateRect(Control(IDC_COMMAND1), nullptr, FALSE);
}

void msgFrm::Panel_MouseMove(bool leftButton) noexcept {
  if (panel_ == BoxPanel::Auto) {
    if (closeImage_.MoveOverPanel()) InvalidateRect(Control(IDC_COMMAND1), nullptr, FALSE);
    return;
  }
  if (leftButton) Drag();
}

LRESULT msgFrm::Command1_DrawItem(const DRAWITEMSTRUCT& item) noexcept {
  if ((item.itemState & ODS_SELECTED) != 0) {
    closeImage_.Press();
  } else if (closeImage_.Icon() == msgbox::kIconClosePressed) {
    closeImage_.Release();
  }
  const RECT& r = item.rcItem;
  const int size = ScaleForDpi(msgbox::kStripIconSize, dpi_);
  const UniqueBrush fill(CreateSolidBrush(panelColor_));
  FillRect(item.hDC, &r, fill.get());
  DrawStripIcon(item.hDC, r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2,
                closeImage_.Icon(), size, panelColor_);
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) DrawFocusRect(item.hDC, &r);
  return TRUE;
}

LRESULT msgFrm::PanelColors(HDC dc, HWND control) const noexcept {
  SetBkColor(dc, panelColor_);
  // Titles in the band's blue, the message in the tool windows' ink.
  const int id = GetDlgCtrlID(control);
  const bool title = id == IDC_LBLTITLE || id == IDC_ITITLE || id == IDC_ATITLE;
  SetTextColor(dc, ToColorRef(title ? palette::kTitleInk : palette::kInk));
  return reinterpret_cast<LRESULT>(panelBrush_ ? panelBrush_.get() : GetSysColorBrush(COLOR_INFOBK));
}

void msgFrm::BeginDragShape() noexcept { surface_.ShowDragShape(); }

void msgFrm::EndDrag() noexcept {
  RECT now{};
  GetWindowRect(hwnd(), &now);
  RepaintBeneath(now);
  surface_.n_RefreshShadow(balloon::IntensityFromTag(tag_));
  UpdateWindow(hwnd());
}

// Dragged onto a monitor of another DPI: the panels, their controls and
// fonts, the icons and the balloon itself are made anew for it, in the
// place Windows suggests (a dragged box has no pointer any more).
void msgFrm::Form_DpiChanged(int dpi, const RECT& suggested) noexcept {
  if (dpi < 48 || dpi == dpi_ || hwnd() == nullptr) return;
  const int old = dpi_;
  dpi_ = dpi;
  SetWindowDpi(hwnd(), dpi_);
  twips_ = TwipsPerPixelAt(dpi_);
  // In proportion with the panels, which keep their layout.
  width_ = RescaleLength(width_, old, dpi_);
  const int height = RescaleLength(surface_.Height(), old, dpi_);
  RescaleChildren(hwnd(), old, dpi_);
  titleFont_ = BoldDialogFont(dpi_);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    if (titleFont_) {
      SendMessageA(Control(kPanelIds[i].title), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
    }
    if (iconNumbers_[i] != 0 && icons_[i]) {
      icons_[i] = SetStripIcon(Control(kPanelIds[i].picture), iconNumbers_[i],
                               ScaleForDpi(msgbox::kStripIconSize, dpi_), panelColor_);
    }
  }
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, width_, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!surface_.Attach(hwnd(), width_, height, panelColor_)) return;
  RECT now{};
  GetWindowRect(hwnd(), &now);
  RepaintBeneath(now);
  surface_.n_RefreshShadow(balloon::IntensityFromTag(tag_));
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void msgFrm::Drag() noexcept {
  if (panel_ == BoxPanel::Auto || hwnd() == nullptr) return;
  BeginDragShape();
  ReleaseCapture();
  // The system moves the window until the button is released.
  SendMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  EndDrag();
}

LRESULT msgFrm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      const PaintDC paint(hwnd());
      surface_.Paint(paint.get(), paint.area());
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      Drag();
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (code != BN_CLICKED) break;
      if (id >= IDC_CMD1_0 && id <= IDC_CMD1_0 + 2) {
        cmd1_Click(id - IDC_CMD1_0);
      } else if (id == IDC_COMMAND1) {
        CloseAuto();
      } else if (id == IDCANCEL) {
        Cancel();
      } else if (id == IDOK) {
        if (panel_ == BoxPanel::Input) iCmd_Click(1);
        else if (panel_ == BoxPanel::Message && defaultButtonNumber_ > 0) cmd1_Click(defaultButtonNumber_ - 1);
      }
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item != nullptr && item->CtlID == static_cast<UINT>(IDC_COMMAND1)) return Command1_DrawItem(*item);
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        Form_Activate();
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kAutoCloseTimerId) {
        CloseAuto();
        return 0;
      }
      break;
    case WM_CLOSE:
      Cancel();
      return 0;
    case WM_APP_UNLOAD_BOX:
      if (!IsWindowVisible(hwnd())) Unload();
      return 0;
    case WM_DPICHANGED:
      Form_DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd(), message, wParam, lParam);
}

// ---- The boxes ------------------------------------------------------------

std::string MsgAuto_box(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption,
                        std::int16_t nTime, bool NoPointer, COLORREF mColor, float X, float Y,
                        std::int16_t Intensity) {
  std::unique_ptr<msgFrm>& box = AutoBox();
  if (!box) box = std::make_unique<msgFrm>();
  box->ShowAuto(mPrompt, mFlags, mCaption, nTime, NoPointer, mColor, X, Y, Intensity);
  return {};
}

std::int16_t msg_Box(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption, bool NoPointer,
                     std::string_view CheckboxTxt, std::string_view Btn1, std::string_view Btn2,
                     std::string_view Btn3, COLORREF mColor, float X, float Y, std::int16_t Intensity) {
  msgFrm box;
  if (!box.Load(GetActiveWindow(), false, BoxDpi(X, Y))) return 0;
  return box.RunMessage(mPrompt, mFlags, mCaption, NoPointer, CheckboxTxt, Btn1, Btn2, Btn3, mColor, X, Y,
                        Intensity);
}

std::string input_box(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption,
                      std::string_view DefaultText, bool NoPointer, std::string_view CheckboxTxt, COLORREF mColor,
                      float X, float Y, std::int16_t Intensity) {
  msgFrm box;
  if (!box.Load(GetActiveWindow(), false, BoxDpi(X, Y))) return {};
  return box.RunInput(mPrompt, mFlags, mCaption, DefaultText, NoPointer, CheckboxTxt, mColor, X, Y, Intensity);
}

msgFrm* NotificationBox() noexcept {
  const std::unique_ptr<msgFrm>& box = AutoBox();
  return box && box->Loaded() ? box.get() : nullptr;
}

void UnloadNotificationBox() noexcept {
  if (const std::unique_ptr<msgFrm>& box = AutoBox()) box->Unload();
}

}  // namespace tarvix
