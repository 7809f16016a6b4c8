#include "uninstall_report.h"

#include "text_format.h"

namespace {

std::string listed(const std::vector<std::string>& items, const std::string& morePattern) {
  std::string list;
  for (size_t i = 0; i < items.size() && i < kReportListLimit; ++i) {
    if (i > 0) list += '\n';
    list += items[i];
  }
  if (items.size() > kReportListLimit)
    list += '\n' + fillIn(morePattern, {std::to_string(items.size() - kReportListLimit)});
  return list;
}

}  // namespace

std::string reportText(const ReportTexts& texts, const UninstallSummary& summary,
                       const std::string& productName) {
  std::vector<std::string> sections;
  if (summary.complete()) {
    sections.push_back(fillIn(texts.done, {productName}));
  } else {
    sections.push_back(fillIn(texts.failed, {failedItemsText(summary.failed, texts.failedItem, texts.more), productName}));
  }
  if (!summary.refused.empty())
    sections.push_back(fillIn(texts.refused, {listed(summary.refused, texts.more), productName}));
  if (!summary.kept.empty())
    sections.push_back(fillIn(texts.kept, {listed(summary.kept, texts.more), productName}));

  std::string text;
  for (const std::string& section : sections) text += (text.empty() ? "" : "\n\n") + section;
  return text;
}

std::string failedItemsText(const std::vector<FailedItem>& items, const std::string& itemPattern,
                            const std::string& morePattern) {
  std::vector<std::string> lines;
  for (const FailedItem& item : items) lines.push_back(fillIn(itemPattern, {item.item, std::to_string(item.systemError)}));
  return listed(lines, morePattern);
}
