#pragma once
#include "ks3_page.h"

// Runs the installation and shows how far it has come.
class PageProgress final : public KS3Page {
 public:
  WORD dialogTemplate() override;
};
