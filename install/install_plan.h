#pragma once
// What an installation writes where, in the order it writes it, worked out
// from the job alone: the worker carries the steps out, and the plan of the
// run's changes (change_planner.h) lists every file they write.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "catalog.h"
#include "install_job.h"

struct InstallStep {
  std::string archivePath;  // a file ("/fs/modules/ksmod9.dll") or a tree ("/ks")
  std::string destination;  // the file's path, or the tree's directory
  bool tree = false;
  bool versionAware = false;    // the shared module, which stays when as new or newer
  bool logged = false;          // its uninstall events are logged (the shared module's never)
  std::string description;      // of its uninstall events
  std::string directoryToLog;   // logged for removal after the file (the lone uninstaller's)
  std::string folder;           // where it goes, as the user knows it: the program
                                // directory or a simulator's folder, with a backslash
  bool programFiles = false;    // its folder is the program directory
};

// Program files (or the uninstaller alone, on a computer that runs only the
// simulator), then each chosen simulator's modules and aircraft. Two
// simulators registered in one folder get it once: each destination is
// written by one step only.
std::vector<InstallStep> installSteps(const InstallJob& job);

// Calls visit(step, destination, entry) for every file the steps write, in
// their order, with its entry of the catalog in `payloadModule`'s resources,
// each at the path the extractor gives it. False when that catalog cannot be
// read.
using InstalledFileVisit =
    std::function<void(const InstallStep& step, const std::string& destination, const Escort::CatalogEntry& entry)>;
bool forEachInstalledFile(const std::vector<InstallStep>& steps, HMODULE payloadModule, const InstalledFileVisit& visit);

// Whether the two folders are one: the same name, or (where both exist) the
// same folder under two names (a short 8.3 name, another drive letter for
// it, a link).
bool isSameFolder(const std::string& a, const std::string& b);
