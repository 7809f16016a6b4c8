#pragma once
#include <string>

namespace Escort {

// Turns an archive path as a caller writes it ("/FS/Modules/fsuipc.dll",
// "/fs/aircraft/") into the catalog's key form: '/' becomes '\', A-Z become
// lower case (bytes of 128 and above stay), and one trailing '\' is dropped.
std::string normalizeArchivePath(const std::string& path);

// The path of `key` relative to the tree `prefixKey`: the key without the
// prefix and without one leading '\'. `key` must begin with `prefixKey`.
std::string pathInTree(const std::string& key, const std::string& prefixKey);

}  // namespace Escort
