#include "product_version.h"

#include <windows.h>

#include <vector>

#include "system_library.h"

namespace Escort {
namespace {

// version.dll is not among the KnownDLLs of Windows XP..11: imported, it would
// be looked for beside the program first (MSDN, Dynamic-Link Library Search
// Order). It is taken from the system folder instead.
constexpr char kVersionLibrary[] = "version.dll";

struct VersionFunctions {
  decltype(&GetFileVersionInfoSizeA) infoSize =
      systemFunction<decltype(&GetFileVersionInfoSizeA)>(kVersionLibrary, "GetFileVersionInfoSizeA");
  decltype(&GetFileVersionInfoA) info =
      systemFunction<decltype(&GetFileVersionInfoA)>(kVersionLibrary, "GetFileVersionInfoA");
  decltype(&VerQueryValueA) query = systemFunction<decltype(&VerQueryValueA)>(kVersionLibrary, "VerQueryValueA");
  bool loaded() const { return infoSize && info && query; }
};

}  // namespace

bool readProductVersion(const std::string& file, uint64_t& version) {
  static const VersionFunctions functions;
  if (!functions.loaded()) return false;
  DWORD ignored = 0;
  DWORD size = functions.infoSize(file.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> info(size);
  if (!functions.info(file.c_str(), 0, size, info.data())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLength = 0;
  if (!functions.query(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedLength) || !fixed ||
      fixedLength < sizeof(VS_FIXEDFILEINFO))
    return false;
  version = uint64_t(fixed->dwProductVersionMS) << 32 | fixed->dwProductVersionLS;
  return true;
}

}  // namespace Escort
