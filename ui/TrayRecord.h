#pragma once
// Filling the shell's notification-icon record for an add/modify and for a
// balloon. Only the fields each request needs are written; the rest keep
// what the previous request left, so a delete reuses the last identity.
#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "ui/TrayLogic.h"

namespace tarvix {

// The icon's private notification message (the shell's callback to our window).
inline constexpr UINT WM_APP_TRAY = WM_APP + 1;

// The record form with balloon fields; later forms add fields the control never uses.
inline constexpr DWORD kTrayRecordSize = NOTIFYICONDATAA_V2_SIZE;
inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kTrayShowFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
inline constexpr UINT kTrayBalloonFlags = kTrayShowFlags | NIF_INFO;
// The shell raises this to its own minimum display time.
inline constexpr UINT kTrayBalloonTimeoutMs = 1;

// Writes the add/modify fields: size, window, id, flags 7, callback message,
// icon and tip field.
void FillTrayShowRecord(NOTIFYICONDATAA& record, HWND window, HICON icon, std::string_view tip) noexcept;

// Writes the balloon fields: everything FillTrayShowRecord writes with
// NIF_INFO added, state 0/0, balloon text, timeout, title (the plain tip
// text) and the information icon.
void FillTrayBalloonRecord(NOTIFYICONDATAA& record, HWND window, HICON icon, std::string_view tip,
                           std::string_view balloon) noexcept;

// Copies `text` into a fixed character field, cut to leave room for the zero
// and never between the two bytes of a double-byte character of `codePage`
// (a lead byte left alone at the end of `text` is dropped too).
template <std::size_t N>
void CopyTrayText(char (&field)[N], std::string_view text, UINT codePage = CP_ACP) noexcept {
  std::size_t count = 0;
  while (count < text.size()) {
    const std::size_t step = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[count])) ? 2 : 1;
    if (count + step > N - 1 || count + step > text.size()) break;
    count += step;
  }
  text.copy(field, count);
  field[count] = '\0';
}

}  // namespace tarvix
