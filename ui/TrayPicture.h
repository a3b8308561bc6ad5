#pragma once
// Turning a picture that is not an icon into the 32 x 32 icon the shell
// needs, through an image list as the icon control has always done.
#include <windows.h>

#include "ui/Handles.h"

namespace tarvix::tray {

inline constexpr int kTrayPictureSize = 32;

// Each returns a new 32 x 32 icon, or an empty one when the conversion fails.
// The source stays the caller's. A bitmap of another size is scaled to fit.
[[nodiscard]] UniqueIcon IconFromBitmap(HBITMAP bitmap) noexcept;
[[nodiscard]] UniqueIcon IconFromCursor(HCURSOR cursor) noexcept;
// The metafile is played over a white square of the icon's size.
[[nodiscard]] UniqueIcon IconFromMetafile(HENHMETAFILE metafile) noexcept;

}  // namespace tarvix::tray
