#pragma once
// Putting a finished file in place of its destination. The new file is
// written whole under a temporary name beside the destination first; here it
// takes the destination's name in one step, so that the destination is at
// every moment either its earlier file or the new one, never a part of one.
#include <string>

namespace Escort {

enum class Placement {
  Created,   // there was no file of that name
  Replaced,  // an earlier file gave way
  Failed,    // nothing changed: the destination is as it was
};

// Moves `temporary` to `destination`. When an earlier file gives way and
// `keepEarlier` is set, its content stays under a temporary name in the same
// folder, given in `keptCopy`, until the caller is done with it.
Placement placeFile(const std::string& temporary, const std::string& destination, bool keepEarlier,
                    std::string& keptCopy);

// Moves the file `path` aside, to a temporary name in its folder given in
// `keptCopy`, for something written in its place by other means. False when
// it cannot be moved; it is then where it was.
bool moveAside(const std::string& path, std::string& keptCopy);

}  // namespace Escort
