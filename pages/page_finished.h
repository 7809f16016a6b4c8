#pragma once
#include "ks3_page.h"

// The end of a successful installation: readme and user guide on request.
class PageFinished final : public KS3Page {
 public:
  WORD dialogTemplate() override;
};
