#pragma once
// The names of the files that an installation writes before they are whole,
// and of the earlier files it keeps aside while it may still be taken back:
// "~ks", up to four hexadecimal digits and ".tmp", as GetTempFileNameA makes
// them with this prefix. A run that ends normally leaves none; one that was
// killed or cut off may, and the next run or the uninstaller removes them.
// No Windows headers: tested on the host.
#include <string>

namespace Escort {

inline constexpr char kTemporaryFilePrefix[] = "~ks";

// Whether the file name (without its directory) is one of those names.
bool isTemporaryFileName(const std::string& name);

}  // namespace Escort
