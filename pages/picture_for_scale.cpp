#include "picture_for_scale.h"

#include "picture_scale.h"

namespace {

// The size that bitmap resource `id` of `module` stores, or 0 x 0 when it is
// missing: read from its header, without making a bitmap of it.
PictureSize storedSize(HINSTANCE module, UINT id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
  const void* data = found ? LockResource(LoadResource(module, found)) : nullptr;
  if (data == nullptr || SizeofResource(module, found) < sizeof(BITMAPINFOHEADER)) return {0, 0};
  const auto* header = static_cast<const BITMAPINFOHEADER*>(data);
  return {static_cast<int>(header->biWidth), static_cast<int>(header->biHeight < 0 ? -header->biHeight
                                                                                     : header->biHeight)};
}

// `source` drawn again at `size` into a bitmap of the screen's kind, averaging
// the pixels that each new one covers (HALFTONE) so that a reduced picture
// stays sharp; null when it cannot be made.
HBITMAP resampled(HBITMAP source, PictureSize size) {
  BITMAP from = {};
  GetObjectA(source, sizeof from, &from);
  HDC screen = GetDC(nullptr);
  HDC sourceDc = CreateCompatibleDC(screen);
  HDC targetDc = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, size.width, size.height);
  if (sourceDc && targetDc && target) {
    HGDIOBJ oldSource = SelectObject(sourceDc, source);
    HGDIOBJ oldTarget = SelectObject(targetDc, target);
    SetStretchBltMode(targetDc, HALFTONE);
    // HALFTONE asks for the brush origin to be set again after the mode.
    SetBrushOrgEx(targetDc, 0, 0, nullptr);
    StretchBlt(targetDc, 0, 0, size.width, size.height, sourceDc, 0, 0, from.bmWidth, from.bmHeight, SRCCOPY);
    SelectObject(sourceDc, oldSource);
    SelectObject(targetDc, oldTarget);
  }
  if (targetDc) DeleteDC(targetDc);
  if (sourceDc) DeleteDC(sourceDc);
  ReleaseDC(nullptr, screen);
  return target;
}

}  // namespace

POINT displayDpi() {
  HDC screen = GetDC(nullptr);
  const POINT dpi = {GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
  ReleaseDC(nullptr, screen);
  return dpi;
}

PictureForScale::~PictureForScale() {
  if (shown) DeleteObject(shown);
}

void PictureForScale::show(HWND control, HINSTANCE module, const ScalablePicture& picture, POINT dpi) {
  const std::vector<UINT>& drawings = picture.drawings;
  if (control == nullptr || drawings.empty()) return;
  std::vector<PictureSize> sizes;
  for (UINT id : drawings) sizes.push_back(storedSize(module, id));
  if (sizes[0].width <= 0 || sizes[0].height <= 0) return;
  const PictureSize wanted = sizeAtDpi(sizes[0], dpi.x, dpi.y);
  const size_t chosen = drawingToShow(wanted, sizes);
  if (chosen == 0 && sizes[0] == wanted) return;

  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(module, MAKEINTRESOURCEA(drawings[chosen]), IMAGE_BITMAP, 0, 0, 0));
  if (bitmap == nullptr) return;
  if (!(sizes[chosen] == wanted)) {
    HBITMAP fitted = resampled(bitmap, wanted);
    DeleteObject(bitmap);
    if (fitted == nullptr) return;
    bitmap = fitted;
  }
  // Once it is given a bitmap, the control no longer deletes the one it
  // loaded from the template, nor the new one: both are ours.
  HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
      SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  if (previous) DeleteObject(previous);
  shown = bitmap;

  const DialogPlace& place = picture.place;
  RECT placed = {place.x, place.y, place.x + place.width, place.y + place.height};
  MapDialogRect(GetParent(control), &placed);
  SetWindowPos(control, nullptr, placed.left + (placed.right - placed.left - wanted.width) / 2, placed.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
