#pragma once
// The names that an installation gives files for a while, beside their
// destination:
// - a file it is writing, before it is whole: "~ks", up to four hexadecimal
//   digits and ".tmp", as GetTempFileNameA makes them with this prefix;
// - the earlier file it replaces, kept until the run has succeeded: "~kp", up
//   to four hexadecimal digits and ".kept".
// The two never look alike: a file being written is rubbish once its run has
// ended, an earlier file kept aside is the user's until its run has succeeded.
// Both are at most 12 characters, the length of a GetTempFileNameA name, so
// that a folder that takes the one takes the other. No Windows headers:
// tested on the host.
#include <string>

namespace Escort {

inline constexpr char kTemporaryFilePrefix[] = "~ks";
inline constexpr char kKeptCopyPrefix[] = "~kp";

// Whether the file name (without its directory) is that of a file being written.
bool isTemporaryFileName(const std::string& name);
// Whether the file name (without its directory) is that of an earlier file kept aside.
bool isKeptCopyName(const std::string& name);
// The name of a file being written, and that of a kept copy, for `number`
// (of which the low 16 bits count).
std::string temporaryFileName(unsigned number);
std::string keptCopyName(unsigned number);

}  // namespace Escort
