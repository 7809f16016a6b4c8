#pragma once
// Putting a file in the place of an earlier one: the earlier file renamed
// aside, kept until the installation ends; or a new file written whole under
// a temporary name beside its destination, taking the destination's name in
// one step.
#include <string>

namespace Escort {

// A name for keeping the file `path` aside, beside it, that no file has yet
// (temporary_file_name.h). Empty when the folder has none left.
std::string newKeptCopyPath(const std::string& path);

// Each function that fails leaves the Windows error of the step that failed
// as the thread's last error.

// Renames the file `path` to `keptCopy`, beside it. False, with nothing
// changed, when it cannot: another program holds it without letting it be
// renamed.
bool renameAside(const std::string& path, const std::string& keptCopy);

// Renames the file at `destination` to `keptCopy` and moves `temporary` into
// its place. False, with the destination as it was, when either cannot be
// done: the earlier file is held by a program that lets no one rename it (a
// running simulator's module), or the new one cannot take its name.
bool placeOverEarlierFile(const std::string& temporary, const std::string& destination, const std::string& keptCopy);

// Moves `temporary` to `destination`, replacing whatever file is there in one
// step and keeping nothing. False when it cannot.
bool placeReplacing(const std::string& temporary, const std::string& destination);

// Whether `error`, from deleting, renaming, replacing or opening the file at
// `path`, says that another program holds it: a sharing or lock violation,
// or access denied to a file that is there and whose attributes allow the
// change (Windows XP..11 refuse so to delete a running program's module,
// which they map, and to replace a file that another program has open:
// DeleteFile and ReplaceFile in MSDN).
bool isInUse(const std::string& path, unsigned long error);

// Whether another program holds the file at `path` so that it can be neither
// written nor renamed. Asked without changing the file.
bool isHeldByAnotherProgram(const std::string& path);

}  // namespace Escort
