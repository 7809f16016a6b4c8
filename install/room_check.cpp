#include "room_check.h"

#include <algorithm>
#include <map>

#include "archive_path.h"
#include "catalog.h"
#include "payload_resource.h"
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

bool findRoomShortage(const std::vector<InstallStep>& steps, HMODULE payloadModule, RoomShortage& shortage) {
  Escort::PayloadResource resource;
  Escort::CatalogHeader header;
  Escort::Catalog catalog;
  if (Escort::loadPayloadResource(payloadModule, 0, resource) ||
      Escort::readCatalog(resource.data, resource.size, header, catalog) != Escort::CatalogReadResult::Ok)
    return false;

  std::map<std::string, Volume> volumes;  // by lower-case root
  std::vector<std::string> order;         // roots as first met
  for (const InstallStep& step : steps) {
    const std::string root = asciiLowerCase(volumeRoot(step.destination));
    if (root.empty()) continue;
    auto found = volumes.find(root);
    if (found == volumes.end()) {
      Volume volume;
      if (!readVolume(root, step.folder, volume)) continue;
      found = volumes.emplace(root, volume).first;
      order.push_back(root);
    }
    Volume& volume = found->second;
    const auto add = [&volume](const std::string&, const Escort::CatalogEntry& entry) {
      const uint64_t clusters = (uint64_t(entry.uncompressedSize) + volume.clusterSize - 1) / volume.clusterSize;
      volume.room.needed += clusters * volume.clusterSize;
      return true;
    };
    const std::string key = Escort::normalizeArchivePath(step.archivePath);
    if (step.tree) {
      Escort::forEachInTree(catalog, key, add);
    } else if (auto entry = catalog.find(key); entry != catalog.end()) {
      add(key, entry->second);
    }
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
