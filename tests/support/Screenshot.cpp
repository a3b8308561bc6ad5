#include "support/Screenshot.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace tarvix::test {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Chunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& data) {
  PutBig32(png, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  PutBig32(png, Crc32(body.data(), body.size()));
}

}  // namespace

// A PNG with stored (uncompressed) deflate blocks: simple and lossless.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    const auto* row = rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3;
    raw.insert(raw.end(), row, row + static_cast<std::size_t>(width) * 3);
  }
  std::vector<std::uint8_t> zlib{0x78, 0x01};
  for (std::size_t at = 0; at < raw.size() || at == 0;) {
    const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + size == raw.size();
    zlib.push_back(last ? 1 : 0);
    zlib.push_back(static_cast<std::uint8_t>(size & 0xFF));
    zlib.push_back(static_cast<std::uint8_t>(size >> 8));
    zlib.push_back(static_cast<std::uint8_t>(~size & 0xFF));
    zlib.push_back(static_cast<std::uint8_t>((~size >> 8) & 0xFF));
    zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                raw.begin() + static_cast<std::ptrdiff_t>(at + size));
    at += size;
    if (last) break;
  }
  std::uint32_t a = 1, b = 0;
  for (const std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBig32(zlib, (b << 16) | a);

  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBig32(header, static_cast<std::uint32_t>(width));
  PutBig32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", {});
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && ok;
}

namespace {

std::vector<std::uint8_t> CaptureFrom(HWND window, int left, int top, int width, int height) {
  const HDC screen = GetDC(window);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  // What lies beyond the screen stays black.
  const auto bytes = static_cast<std::size_t>((width * 3 + 3) & ~3) * static_cast<std::size_t>(height);
  std::fill_n(static_cast<std::uint8_t*>(bits), bytes, std::uint8_t{0});
  BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
  GdiFlush();
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  const int stride = (width * 3 + 3) & ~3;
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      auto* pixel = &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3];
      pixel[0] = row[x * 3 + 2];
      pixel[1] = row[x * 3 + 1];
      pixel[2] = row[x * 3 + 0];
    }
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return rgb;
}

}  // namespace

// What the screen shows of `window`'s client area, as top-down RGB.
std::vector<std::uint8_t> CaptureWindow(HWND window, int width, int height) {
  return CaptureFrom(window, 0, 0, width, height);
}

std::vector<std::uint8_t> CaptureScreenArea(int left, int top, int width, int height) {
  return CaptureFrom(nullptr, left, top, width, height);
}

std::size_t DistinctColours(const std::vector<std::uint8_t>& rgb) {
  std::vector<std::uint32_t> colours;
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3 * 97) {
    colours.push_back((std::uint32_t{rgb[i]} << 16) | (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
  }
  std::sort(colours.begin(), colours.end());
  return static_cast<std::size_t>(std::unique(colours.begin(), colours.end()) - colours.begin());
}

std::string ArtifactPath(const std::string& fileName) {
  const char* artifacts = std::getenv("TARVIX_ARTIFACTS");
  const std::string folder = artifacts != nullptr ? std::string("Z:") + artifacts : std::string(".");
  return folder + "/" + fileName;
}

bool SaveScreenshot(HWND window, const std::string& fileName) {
  RECT client{};
  if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return false;
  const auto rgb = CaptureWindow(window, client.right, client.bottom);
  return WritePng(ArtifactPath(fileName), client.right, client.bottom, rgb);
}

}  // namespace tarvix::test
