#pragma once
// No link is followed below the folders the user chose. A simulator's folder
// often lets every user change what it holds: a standard user can put a
// junction, to a folder of files they may not change, where the installation
// made or filled a folder. Windows XP..11 follow it (a junction is a reparse
// point that file names pass through, MSDN), and the elevated programs would
// delete, rename or replace what lies beyond. So before they act on a
// path, each level of it below its destination is looked at without being
// followed, and held open without sharing deletion while they act, so that
// no other program can put a link in its place meanwhile.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class LinkGuard {
 public:
  // `destinations`: the folders the user chose, each with its backslash.
  explicit LinkGuard(std::vector<std::string> destinations);
  ~LinkGuard();
  LinkGuard(const LinkGuard&) = delete;
  LinkGuard& operator=(const LinkGuard&) = delete;

  // The first level of `path` below its destination (the deepest of them
  // that holds it), down to `path` itself, that is a link (a reparse point);
  // "" when there is none, or no destination holds it. The levels above
  // `path` stay held until the next call or release().
  std::string linkOnTheWay(const std::string& path);

  // Lets go of the levels held: the run is about to remove folders.
  void release();

 private:
  std::vector<std::string> destinations;
  std::vector<std::pair<std::string, HANDLE>> held;  // the levels of the last path, the shallowest first
};
