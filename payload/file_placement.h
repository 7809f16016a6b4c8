#pragma once
// Putting a finished file in place of its destination. The new file is
// written whole under a temporary name beside the destination first; here it
// takes the destination's name, so that the destination is at every moment
// either its earlier file, the new one, or (for an instant, when an earlier
// file is kept aside) neither, never a part of one.
#include <string>

namespace Escort {

// A name for keeping the file `path` aside, beside it, that no file has yet
// (temporary_file_name.h). Empty when the folder has none left.
std::string newKeptCopyPath(const std::string& path);

// Moves `temporary` to `destination`, where no file stood when the run looked.
// False, with nothing changed, when a file stands there now or it cannot be moved.
bool placeNewFile(const std::string& temporary, const std::string& destination);

// Renames the file at `destination` to `keptCopy` and moves `temporary` into
// its place. False, with the destination as it was, when either cannot be
// done: the earlier file is held by a program that lets no one rename it (a
// running simulator's module), or the new one cannot take its name.
bool placeOverEarlierFile(const std::string& temporary, const std::string& destination, const std::string& keptCopy);

// Moves `temporary` to `destination`, replacing whatever file is there in one
// step and keeping nothing. False when it cannot.
bool placeReplacing(const std::string& temporary, const std::string& destination);

}  // namespace Escort
