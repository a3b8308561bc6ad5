#pragma once
// Pictures of windows for review: what the screen shows of a window's client
// area, saved as a PNG in $TARVIX_ARTIFACTS (build/artifacts).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tarvix::test {

// What the screen shows of `window`'s client area, as top-down RGB bytes.
[[nodiscard]] std::vector<std::uint8_t> CaptureWindow(HWND window, int width, int height);
// What the screen shows in the given area (any windows on it), as top-down
// RGB bytes; parts beyond the screen are black.
[[nodiscard]] std::vector<std::uint8_t> CaptureScreenArea(int left, int top, int width, int height);
// Writes top-down RGB bytes as a PNG file; false when the file cannot be written.
[[nodiscard]] bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
// A rough count of the colours in a picture (a flat, empty window has few).
[[nodiscard]] std::size_t DistinctColours(const std::vector<std::uint8_t>& rgb);
// $TARVIX_ARTIFACTS/fileName as Wine sees it (the current folder without it).
[[nodiscard]] std::string ArtifactPath(const std::string& fileName);
// Captures the client area of `window` into ArtifactPath(fileName).
[[nodiscard]] bool SaveScreenshot(HWND window, const std::string& fileName);

}  // namespace tarvix::test
