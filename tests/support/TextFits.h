#pragma once
// Whether the texts of controls fit them, measured with each control's own
// font as the control draws it.
#include <windows.h>

#include <string>
#include <vector>

namespace tarvix::test {

// Why the text of `control` does not fit its client rectangle; empty when it
// fits or when the control is not a static text, check box, option button,
// push button or frame drawn by Windows.
[[nodiscard]] std::string TextDoesNotFit(HWND control);
// Every child of `window` at any depth, hidden ones too.
[[nodiscard]] std::vector<HWND> AllChildren(HWND window);

}  // namespace tarvix::test
