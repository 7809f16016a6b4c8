#include "screenshot.h"

namespace {

// The window's rectangle, taken from `source` where its top left corner is at `origin`.
RgbImage capture(HWND window, HDC source, POINT origin) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  RgbImage image;
  image.width = rect.right - rect.left;
  image.height = rect.bottom - rect.top;
  if (image.width <= 0 || image.height <= 0) return RgbImage();

  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = image.width;
  format.bmiHeader.biHeight = -image.height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP section = CreateDIBSection(source, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, section);
  BitBlt(memory, 0, 0, image.width, image.height, source, origin.x, origin.y, SRCCOPY);
  GdiFlush();

  // DIB rows are blue, green, red, padded to four bytes.
  const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~static_cast<size_t>(3);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height * 3);
  const auto* rows = static_cast<const uint8_t*>(bits);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* from = rows + y * stride + x * 3;
      uint8_t* to = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 3];
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  SelectObject(memory, previous);
  DeleteObject(section);
  DeleteDC(memory);
  return image;
}

}  // namespace

RgbImage captureWindow(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  HDC screen = GetDC(nullptr);
  RgbImage image = capture(window, screen, {rect.left, rect.top});
  ReleaseDC(nullptr, screen);
  return image;
}

RgbImage captureOwnWindow(HWND window) {
  HDC own = GetWindowDC(window);
  RgbImage image = capture(window, own, {0, 0});
  ReleaseDC(window, own);
  return image;
}
