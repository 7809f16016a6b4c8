#include "failure_text.h"

#include "text_format.h"

std::string itemList(const std::vector<std::string>& items, const std::string& morePattern) {
  std::string list;
  for (size_t i = 0; i < items.size() && i < kReportListLimit; ++i) {
    if (i > 0) list += '\n';
    list += items[i];
  }
  if (items.size() > kReportListLimit)
    list += '\n' + fillIn(morePattern, {std::to_string(items.size() - kReportListLimit)});
  return list;
}

std::string commaSeparated(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

std::string heldFileText(const std::string& path, const std::vector<std::string>& programs,
                         const std::string& usedByPattern) {
  return programs.empty() ? path : fillIn(usedByPattern, {path, commaSeparated(programs)});
}

std::string failedItemsText(const std::vector<Failure>& items, const std::string& itemPattern,
                            const std::string& morePattern) {
  std::vector<std::string> lines;
  for (const Failure& item : items)
    lines.push_back(fillIn(itemPattern, {item.item, std::to_string(item.systemError)}) +
                    (item.reason.empty() ? "" : '\n' + item.reason));
  return itemList(lines, morePattern);
}

std::string failureLines(const Failure& failure, const std::string& wherePattern, const std::string& atPattern) {
  if (!failure.happened()) return std::string();
  std::string lines;
  const auto add = [&lines](const std::string& line) {
    if (!line.empty()) lines += (lines.empty() ? "" : "\n") + line;
  };
  add(failure.item);
  add(failure.reason);
  const std::string site = std::to_string(static_cast<int>(failure.site));
  if (failure.site != FailureSite::Unknown)
    add(*failure.call ? fillIn(wherePattern, {failure.call, site}) : fillIn(atPattern, {site}));
  return lines.empty() ? lines : "\n\n" + lines;
}
