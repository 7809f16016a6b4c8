#include "link_guard.h"

#include "text_format.h"
#include "unfollowed_level.h"

namespace {

// Whether `path` is `root` or lies below it, as Windows compares names.
bool isWithin(const std::string& path, const std::string& root) {
  return path.size() > root.size() && equalsIgnoringCase(path.substr(0, root.size()), root);
}

}  // namespace

LinkGuard::LinkGuard(std::vector<std::string> destinations) : destinations(std::move(destinations)) {
  for (std::string& destination : this->destinations) ensureTrailingBackslash(destination);
}

LinkGuard::~LinkGuard() { release(); }

std::string LinkGuard::linkOnTheWay(const std::string& path) {
  std::string root;
  for (const std::string& destination : destinations)
    if (isWithin(path, destination) && destination.size() > root.size()) root = destination;
  if (root.empty()) {
    release();
    return std::string();
  }
  // The levels below the destination, the shallowest first, `path` last.
  std::vector<std::string> levels;
  for (size_t end = findBackslash(path, root.size()); end != std::string::npos; end = findBackslash(path, end + 1))
    levels.push_back(path.substr(0, end));
  if (!endsWithBackslash(path)) levels.push_back(path);
  // Those held for the last path that this one shares stay held.
  size_t shared = 0;
  while (shared < held.size() && shared + 1 < levels.size() && equalsIgnoringCase(held[shared].first, levels[shared]))
    ++shared;
  for (size_t at = shared; at < held.size(); ++at) CloseHandle(held[at].second);
  held.resize(shared);
  for (size_t at = shared; at < levels.size(); ++at) {
    const HANDLE level = holdUnfollowed(levels[at]);
    // Not there (gone already), or not to be opened: nothing is reached through it.
    if (level == INVALID_HANDLE_VALUE) return std::string();
    // A link is never held: the next path below it must meet it again.
    if (isLink(levels[at])) {
      CloseHandle(level);
      return levels[at];
    }
    // `path` itself is only looked at: the run is about to change it.
    if (at + 1 == levels.size())
      CloseHandle(level);
    else
      held.emplace_back(levels[at], level);
  }
  return std::string();
}

void LinkGuard::release() {
  for (const auto& level : held) CloseHandle(level.second);
  held.clear();
}
