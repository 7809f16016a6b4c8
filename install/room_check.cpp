#include "room_check.h"

#include <windows.h>

#include <algorithm>
#include <map>

#include "text_format.h"

namespace {

struct Volume {
  RoomShortage room;
  uint64_t clusterSize = 1;
};

// The root of the volume that `path` is on, or will be on once created: that
// of its deepest existing folder, so that a folder mounted elsewhere counts
// for the volume it shows. Empty when it cannot be told.
std::string volumeRoot(std::string path) {
  while (!path.empty() && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
    path = parentDirectory(path);
  char root[MAX_PATH];
  if (path.empty() || !GetVolumePathNameA(path.c_str(), root, MAX_PATH)) return std::string();
  return root;
}

bool readVolume(const std::string& root, const std::string& folder, Volume& volume) {
  ULARGE_INTEGER freeToUser;
  if (!GetDiskFreeSpaceExA(root.c_str(), &freeToUser, nullptr, nullptr)) return false;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
    volume.clusterSize = std::max<uint64_t>(uint64_t(sectorsPerCluster) * bytesPerSector, 1);
  volume.room.folder = folder;
  volume.room.free = freeToUser.QuadPart;
  return true;
}

}  // namespace

bool findRoomShortage(const ChangePlan& plan, RoomShortage& shortage) {
  std::map<std::string, Volume> volumes;  // by lower-case root
  std::vector<std::string> order;         // roots as first met
  // The volume of each destination, found once; null when it cannot be read.
  std::vector<Volume*> volumeOf;
  for (const std::string& folder : plan.destinations) {
    const std::string root = asciiLowerCase(volumeRoot(folder));
    Volume* volume = nullptr;
    if (!root.empty()) {
      auto found = volumes.find(root);
      Volume read;
      if (found == volumes.end() && readVolume(root, folder, read)) {
        found = volumes.emplace(root, read).first;
        order.push_back(root);
      }
      if (found != volumes.end()) volume = &found->second;
    }
    volumeOf.push_back(volume);
  }
  for (const PlannedFile& file : plan.files) {
    Volume* volume = volumeOf[file.folder];
    if (!volume) continue;
    const uint64_t clusters = (uint64_t(file.size) + volume->clusterSize - 1) / volume->clusterSize;
    volume->room.needed += clusters * volume->clusterSize;
  }
  for (const std::string& root : order) {
    const RoomShortage& room = volumes[root].room;
    if (room.needed > room.free) {
      shortage = room;
      return true;
    }
  }
  return false;
}
