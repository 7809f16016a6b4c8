#include "uninstall_report.h"

#include "text_format.h"

namespace {

std::string listed(const std::vector<std::string>& items, const ReportTexts& texts) {
  std::string list;
  for (size_t i = 0; i < items.size() && i < kReportListLimit; ++i) {
    if (i > 0) list += '\n';
    list += items[i];
  }
  if (items.size() > kReportListLimit)
    list += '\n' + fillIn(texts.more, {std::to_string(items.size() - kReportListLimit)});
  return list;
}

}  // namespace

std::string reportText(const ReportTexts& texts, const UninstallSummary& summary,
                       const std::string& productName) {
  std::vector<std::string> sections;
  if (summary.complete()) {
    sections.push_back(fillIn(texts.done, {productName}));
  } else {
    std::vector<std::string> failed;
    for (const FailedItem& item : summary.failed)
      failed.push_back(fillIn(texts.failedItem, {item.item, std::to_string(item.systemError)}));
    sections.push_back(fillIn(texts.failed, {listed(failed, texts), productName}));
  }
  if (!summary.refused.empty())
    sections.push_back(fillIn(texts.refused, {listed(summary.refused, texts), productName}));
  if (!summary.kept.empty())
    sections.push_back(fillIn(texts.kept, {listed(summary.kept, texts), productName}));

  std::string text;
  for (const std::string& section : sections) text += (text.empty() ? "" : "\n\n") + section;
  return text;
}
