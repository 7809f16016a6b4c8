#include "path_limits.h"

#include <cstring>

#include "layer_settings.h"

bool refusedAsTooLong(const char* given, const std::string& fullPath, size_t limit) {
  if (!layerSettings().pathLimits || given == nullptr) return false;
  if (std::strlen(given) < limit && fullPath.size() < limit) return false;
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  return true;
}
