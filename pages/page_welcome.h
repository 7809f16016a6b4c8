#pragma once
#include "ks3_page.h"
#include "picture_for_scale.h"

// The first page: the large picture and the greeting. Made before any other
// page, it also gives the frame's header logo, which the later pages show,
// its drawing for the display's scale.
class PageWelcome final : public KS3Page {
 public:
  WORD dialogTemplate() override;
  void onCreate(Escort::WizardUI* frame, HWND window) override;
  // The picture is the page's own; the small header bitmap would repeat it.
  bool showsHeaderLogo() override;

 private:
  // Both outlive the windows, which the frame destroys before the page object goes.
  PictureForScale welcomePicture;
  PictureForScale headerLogo;
};
