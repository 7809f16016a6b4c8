#include "product_version.h"

#include <windows.h>

#include <vector>

namespace Escort {

bool readProductVersion(const std::string& file, uint64_t& version) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> info(size);
  if (!GetFileVersionInfoA(file.c_str(), 0, size, info.data())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLength = 0;
  if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedLength) ||
      !fixed || fixedLength < sizeof(VS_FIXEDFILEINFO))
    return false;
  version = uint64_t(fixed->dwProductVersionMS) << 32 | fixed->dwProductVersionLS;
  return true;
}

}  // namespace Escort
