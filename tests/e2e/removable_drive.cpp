#include "removable_drive.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "scenario_check.h"

const char kRemovableDrive[] = "X:\\";
const char kUnreadableDrive[] = "Q:\\";

namespace {

// The prefix's folder behind X:, as Wine's drive Z: shows the host, and the
// name it has while unplugged.
std::string driveFolder(const char* name) {
  const char* prefix = std::getenv("WINEPREFIX");
  check(prefix != nullptr, "the scenario knows its Wine prefix");
  std::string path = std::string("Z:") + prefix + "/" + name;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace

void unplugRemovableDrive() {
  check(MoveFileA(driveFolder("removable_drive").c_str(), driveFolder("removable_drive.unplugged").c_str()) != FALSE,
        "drive X: is unplugged");
  check(GetFileAttributesA(kRemovableDrive) == INVALID_FILE_ATTRIBUTES, "drive X: is gone");
}

void plugRemovableDriveBackIn() {
  check(MoveFileA(driveFolder("removable_drive.unplugged").c_str(), driveFolder("removable_drive").c_str()) != FALSE,
        "drive X: is plugged back in");
  check(GetFileAttributesA(kRemovableDrive) != INVALID_FILE_ATTRIBUTES, "drive X: is there");
}
