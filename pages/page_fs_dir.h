#pragma once
#include "ks3_page.h"

// Which of the installed Flight Simulator versions receive the simulator files.
class PageFSDir final : public KS3Page {
 public:
  WORD dialogTemplate() override;
};
