#pragma once
#include "ks3_page.h"

// The first page: the large picture (fixed in its template) and the greeting.
class PageWelcome final : public KS3Page {
 public:
  WORD dialogTemplate() override;
  void onCreate(Escort::WizardUI* frame, HWND window) override;
  // The picture is the page's own; the small header bitmap would repeat it.
  bool showsHeaderLogo() override;
};
