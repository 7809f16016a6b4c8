#include "expected_installation.h"

#include <windows.h>
#include <shlobj.h>

#include <cctype>
#include <set>

#include "tree_walk.h"

const char kFs2002Key[] = "Software\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0";
const char kFs2004Key[] = "Software\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
const char kSimulatorFolderValue[] = "EXE Path";
const char kSettingsKey[] = "Software\\Ninefold\\Kestrel\\3";
const char kRegistrationKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrel 3";
const char kUserGuideAddress[] = "https://www.kestrel.example/doc/";

namespace {

const char kProgramFilesText[] = "Deleting Kestrel program files";
const char kStartMenuText[] = "Removing start menu";

struct SimulatorModules {
  const char* transponder;
  const char* mainModule;
  const char* autoJoin;  // null: none for this version
};

class Expectation {
 public:
  Expectation(const std::string& tree, ExpectedInstallation& into) : tree(tree), into(into) {}

  void event(const std::string& command, const std::string& parameter, const std::string& description) {
    into.events.push_back({command, parameter, description});
  }
  // One file; logged for removal unless `description` is null. A file that
  // goes where another went already (two simulators in one folder) is
  // written once, by the first.
  void file(const std::string& source, const std::string& installed, const char* description) {
    if (!written.insert(lowerCase(installed)).second) return;
    into.files.push_back({tree + source, installed});
    if (description) event("DeleteFile", installed, description);
  }
  // Every file of the payload's `sourceDir` below `installedDir`, in payload
  // order, then the directory itself (as the program names it); once.
  void filesOf(const std::string& sourceDir, const std::string& installedDir, const std::string& directoryEvent,
             const char* description) {
    if (!written.insert(lowerCase(withBackslash(installedDir))).second) return;
    for (const std::string& relative : filesBelow(tree + sourceDir))
      file(sourceDir + "\\" + relative, withBackslash(installedDir) + relative, description);
    event("DeleteEmptyDirs", directoryEvent, description);
  }
  void simulator(const std::string& folder, const SimulatorModules& modules, bool programFiles) {
    const std::string modulesDir = withBackslash(folder) + "modules\\";
    const std::string aircraftDir = withBackslash(folder) + "aircraft\\";
    file(std::string("fs\\modules\\") + modules.transponder, modulesDir + modules.transponder,
         "Deleting transponder DLL");
    // Shared with other add-ons: installed, never removed.
    file("fs\\modules\\fsuipc.dll", modulesDir + "fsuipc.dll", nullptr);
    if (programFiles)
      file(std::string("fs\\modules\\") + modules.mainModule, modulesDir + modules.mainModule,
           "Deleting Kestrel module DLL");
    if (modules.autoJoin)
      file(std::string("fs\\modules\\") + modules.autoJoin, modulesDir + modules.autoJoin,
           "Deleting multiplayer auto-join DLL");
    filesOf("fs\\aircraft\\kestrel", aircraftDir + "kestrel", aircraftDir + "kestrel",
          "Deleting Kestrel default model set");
    filesOf("fs\\aircraft\\marlin", aircraftDir + "marlin", aircraftDir + "marlin", "Deleting Marlin model set");
  }

 private:
  static std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
  }

  std::string tree;
  ExpectedInstallation& into;
  std::set<std::string> written;  // destinations, in lower case
};

}  // namespace

std::string startMenuFolder() {
  char programs[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs);
  return withBackslash(programs) + "Kestrel 3\\";
}

ExpectedInstallation expectedWorkerRun(const std::string& payloadTree, const Route& route) {
  ExpectedInstallation expected;
  Expectation add(withBackslash(payloadTree), expected);
  const bool simulators = !route.fs2002Dir.empty() || !route.fs2004Dir.empty();
  if (route.programFiles) {
    add.filesOf("ks", route.programDir, route.programDir, kProgramFilesText);
    for (const std::string& folder : route.foldersMadeAbove) add.event("DeleteEmptyDirs", folder, kProgramFilesText);
  } else if (simulators) {
    // A simulator computer gets the uninstaller alone, to remove the simulator files with.
    add.file("ks\\ksuninstall.exe", withBackslash(route.programDir) + "ksuninstall.exe", kProgramFilesText);
    add.event("DeleteEmptyDirs", route.programDir, kProgramFilesText);
  }
  if (!route.fs2002Dir.empty())
    add.simulator(route.fs2002Dir, {"kstrans8.dll", "ksmod8.dll", nullptr}, route.programFiles);
  if (!route.fs2004Dir.empty())
    add.simulator(route.fs2004Dir, {"kstrans9.dll", "ksmod9.dll", "ksmpjoin9.dll"}, route.programFiles);
  return expected;
}

ExpectedInstallation expectedInstallation(const std::string& payloadTree, const Route& route) {
  ExpectedInstallation expected;
  if (route.programFiles) {
    expected.events.push_back(
        {"DeleteRegTree", std::string("HKEY_LOCAL_MACHINE\\") + kSettingsKey, "Clearing registry entries"});
    const std::string folder = startMenuFolder();
    for (const char* name : {"Kestrel 3.lnk", "Uninstall Kestrel.lnk", "User Guide.lnk"})
      expected.events.push_back({"DeleteFile", folder + name, kStartMenuText});
    expected.events.push_back({"DeleteEmptyDirs", folder, kStartMenuText});
  }
  const ExpectedInstallation worker = expectedWorkerRun(payloadTree, route);
  expected.files = worker.files;
  expected.events.insert(expected.events.end(), worker.events.begin(), worker.events.end());
  return expected;
}
