#include "installation_checks.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <cstring>
#include <optional>
#include <set>

#include "file_tree.h"
#include "prefix_seed.h"
#include "registry_view.h"
#include "scenario.h"
#include "shell_links.h"

namespace {

const DWORD kDataVersion = 2006062300;
// The registration's values for Windows' list of programs.
const char* const kDetailValues[] = {"DisplayIcon", "DisplayVersion", "EstimatedSize", "HelpLink", "InstallDate",
                                     "InstallLocation", "NoModify", "NoRepair", "Publisher", "URLInfoAbout"};

// "3.0.2.0": the product version in the file's version resource.
std::string productVersion(const std::string& file) {
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeA(file.c_str(), &ignored));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  char root[] = "\\";
  check(!data.empty() && GetFileVersionInfoA(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) &&
            VerQueryValueA(data.data(), root, reinterpret_cast<void**>(&fixed), &size) && fixed,
        file + " has a version resource");
  return std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." + std::to_string(LOWORD(fixed->dwProductVersionMS)) +
         "." + std::to_string(HIWORD(fixed->dwProductVersionLS)) + "." + std::to_string(LOWORD(fixed->dwProductVersionLS));
}

struct ExpectedShortcut {
  const char* file;
  LoadedShortcut loaded;
};

std::vector<ExpectedShortcut> expectedShortcuts(const std::string& programDir) {
  const std::string icons = programDir + "ksimage.dll";
  // The user guide keeps the uninstaller's arguments: one link object makes
  // all three. Its target is what the link object keeps for the address
  // (Wine's makes a file path of it, see targetAsTheLinkObjectKeepsIt).
  return {
      {"Kestrel 3.lnk", {true, programDir + "kestrel.exe", "", "Kestrel 3", "", 0}},
      {"Uninstall Kestrel.lnk", {true, programDir + "ksuninstall.exe", "Kestrel 3", "Uninstall Kestrel", icons, 1}},
      {"User Guide.lnk",
       {true, targetAsTheLinkObjectKeepsIt(kUserGuideAddress), "Kestrel 3", "User Guide", icons, 0}},
  };
}

std::string registrationValue(const std::string& name) {
  const std::optional<RegistryValue> value = readMachineValue(kRegistrationKey, name);
  check(value.has_value(), "the registration has the value " + name);
  check(value->type == REG_SZ && !value->data.empty() && value->data.back() == '\0',
        "the registration's " + name + " is text with its terminating zero");
  return value->data.substr(0, value->data.size() - 1);
}

std::optional<DWORD> numberIn(const std::optional<RegistryValue>& value) {
  DWORD number = 0;
  if (!value || value->type != REG_DWORD || value->data.size() != sizeof number) return std::nullopt;
  std::memcpy(&number, value->data.data(), sizeof number);
  return number;
}

std::string shown(const RegistryValue& value) {
  if (const std::optional<DWORD> number = numberIn(value)) return std::to_string(*number) + " (REG_DWORD)";
  std::string text = value.data;
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return "\"" + text + "\" (" + (value.type == REG_SZ ? "REG_SZ" : "type " + std::to_string(value.type)) + ")";
}

}  // namespace

void checkInstalledFiles(const ExpectedInstallation& expected) {
  for (const ExpectedFile& file : expected.files) {
    check(pathExists(file.installed), file.installed + " is installed");
    check(requiredFileBytes(file.installed) == requiredFileBytes(file.source),
          file.installed + " is byte for byte " + file.source);
  }
}

void checkFolderHolds(const std::string& folder, const ExpectedInstallation& expected,
                      const std::vector<std::string>& alsoThere) {
  const std::string base = withBackslash(folder);
  std::set<std::string> wanted(alsoThere.begin(), alsoThere.end());
  for (const ExpectedFile& file : expected.files) {
    if (file.installed.compare(0, base.size(), base) != 0) continue;
    const std::string relative = file.installed.substr(base.size());
    wanted.insert(relative);
    for (size_t cut = relative.find('\\'); cut != std::string::npos; cut = relative.find('\\', cut + 1))
      wanted.insert(relative.substr(0, cut + 1));
  }
  const std::vector<std::string> found = entriesBelow(base);
  std::string listing;
  for (const std::string& entry : found) listing += "\n    " + entry;
  check(std::vector<std::string>(wanted.begin(), wanted.end()) == found,
        base + " holds exactly the expected files; it holds:" + listing);
}

void checkProgramSettings(const Route& route) {
  if (!route.programFiles) {
    checkEqual(machineKeyExists(kSettingsKey), false, "the program's settings key exists");
    return;
  }
  const std::optional<RegistryValue> directory = readMachineValue(kSettingsKey, "KSDir");
  check(directory == registryText(route.programDir), "KSDir is the program directory, with its terminating zero");
  const std::optional<RegistryValue> version = readMachineValue(kSettingsKey, "DataVersion");
  check(version == registryDword(kDataVersion), "DataVersion is 2006062300 as a REG_DWORD");
}

void checkUninstallRegistration(const Route& route, const ExpectedInstallation& expected) {
  check(machineKeyExists(kRegistrationKey), "the uninstall registration exists");
  checkEqual(registrationValue("DisplayName"), "Kestrel 3", "DisplayName");
  checkEqual(registrationValue("UninstallString"), "\"" + route.programDir + "ksuninstall.exe\" Kestrel 3",
             "UninstallString");
  checkEqual(registrationValue("EscortDescription"), "", "EscortDescription");
  const std::optional<RegistryValue> count = readMachineValue(kRegistrationKey, "EscortEvents");
  check(count == registryDword(static_cast<DWORD>(expected.events.size())),
        "EscortEvents counts the " + std::to_string(expected.events.size()) + " expected events");

  checkRegistrationDetails(route.programDir, expected);
  const std::string folders = "|" + registrationValue("EscortFolders") + "|";
  check(folders.find("|" + route.programDir + "|") != std::string::npos,
        "EscortFolders names the program folder among the folders the installation writes into");
  std::vector<std::string> names = {"DisplayName", "EscortDescription", "EscortEvents", "EscortFolders",
                                    "UninstallString"};
  names.insert(names.end(), std::begin(kDetailValues), std::end(kDetailValues));
  for (size_t n = 0; n < expected.events.size(); ++n) {
    const std::string number = std::to_string(n);
    const UninstallEvent found{registrationValue("EscortTag" + number), registrationValue("EscortParams" + number),
                              registrationValue("EscortDesc" + number)};
    const UninstallEvent& wanted = expected.events[n];
    check(found == wanted, "event " + number + " is " + wanted.command + " \"" + wanted.parameter + "\" \"" +
                               wanted.description + "\", not " + found.command + " \"" + found.parameter +
                               "\" \"" + found.description + "\"");
    for (const char* prefix : {"EscortTag", "EscortParams", "EscortDesc"}) names.push_back(prefix + number);
  }
  std::sort(names.begin(), names.end());
  check(machineValueNames(kRegistrationKey) == names, "the registration holds its events and nothing else");
}

void checkRegistrationDetails(const std::string& programDir, const ExpectedInstallation& expected) {
  const std::string program = programDir + "kestrel.exe";
  const std::string shown = pathExists(program) ? program : programDir + "ksuninstall.exe";
  checkEqual(registrationValue("DisplayVersion"), productVersion(shown), "DisplayVersion, as " + shown + " has it");
  checkEqual(registrationValue("Publisher"), "Ninefold", "Publisher");
  checkEqual(registrationValue("DisplayIcon"), shown + ",0", "DisplayIcon");
  checkEqual(registrationValue("InstallLocation"), programDir, "InstallLocation");
  SYSTEMTIME now;
  GetLocalTime(&now);
  char today[16];
  std::snprintf(today, sizeof today, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  checkEqual(registrationValue("InstallDate"), today, "InstallDate");
  for (const char* address : {"URLInfoAbout", "HelpLink"}) checkEqual(registrationValue(address), kUserGuideAddress, address);
  for (const char* flag : {"NoModify", "NoRepair"})
    check(readMachineValue(kRegistrationKey, flag) == registryDword(1), std::string(flag) + " is 1");
  // What the expected events would delete: the payload's files by their
  // size in the tree, the shortcuts (which the shell writes) as they are.
  unsigned long long bytes = 0;
  std::map<std::string, std::string> sources;
  for (const ExpectedFile& file : expected.files) sources[file.installed] = file.source;
  std::set<std::string> counted;
  for (const UninstallEvent& event : expected.events) {
    if (event.command != "DeleteFile" || !counted.insert(event.parameter).second) continue;
    const auto source = sources.find(event.parameter);
    bytes += source != sources.end() ? requiredFileBytes(source->second).size() : fileSize(event.parameter).value_or(0);
  }
  check(readMachineValue(kRegistrationKey, "EstimatedSize") == registryDword(static_cast<DWORD>((bytes + 1023) / 1024)),
        "EstimatedSize is the " + std::to_string((bytes + 1023) / 1024) + " KB of the files it would remove");
}

void checkNoUninstallRegistration() {
  checkEqual(machineKeyExists(kRegistrationKey), false, "the uninstall registration exists");
}

void checkShortcuts(const Route& route) {
  const std::string folder = startMenuFolder();
  if (!route.programFiles) {
    checkEqual(pathExists(folder), false, "the Start menu folder " + folder + " exists");
    return;
  }
  std::vector<std::string> files;
  for (const ExpectedShortcut& shortcut : expectedShortcuts(route.programDir)) {
    const LoadedShortcut loaded = loadShortcut(folder + shortcut.file);
    checkEqual(describe(loaded), describe(shortcut.loaded), std::string("the shortcut ") + shortcut.file);
    files.push_back(shortcut.file);
  }
  check(entriesBelow(folder) == files, "the Start menu folder holds the three shortcuts and nothing else");
}

void printInstallation(std::ostream& out, const Route& route) {
  for (const std::string& folder : {route.programDir, route.fs2002Dir, route.fs2004Dir}) {
    if (folder.empty()) continue;
    const std::vector<std::string> files = filesBelow(folder);
    out << "== Files in " << withBackslash(folder) << " (" << files.size() << "):\n";
    for (const std::string& file : files) {
      const std::string path = withBackslash(folder) + file;
      out << "   " << file << "  (" << fileBytes(path).value_or("").size() << " bytes)\n";
    }
  }
  if (route.programFiles) {
    out << "== Registry values in HKEY_LOCAL_MACHINE\\" << kSettingsKey << ":\n";
    for (const char* name : {"KSDir", "DataVersion"})
      out << "   " << name << " = " << shown(readMachineValue(kSettingsKey, name).value_or(RegistryValue())) << "\n";
    const std::string folder = startMenuFolder();
    out << "== Shortcuts in " << folder << ":\n";
    for (const std::string& file : entriesBelow(folder)) {
      const LoadedShortcut shortcut = loadShortcut(folder + file);
      out << "   " << file << ": " << describe(shortcut) << "\n";
      if (file == "User Guide.lnk" && shortcut.target != kUserGuideAddress)
        out << "     (saved for " << kUserGuideAddress << "; Wine's link object keeps a web address as a file path)\n";
    }
  }
  out << "== Uninstall registration HKEY_LOCAL_MACHINE\\" << kRegistrationKey << ":\n";
  for (const std::string& name : machineValueNames(kRegistrationKey)) {
    if (name.compare(0, 6, "Escort") == 0 && name != "EscortEvents" && name != "EscortDescription") continue;
    out << "   " << name << " = " << shown(readMachineValue(kRegistrationKey, name).value_or(RegistryValue())) << "\n";
  }
  const DWORD events = numberIn(readMachineValue(kRegistrationKey, "EscortEvents")).value_or(0);
  for (DWORD n = 0; n < events; ++n) {
    const std::string number = std::to_string(n);
    out << "   " << number << ": " << registrationValue("EscortTag" + number) << " \""
        << registrationValue("EscortParams" + number) << "\"  (" << registrationValue("EscortDesc" + number) << ")\n";
  }
  out << std::flush;
}

void checkInstallation(const Route& route, const ExpectedInstallation& expected) {
  checkInstalledFiles(expected);
  checkFolderHolds(route.programDir, expected, {});
  for (Simulator simulator : {Simulator::Fs2002, Simulator::Fs2004}) {
    const std::string folder = simulatorFolder(simulator);
    if (pathExists(folder)) checkFolderHolds(folder, expected, seededSimulatorEntries());
  }
  checkProgramSettings(route);
  checkShortcuts(route);
  checkUninstallRegistration(route, expected);
}
