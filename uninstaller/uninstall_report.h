#pragma once
// The uninstaller's texts, put together from the string table's patterns. No
// Windows headers: tested on the host.
#include <string>
#include <vector>

#include "failure_text.h"
#include "text_format.h"  // fillIn, which fills the patterns in
#include "uninstall_summary.h"

// The patterns of the final report, from the string table.
struct ReportTexts {
  std::string done;        // %1 product
  std::string failed;      // %1 list, %2 product
  std::string failedItem;  // %1 item, %2 Windows error code
  std::string refused;     // %1 list, %2 product
  std::string kept;        // %1 list, %2 product
  std::string more;        // %1 number of items not listed
  std::string links;       // %1 list
  std::string atRestart;   // %1 list
};

// The report: the done line when nothing failed, then a section for each
// non-empty list of the summary (failed, refused, kept, links, at restart). Each list shows its
// first kReportListLimit items, one a line, and then how many more there are,
// so the message box stays on the screen.
std::string reportText(const ReportTexts& texts, const UninstallSummary& summary,
                       const std::string& productName);
