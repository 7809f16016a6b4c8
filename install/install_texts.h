#pragma once
// The texts an installation writes into the machine: the descriptions of its
// uninstall events, which the uninstaller shows, and the names of its Start
// menu folder and shortcuts. The program passes them in from its string table;
// the engine has none of its own.
#include <string>

struct InstallTexts {
  // Uninstall events.
  std::string programFiles;
  std::string mainModule;
  std::string transponder;
  std::string autoJoin;
  std::string defaultModels;
  std::string marlinModels;
  std::string settings;
  std::string startMenu;
  // The Start menu folder, which the program's shortcut is also named after,
  // and the two other shortcuts (without ".lnk").
  std::string startMenuFolder;
  std::string uninstallShortcut;
  std::string userGuideShortcut;
};
