#pragma once
// Start menu shortcuts as the shell's link object reads them back from their
// files, for the tests and for the UI driver (no GoogleTest). Each call has
// COM, apartment-threaded, for as long as it needs it.
#include <string>

struct LoadedShortcut {
  bool loaded = false;
  std::string target, arguments, description, iconFile;
  int iconIndex = -1;
  bool operator==(const LoadedShortcut& o) const {
    return loaded == o.loaded && target == o.target && arguments == o.arguments && description == o.description &&
           iconFile == o.iconFile && iconIndex == o.iconIndex;
  }
};

// Loads the .lnk file through IShellLinkA.
LoadedShortcut loadShortcut(const std::string& path);

// The target a fresh link object keeps for `target`. Wine's IShellLinkA
// SetPath runs every target through GetFullPathNameW, so a web address is kept
// as a file path below the working directory; a shortcut to one must hold
// what the link object makes of the address, not the address itself.
std::string targetAsTheLinkObjectKeepsIt(const std::string& target);

// "target "..." arguments "..." ..." for messages and the walk's listing.
std::string describe(const LoadedShortcut& shortcut);
