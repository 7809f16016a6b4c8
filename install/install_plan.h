#pragma once
// What an installation writes where, in the order it writes it, worked out
// from the job alone: the worker carries the steps out, and the room check
// adds up what they will write to each volume.
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
  bool versionAware = false;         // the shared module, which stays when as new or newer
  UINT descriptionId = 0;            // of its uninstall events; 0: logged for removal never
  std::string directoryToLog;        // logged for removal after the file (the lone uninstaller's)
  std::string folder;                // where it goes, as the user knows it: the program
                                     // directory or a simulator's folder, with a backslash
  bool programFiles = false;         // its folder is the program directory
};

// Program files (or the uninstaller alone, on a computer that runs only the
// simulator), then each chosen simulator's modules and aircraft.
std::vector<InstallStep> installSteps(const InstallJob& job);

// Calls visit(step, destination, entry) for every file the steps write, in
// their order, with its entry of the catalog in `payloadModule`'s resources,
// each at the path the extractor gives it. False when that catalog cannot be
// read.
using InstalledFileVisit =
    std::function<void(const InstallStep& step, const std::string& destination, const Escort::CatalogEntry& entry)>;
bool forEachInstalledFile(const std::vector<InstallStep>& steps, HMODULE payloadModule, const InstalledFileVisit& visit);
