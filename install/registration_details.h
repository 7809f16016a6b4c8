#pragma once
// What Windows' list of installed programs shows of the registration besides
// its name and size (which the commit writes): the version, the publisher,
// the icon, where and when it was installed, the documentation address, and
// no Modify or Repair button, which would have nothing to do.
#include <string>

// Writes them into the committed registration of `productName`, for the
// installation it removes as a whole (this run's files and those of an
// earlier installation merged into it), whose uninstaller, and perhaps
// program, lie in `programDir` (with its backslash). Leaves the registry's
// error as the thread's last error when a value cannot be written.
bool writeRegistrationDetails(const std::string& productName, const std::string& programDir);
