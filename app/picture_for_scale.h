#pragma once
// A picture control that shows its picture as drawn for the display's scale.
#include <windows.h>

#include <vector>

// The bitmap resources of one picture, the 100 % drawing (the one the dialog
// template names) first, then the same picture drawn larger.
using PictureDrawings = std::vector<UINT>;

// The display's dots per inch, across and down, as this program sees them.
POINT displayDpi();

// Holds what it made for one picture control and deletes it once it is
// destroyed itself, which must be after the control.
class PictureForScale {
 public:
  PictureForScale() = default;
  PictureForScale(const PictureForScale&) = delete;
  PictureForScale& operator=(const PictureForScale&) = delete;
  ~PictureForScale();

  // Gives the picture control `control` (SS_BITMAP, which takes the size of
  // its bitmap and keeps its top left corner) the drawing of `drawings` from
  // `module` made for the scale of `dpi`: the picture's 100 % size scaled to
  // that DPI, shown from the smallest drawing that covers it, reduced to that
  // size where the drawing is larger (a scale between Windows' steps), and
  // enlarged only where no drawing is large enough. Where that is the 100 %
  // drawing itself, the control keeps the one its template loaded. Nothing
  // happens for a missing control or 100 % drawing; a drawing that is missing
  // is not chosen.
  void show(HWND control, HINSTANCE module, const PictureDrawings& drawings, POINT dpi);

 private:
  HBITMAP shown = nullptr;
};
