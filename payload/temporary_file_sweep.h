#pragma once
#include <string>

namespace Escort {

// Deletes the files in `directory` that an installation was writing when it
// was ended (temporary_file_name.h); earlier files kept aside stay.
void deleteTemporaryFiles(const std::string& directory);

}  // namespace Escort
