#pragma once
#include <functional>
#include <string>

namespace Escort {

// Makes `directory` with every missing level above it, the shallowest first.
// `willMake` is told of each level before it is made, and a level it refuses
// is not made. Levels made before a failure stay. False when the directory
// was there already, or a level could not be made.
bool makeDirectory(const std::string& directory, const std::function<bool(const std::string&)>& willMake);

// Deletes the files in `directory` that an installation was writing when it
// was ended (temporary_file_name.h); earlier files kept aside stay.
void deleteTemporaryFiles(const std::string& directory);

}  // namespace Escort
