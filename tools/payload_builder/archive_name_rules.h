#pragma once
#include <string>
#include <vector>

namespace PayloadTool {

// Why one file or directory name cannot become a component of an archive path,
// or "" when it can. Beyond what the catalog forbids (NUL, the '\' separator,
// "." and "..") this refuses what the installer could never create on Windows
// (windowsNameProblem), and any byte beyond ASCII, whose meaning depends on
// the code page of the Windows that installs it.
std::string componentProblem(const std::string& name);

// "\ks\docs\readme.txt" for {"ks", "Docs", "ReadMe.txt"}: the stored form.
std::string archivePathFor(const std::vector<std::string>& components);

// Why a path read from a catalog is not in stored form, or "" when it is. A
// path that is not can never be found by the installer's lookups.
std::string storedPathProblem(const std::string& path);

// Why a stored path may not be joined to a destination directory, or "" when it
// may: every component must pass componentProblem, so that the installer never
// writes outside its directory, onto a drive or stream, or to a device.
std::string unsafePathProblem(const std::string& path);

// The name with control bytes written as \xNN, fit for a message line.
std::string shownName(const std::string& name);

}  // namespace PayloadTool
