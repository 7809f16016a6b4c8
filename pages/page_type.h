#pragma once
#include "ks3_page.h"

// The installation type: one computer, or which of two this one is.
class PageType final : public KS3Page {
 public:
  WORD dialogTemplate() override;
};
