#pragma once
#include <functional>
#include <string>

namespace Escort {

// Makes `directory` with every missing level above it, the shallowest first.
// `willMake` is told of each level before it is made, and a level it refuses
// is not made. Levels made before a failure stay. A drive's root is never
// made: on a drive that is not there nothing is (ERROR_PATH_NOT_FOUND). False
// when the directory was there already (ERROR_ALREADY_EXISTS), or a level
// could not be made (the error of that, as the thread's last error).
bool makeDirectory(const std::string& directory, const std::function<bool(const std::string&)>& willMake);

}  // namespace Escort
