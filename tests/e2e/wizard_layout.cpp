#include "wizard_layout.h"

#include <sstream>

#include "bitmap_pixels.h"
#include "setup_windows.h"
#include "window_text.h"

namespace {

SIZE clientSize(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

RECT boundsInParent(HWND window) {
  RECT bounds = {};
  GetWindowRect(window, &bounds);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

std::string ownText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
  return text;
}

// What the text needs in the control's font, laid out as a static control of
// this style lays it out: wrapped at the control's width unless it does not
// wrap. A word wider than the control makes the width needed wider.
SIZE neededByText(HWND control, DWORD style, const std::string& text, LONG width) {
  const DWORD type = style & SS_TYPEMASK;
  UINT format = DT_CALCRECT | DT_EXPANDTABS;
  if (type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) format |= DT_WORDBREAK;
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT needed = {0, 0, width, 0};
  DrawTextA(dc, text.c_str(), -1, &needed, format);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return {needed.right, needed.bottom};
}

ControlLayout measureControl(HWND control, int page) {
  ControlLayout layout = {page,
                          GetDlgCtrlID(control),
                          windowClass(control),
                          static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)),
                          boundsInParent(control),
                          clientSize(control),
                          {},
                          {},
                          0,
                          ""};
  if (lstrcmpiA(layout.className.c_str(), "Static") != 0) return layout;
  const DWORD type = layout.style & SS_TYPEMASK;
  if (type == SS_BITMAP) {
    auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP shown = {};
    if (bitmap && GetObjectA(bitmap, sizeof shown, &shown)) {
      layout.bitmap = {shown.bmWidth, shown.bmHeight};
      layout.bitmapPixels = pixelChecksum(bitmap);
    }
  } else if (type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) {
    layout.text = ownText(control);
    if (!layout.text.empty()) layout.needed = neededByText(control, layout.style, layout.text, layout.room.cx);
  }
  return layout;
}

void measureControls(HWND dialog, int page, std::vector<ControlLayout>& controls) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (windowClass(child) != kDialogClass) controls.push_back(measureControl(child, page));
  }
}

std::string sizeText(SIZE size) { return std::to_string(size.cx) + "\t" + std::to_string(size.cy); }

std::string rectText(const RECT& rect) {
  return std::to_string(rect.left) + "\t" + std::to_string(rect.top) + "\t" + std::to_string(rect.right) + "\t" +
         std::to_string(rect.bottom);
}

SIZE readSize(std::istream& fields) {
  SIZE size = {};
  fields >> size.cx >> size.cy;
  return size;
}

RECT readRect(std::istream& fields) {
  RECT rect = {};
  fields >> rect.left >> rect.top >> rect.right >> rect.bottom;
  return rect;
}

}  // namespace

uint32_t pixelChecksum(HBITMAP bitmap) {
  uint32_t checksum = 2166136261u;  // FNV-1a
  for (uint8_t byte : pixelRows(bitmap)) checksum = (checksum ^ byte) * 16777619u;
  return checksum;
}

WizardLayout measureWizard(HWND frame) {
  WizardLayout layout;
  HDC screen = GetDC(nullptr);
  layout.dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  layout.frame = clientSize(frame);
  measureControls(frame, -1, layout.controls);
  for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (windowClass(child) != kDialogClass) continue;
    measureControls(child, static_cast<int>(layout.pages.size()), layout.controls);
    layout.pages.push_back(boundsInParent(child));
  }
  return layout;
}

std::string formatLayout(const WizardLayout& layout) {
  std::string text = "dpi\t" + std::to_string(layout.dpi) + "\n";
  text += "frame\t" + sizeText(layout.frame) + "\n";
  for (const RECT& page : layout.pages) text += "page\t" + rectText(page) + "\n";
  for (const ControlLayout& control : layout.controls) {
    text += "control\t" + std::to_string(control.page) + "\t" + std::to_string(control.id) + "\t" +
            control.className + "\t" + std::to_string(control.style) + "\t" + rectText(control.bounds) + "\t" +
            sizeText(control.room) + "\t" +
            sizeText(control.needed) + "\t" + sizeText(control.bitmap) + "\t" +
            std::to_string(control.bitmapPixels) + "\t" + escapedLine(control.text) + "\n";
  }
  return text;
}

WizardLayout parseLayout(const std::string& text) {
  WizardLayout layout;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string kind;
    std::getline(fields, kind, '\t');
    if (kind == "dpi") {
      fields >> layout.dpi;
    } else if (kind == "frame") {
      layout.frame = readSize(fields);
    } else if (kind == "page") {
      layout.pages.push_back(readRect(fields));
    } else if (kind == "control") {
      ControlLayout control = {};
      fields >> control.page >> control.id >> control.className >> control.style;
      control.bounds = readRect(fields);
      control.room = readSize(fields);
      control.needed = readSize(fields);
      control.bitmap = readSize(fields);
      fields >> control.bitmapPixels;
      fields.ignore(1);  // the tab before the text
      std::string escaped;
      std::getline(fields, escaped);
      control.text = unescapedLine(escaped);
      layout.controls.push_back(control);
    }
  }
  return layout;
}
