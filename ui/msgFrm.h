#pragma once
// The balloon-shaped message window and its three boxes: the auto-closing
// notification, the modal message box and the modal input box. Each box fills
// and lays out one of the window's three panels, shapes and places the
// balloon, shows it and unloads the window when it is finished.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ui/BalloonDraw.h"
#include "ui/BaseWindow.h"
#include "ui/Handles.h"
#include "ui/MsgBoxLogic.h"

namespace tarvix {

// The panels, by the number the boxes use for them.
enum class BoxPanel : int { Message = 0, Input = 1, Auto = 2 };

// Control ids; unique across the window, so keyboard navigation can reach
// into every panel. The input box's buttons are IDOK and IDCANCEL, so Enter
// in the field means OK and Escape means Cancel.
inline constexpr int IDC_F1_MESSAGE = 3000;
inline constexpr int IDC_F1_INPUT = 3001;
inline constexpr int IDC_F1_AUTO = 3002;
inline constexpr int IDC_LBLTITLE = 3010;
inline constexpr int IDC_LBLMSG = 3011;
inline constexpr int IDC_P1 = 3012;
inline constexpr int IDC_CHECK1 = 3013;
inline constexpr int IDC_CMD1_0 = 3020;  // cmd1(0) .. cmd1(2) are 3020 .. 3022
inline constexpr int IDC_ITITLE = 3030;
inline constexpr int IDC_IMSG = 3031;
inline constexpr int IDC_IPIC = 3032;
inline constexpr int IDC_ITXT = 3033;
inline constexpr int IDC_CHECK2 = 3034;
inline constexpr int IDC_ICMD_OK = IDOK;
inline constexpr int IDC_ICMD_CANCEL = IDCANCEL;
inline constexpr int IDC_ATITLE = 3040;
inline constexpr int IDC_AMSG = 3041;
inline constexpr int IDC_APIC = 3042;
inline constexpr int IDC_COMMAND1 = 3043;

inline constexpr UINT_PTR kAutoCloseTimerId = 1;
// Posted to the window to unload it once the handler that closed it is done.
inline constexpr UINT WM_APP_UNLOAD_BOX = WM_APP + 20;

class msgFrm;

// One panel: a child window in the panel colour that hands its controls'
// notifications to the message window.
class MsgPanel final : public BaseWindow<MsgPanel> {
 public:
  static const char* ClassName() noexcept { return "TarvixMsgPanel"; }
  MsgPanel() = default;
  [[nodiscard]] bool Create(msgFrm& owner, BoxPanel which) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  msgFrm* owner_ = nullptr;
};

class msgFrm final : public BaseWindow<msgFrm> {
 public:
  static const char* ClassName() noexcept { return "TarvixMsgFrm"; }
  // The box behind one of its windows; null for other windows.
  [[nodiscard]] static msgFrm* FromHandle(HWND window) noexcept;

  msgFrm() = default;
  ~msgFrm();

  // Creates the hidden window with its three panels, owned by `owner`.
  // Its lengths and fonts are made for `dpi`; 0 means the system DPI.
  [[nodiscard]] bool Load(HWND owner, bool notification, int dpi = 0) noexcept;
  // Destroys the window and everything on it; the object can load again.
  void Unload() noexcept;
  [[nodiscard]] bool Loaded() const noexcept { return hwnd() != nullptr; }

  // The three boxes; see the free functions below.
  void ShowAuto(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption, std::int16_t nTime,
                bool NoPointer, COLORREF mColor, float X, float Y, std::int16_t Intensity);
  [[nodiscard]] std::int16_t RunMessage(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption,
                                        bool NoPointer, std::string_view CheckboxTxt, std::string_view Btn1,
                                        std::string_view Btn2, std::string_view Btn3, COLORREF mColor, float X,
                                        float Y, std::int16_t Intensity);
  [[nodiscard]] std::string RunInput(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption,
                                     std::string_view DefaultText, bool NoPointer, std::string_view CheckboxTxt,
                                     COLORREF mColor, float X, float Y, std::int16_t Intensity);

  // A control of any panel by id, or a panel by IDC_F1_*.
  [[nodiscard]] HWND Control(int id) const noexcept;
  [[nodiscard]] BoxPanel Panel() const noexcept { return panel_; }
  [[nodiscard]] COLORREF PanelColor() const noexcept { return panelColor_; }
  // The bold face of the titles, which the buttons' captions share.
  [[nodiscard]] HFONT BoldFont() const noexcept { return titleFont_.get(); }
  [[nodiscard]] std::int16_t DefaultButtonNumber() const noexcept { return defaultButtonNumber_; }
  // The auto box's timer interval in milliseconds; 0 when it has none.
  [[nodiscard]] std::uint32_t AutoCloseInterval() const noexcept { return autoCloseMs_; }
  [[nodiscard]] int CloseImageIcon() const noexcept { return closeImage_.Icon(); }
  [[nodiscard]] const BalloonSurface& Surface() const noexcept { return surface_; }
  [[nodiscard]] BalloonSurface& Surface() noexcept { return surface_; }
  [[nodiscard]] const std::string& Tag() const noexcept { return tag_; }

  // The drag in its steps: body alone with the drag lines; the system's move;
  // shadow computed anew at the new place (without the pointer).
  void BeginDragShape() noexcept;
  void EndDrag() noexcept;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class MsgPanel;

  // The steps every box starts with; returns the panel's width in pixels.
  int StartBox(BoxPanel panel, std::string_view mPrompt, std::string_view mCaption, COLORREF mColor,
               std::int16_t Intensity);
  [[nodiscard]] int MessageHeightTwips(HWND label, int widthTwips) const noexcept;
  void Place(HWND control, const msgbox::TwipsRect& r) const noexcept;
  void ShowCheckBox(HWND check, std::string_view caption, const msgbox::TwipsRect& where) const noexcept;
  void PlacePanel(int heightPx) const noexcept;
  void SetupButtons(std::uint32_t MF, std::string_view b1, std::string_view b2, std::string_view b3);
  void SetDisplayIcon(std::uint32_t MF, BoxPanel ID) noexcept;
  void SetDefaultButton(std::uint32_t MF) noexcept;
  [[nodiscard]] bool RunModal();
  void EndModal() noexcept;
  void CloseAuto() noexcept;
  void Drag() noexcept;
  void Form_DpiChanged(int dpi, const RECT& suggested) noexcept;

  void cmd1_Click(int index) noexcept;
  void iCmd_Click(int index) noexcept;
  void Form_Activate() noexcept;
  void Cancel() noexcept;
  void Command1_Hover() noexcept;
  void Panel_MouseMove(bool leftButton) noexcept;
  LRESULT Command1_DrawItem(const DRAWITEMSTRUCT& item) noexcept;
  LRESULT PanelColors(HDC dc, HWND control) const noexcept;

  std::array<MsgPanel, 3> panels_;
  BalloonSurface surface_;
  int dpi_ = 96;  // what the panels, fonts and icons are made for
  std::array<int, 3> iconNumbers_{};  // each panel's strip icon; 0 for none
  TwipsPerPixel twips_;
  int width_ = 0;
  BoxPanel panel_ = BoxPanel::Message;
  COLORREF panelColor_ = RGB(255, 255, 204);
  UniqueBrush panelBrush_;
  UniqueFont titleFont_;
  std::array<UniqueBitmap, 3> icons_;
  std::array<std::int16_t, 3> codes_{};
  std::int16_t ResultCode = 0;
  std::int16_t defaultButtonNumber_ = 0;
  std::string tag_;
  std::uint32_t autoCloseMs_ = 0;
  msgbox::CloseImageState closeImage_;
  HWND owner_ = nullptr;
  bool ownerDisabled_ = false;
  bool modalRunning_ = false;
};

// A notification that closes itself after nTime seconds (0: when its close
// image is clicked); returns at once, always with an empty string. A call
// while one is showing lays out the same window anew.
std::string MsgAuto_box(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption,
                        std::int16_t nTime, bool NoPointer, COLORREF mColor, float X, float Y,
                        std::int16_t Intensity);
// A modal message box; returns the clicked button's code, plus 100 when the
// check box was ticked.
std::int16_t msg_Box(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption, bool NoPointer,
                     std::string_view CheckboxTxt, std::string_view Btn1, std::string_view Btn2,
                     std::string_view Btn3, COLORREF mColor, float X, float Y, std::int16_t Intensity);
// A modal input box; returns "" when cancelled, otherwise the text, ending in
// "¬" when the check box was ticked.
std::string input_box(std::string_view mPrompt, std::uint32_t mFlags, std::string_view mCaption,
                      std::string_view DefaultText, bool NoPointer, std::string_view CheckboxTxt, COLORREF mColor,
                      float X, float Y, std::int16_t Intensity);

// The notification's window while it shows, else null.
[[nodiscard]] msgFrm* NotificationBox() noexcept;
// Closes the notification at once (the program's shutdown).
void UnloadNotificationBox() noexcept;

}  // namespace tarvix
