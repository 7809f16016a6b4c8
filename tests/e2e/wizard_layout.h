#pragma once
// The wizard's layout as the program itself sees it: the frame's size, where
// each page stands, and for every control where it stands, the room it has,
// the room its text needs in the control's own font, and the bitmap a picture
// shows. Fonts and bitmaps belong to the process that made them, so the
// layout probe measures inside the program and writes this as text; the
// driver reads it back.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ControlLayout {
  int page;  // -1: the frame's own control; else the page dialog's place among the frame's pages
  int id;
  std::string className;
  DWORD style;
  RECT bounds;  // in the client area of its dialog (the page, or the frame)
  SIZE room;    // the client size
  SIZE needed;  // what a static text needs, wrapped as the control wraps it; {0, 0} for other controls
  SIZE bitmap;  // the bitmap an SS_BITMAP picture shows; {0, 0} for other controls
  uint32_t bitmapPixels;  // pixelChecksum of that bitmap
  std::string text;
};

struct WizardLayout {
  int dpi = 0;               // the display's, as the program sees it
  SIZE frame = {};           // the frame's client size
  std::vector<RECT> pages;  // in the frame's client area
  std::vector<ControlLayout> controls;
};

WizardLayout measureWizard(HWND frame);
std::string formatLayout(const WizardLayout& layout);
WizardLayout parseLayout(const std::string& text);

// A checksum of the bitmap's pixels as 24-bit rows: equal for two bitmaps
// that show the same pixels, in whatever process they were made.
uint32_t pixelChecksum(HBITMAP bitmap);
