#pragma once
// How failures read under a message: the patterns come from the program's
// string table, filled in here. No Windows headers: tested on the host.
#include <string>
#include <vector>

#include "failure.h"

// The most items a list shows, so that a message box stays on the screen.
constexpr size_t kReportListLimit = 10;

// The items, one a line: the first kReportListLimit, then `morePattern` (%1
// number of items not listed).
std::string itemList(const std::vector<std::string>& items, const std::string& morePattern);

// The items one after the other, separated by ", ".
std::string commaSeparated(const std::vector<std::string>& items);

// A file another program holds, as the messages that ask to close it name it:
// through `usedByPattern` (%1 the file, %2 the programs, commaSeparated) when
// Windows named the programs, else the file alone.
std::string heldFileText(const std::string& path, const std::vector<std::string>& programs,
                         const std::string& usedByPattern);

// The failures as itemList lists them, each through `itemPattern` (%1 item,
// %2 Windows error code), its reason on a line of its own below it.
std::string failedItemsText(const std::vector<Failure>& items, const std::string& itemPattern,
                            const std::string& morePattern);

// The lines under a failure message that say what failed, why and where, after
// an empty line: the file, folder or key; Windows' text for the error (its
// `reason`, asked beforehand); and `wherePattern` (%1 the Windows call, %2 the
// site's number), or `atPattern` (%1 the site's number) when no call failed.
// "" when nothing is known of it.
std::string failureLines(const Failure& failure, const std::string& wherePattern, const std::string& atPattern);
