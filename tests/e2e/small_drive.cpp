#include "small_drive.h"

#include <vector>

#include "scenario.h"

const char kSmallDrive[] = "E:\\";

namespace {

const char kFilling[] = "E:\\filling.bin";

}  // namespace

ULONGLONG smallDriveFreeBytes() {
  ULARGE_INTEGER free = {};
  check(GetDiskFreeSpaceExA(kSmallDrive, &free, nullptr, nullptr) != FALSE, "the small drive E: is there");
  return free.QuadPart;
}

ULONGLONG smallDriveClusterBytes() {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  check(GetDiskFreeSpaceA(kSmallDrive, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) != FALSE,
        "the small drive's clusters can be read");
  return ULONGLONG(sectorsPerCluster) * bytesPerSector;
}

void leaveFreeOnSmallDrive(ULONGLONG freeBytes) {
  const ULONGLONG available = smallDriveFreeBytes();
  check(available > freeBytes, "the small drive has more than " + std::to_string(freeBytes) + " bytes free");
  HANDLE file = CreateFileA(kFilling, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  check(file != INVALID_HANDLE_VALUE, "the small drive's filling can be written");
  // Written in pieces down to single bytes, so that the drive ends as full as
  // its allocation lets it.
  const std::vector<char> block(64 * 1024, 'x');
  ULONGLONG toWrite = available - freeBytes;
  for (DWORD piece = static_cast<DWORD>(block.size()); piece > 0 && toWrite > 0; piece /= 2) {
    DWORD written = 0;
    while (toWrite >= piece && WriteFile(file, block.data(), piece, &written, nullptr) && written == piece)
      toWrite -= piece;
  }
  CloseHandle(file);
}

void emptySmallDrive() { check(DeleteFileA(kFilling) != FALSE, "the small drive's filling goes"); }
