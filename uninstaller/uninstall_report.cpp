#include "uninstall_report.h"

#include "text_format.h"

std::string reportText(const ReportTexts& texts, const UninstallSummary& summary,
                       const std::string& productName) {
  std::vector<std::string> sections;
  if (summary.complete()) {
    sections.push_back(fillIn(texts.done, {productName}));
  } else {
    sections.push_back(fillIn(texts.failed, {failedItemsText(summary.failed, texts.failedItem, texts.more), productName}));
  }
  if (!summary.refused.empty())
    sections.push_back(fillIn(texts.refused, {itemList(summary.refused, texts.more), productName}));
  if (!summary.kept.empty())
    sections.push_back(fillIn(texts.kept, {itemList(summary.kept, texts.more), productName}));
  if (!summary.links.empty()) sections.push_back(fillIn(texts.links, {itemList(summary.links, texts.more)}));
  if (!summary.atRestart.empty()) sections.push_back(fillIn(texts.atRestart, {itemList(summary.atRestart, texts.more)}));

  std::string text;
  for (const std::string& section : sections) text += (text.empty() ? "" : "\n\n") + section;
  return text;
}
