#include "path_limits.h"

#include <cstring>

#include "layer_settings.h"

bool refusedAsTooLong(const char* given, const std::string& fullPath, size_t limit) {
  if (!layerSettings().pathLimits || given == nullptr) return false;
  if (std::strlen(given) < limit && fullPath.size() < limit) return false;
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  return true;
}

bool refusedAcrossVolumes(const std::string& from, const std::string& to) {
  if (!layerSettings().volumes || from.size() < 2 || to.size() < 2 || from[1] != ':' || to[1] != ':') return false;
  if ((from[0] | 0x20) == (to[0] | 0x20)) return false;  // drive letters are ASCII
  SetLastError(ERROR_NOT_SAME_DEVICE);
  return true;
}
