#pragma once
// The uninstaller's command line: its own path, then the name of the
// registration, as "UninstallString" and the Start menu's uninstall shortcut
// pass it ("C:\Program Files\Kestrel 3\ksuninstall.exe" Kestrel 3). No Windows
// headers: the parsing is tested on the host.
#include <string>

struct UninstallCommandLine {
  // Everything after the program's own path, without the blanks around it, so
  // a name with blanks needs no quotes. Empty when none was given.
  std::string productName;
  // Set in the working copy that the uninstaller starts once the user has
  // agreed (self_removal.h): the copy asks nothing.
  bool isCopy = false;
};

// `modulePath` is the program's own path as Windows reports it. It finds the
// end of an unquoted program path that contains blanks, as "UninstallString"
// holds it when written without quotes; a quoted path ends at its closing
// quote; any other first word ends at the first blank or tab.
UninstallCommandLine parseUninstallCommandLine(const std::string& commandLine,
                                               const std::string& modulePath);

// The program path in an "UninstallString" of `productName`: the quoted path,
// or everything before the blank and the name when the path is not quoted.
// Empty when the command is neither.
std::string uninstallerPathOf(const std::string& uninstallString, const std::string& productName);

// The command line of the copy: its quoted path, the marker, then the name.
// The marker starts with '\', which a name cannot (a name is one registry key
// name, and those hold no '\'), so no product name is ever mistaken for it.
std::string copyCommandLine(const std::string& copyPath, const std::string& productName);
