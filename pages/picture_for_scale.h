#pragma once
// A picture control that shows its picture as drawn for the display's scale.
#include <windows.h>

#include <vector>

// Where a dialog template puts a control, in dialog units.
struct DialogPlace {
  int x, y, width, height;
};

// One picture of a dialog: where its template puts it, and its bitmap
// resources, the 100 % drawing (the one the template names) first, then the
// same picture drawn larger.
struct ScalablePicture {
  DialogPlace place;
  std::vector<UINT> drawings;
};

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
  // its bitmap) the drawing of `picture` from `module` made for the scale of
  // `dpi`: the picture's 100 % size scaled to that DPI, shown from the
  // smallest drawing that covers it, reduced to that size where the drawing
  // is larger (a scale between Windows' steps), and enlarged only where no
  // drawing is large enough. The control keeps the top edge and the centre
  // of its place in the template, which follows the dialog's font and so
  // grows a little more or less than the DPI. Where the drawing is the 100 %
  // one itself, the control is left as its template made it. Nothing happens
  // for a missing control or 100 % drawing; a drawing that is missing is not
  // chosen.
  void show(HWND control, HINSTANCE module, const ScalablePicture& picture, POINT dpi);

 private:
  HBITMAP shown = nullptr;
};
