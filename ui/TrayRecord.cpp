#include "ui/TrayRecord.h"

#include <string>

namespace tarvix {

static_assert(sizeof(NOTIFYICONDATAA{}.szTip) == kTrayTipChars);
static_assert(sizeof(NOTIFYICONDATAA{}.szInfo) == kTrayInfoChars);
static_assert(sizeof(NOTIFYICONDATAA{}.szInfoTitle) == kTrayInfoTitleChars);

void FillTrayShowRecord(NOTIFYICONDATAA& record, HWND window, HICON icon, std::string_view tip) noexcept {
  record.cbSize = kTrayRecordSize;
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.uFlags = kTrayShowFlags;
  record.uCallbackMessage = WM_APP_TRAY;
  record.hIcon = icon;
  // Building the padded tip can fail only for lack of memory; then the tip goes empty.
  try {
    CopyTrayText(record.szTip, TrayTipField(tip));
  } catch (...) {
    record.szTip[0] = '\0';
  }
}

void FillTrayBalloonRecord(NOTIFYICONDATAA& record, HWND window, HICON icon, std::string_view tip,
                           std::string_view balloon) noexcept {
  FillTrayShowRecord(record, window, icon, tip);
  record.uFlags = kTrayBalloonFlags;
  record.dwState = 0;
  record.dwStateMask = 0;
  CopyTrayText(record.szInfo, balloon);
  record.uTimeout = kTrayBalloonTimeoutMs;
  CopyTrayText(record.szInfoTitle, tip);
  record.dwInfoFlags = NIIF_INFO;
}

}  // namespace tarvix
