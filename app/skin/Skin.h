#pragma once
// The skin engine: loads "\TarvixMask.skn" and applies a named scheme to a
// window by subclassing it (and its parent, which answers WM_CTLCOLOR* for
// its skinned children).
//
//   tarvix::Skin skin;
//   (void)skin.Load(tarvix::AppFile(tarvix::kSkinFileName));
//   (void)skin.Apply(frame, "NoFrame");
//
// "NoFrame" and "controlForm" paint a container's background (children
// without a scheme of their own take its colours); "Frame" draws a group box
// or a container's border; "Button" paints push buttons; "CheckBox" and
// "RadioBox" paint check boxes and option buttons; "Label" sets a static
// text's colours and font. A container whose scheme has a `field` colour
// also gives its text boxes, drop-down lists, lists, up-down arrows and
// sliders the program's faces (ui/ControlPaint.h) through ApplyField. Without a
// loaded skin, or for a scheme the file lacks, Apply changes nothing and the
// window stays as Windows draws it. Unload (or destroying the Skin) removes
// every subclass, gives controls back their fonts and frees the GDI objects.
#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/skin/SkinFile.h"
#include "ui/ControlPaint.h"
#include "ui/SkinGdi.h"

namespace tarvix {

class Skin final {
 public:
  Skin() = default;
  ~Skin();
  Skin(const Skin&) = delete;
  Skin& operator=(const Skin&) = delete;

  // Replaces the loaded skin. False when the file is missing or broken: no
  // skin is loaded then, and LoadError() says why.
  [[nodiscard]] bool Load(const std::string& path);
  // The same from text already read (tests, a skin built into a resource).
  [[nodiscard]] bool LoadText(std::string_view text);
  void Unload() noexcept;
  [[nodiscard]] bool IsLoaded() const noexcept { return !schemes_.empty(); }
  [[nodiscard]] const std::string& LoadError() const noexcept { return loadError_; }

  // Applies `scheme` to `window`; false (and nothing changes) when no skin is
  // loaded, the scheme is not in it, or `window` is not a window.
  [[nodiscard]] bool Apply(HWND window, std::string_view scheme);
  // Gives a text box, drop-down list, list view (and its header), up-down
  // control or slider the field colours of its container's scheme; false
  // (nothing changes) when the container is not skinned or has no `field`.
  [[nodiscard]] bool ApplyField(HWND control);
  // The scheme applied to `window`, if any.
  [[nodiscard]] std::optional<std::string> SchemeOf(HWND window) const;
  // After a DPI change: every skinned window gets its scheme's font at the
  // DPI its window now has, and the font Unload gives back follows too.
  void FollowDpi() noexcept;

 private:
  struct ScaledFont {
    int dpi;
    UniqueFont font;
  };
  struct Resources {
    SkinScheme scheme;
    UniqueBrush background;
    UniqueBrush field;  // null without a `field` colour
    // The scheme's font at each DPI asked for, made on first use; null
    // when it cannot be made (the control keeps its own font then).
    mutable std::vector<ScaledFont> fonts;
    [[nodiscard]] HFONT FontAt(int dpi) const noexcept;
  };
  struct Applied {
    const Resources* resources;
    HFONT previousFont;  // given back on Unload
    bool field = false;  // painted with its container's field colours
  };

  LRESULT Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT FieldMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const Resources& container);
  [[nodiscard]] ControlLook LookOf(HWND window, const Resources& own) const;
  [[nodiscard]] ControlLook FieldLook(const Resources& container) const;
  [[nodiscard]] bool ListItemColours(LPARAM lParam, LRESULT& result) const;
  bool EraseBackground(HWND window, HDC dc, const Resources& own);
  bool PaintFace(HWND window, UINT message, HDC printDc, const Resources& own);
  void TrackHotButton(HWND window, UINT message, bool skinned);
  [[nodiscard]] const Resources* ResourcesOf(HWND window) const noexcept;
  void Hook(HWND window);
  LRESULT ControlColour(HWND window, HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  void Forget(HWND window) noexcept;

  std::map<std::string, Resources, std::less<>> schemes_;
  std::map<HWND, Applied> applied_;
  std::set<HWND> hooked_;
  std::string loadError_;
  HWND hot_ = nullptr;  // the skinned button under the mouse
};

// Whether a skinned window is a push button / a group box (drawn by the skin).
[[nodiscard]] bool IsPushButton(HWND window) noexcept;
[[nodiscard]] bool IsGroupBox(HWND window) noexcept;

// Applies to each control of `form` the scheme of its kind (SchemeForControl);
// a control that cannot be skinned keeps its own look and the rest go on.
void ApplyControlSchemes(Skin& skin, HWND form) noexcept;

}  // namespace tarvix
