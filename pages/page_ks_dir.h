#pragma once
#include "ks3_page.h"

// The directory the program files go into.
class PageKSDir final : public KS3Page {
 public:
  WORD dialogTemplate() override;
};
