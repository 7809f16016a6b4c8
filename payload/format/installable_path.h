#pragma once
// The rules every path meets that an installation changes: checked before a
// run changes anything, by the journal's reader for every record, and by the
// uninstaller for every event, so that nothing is ever recorded that a later
// run could not settle. No Windows headers: tested on the host.
#include <cstddef>
#include <string>

// The lengths that Windows XP..11's ANSI file functions accept (MAX_PATH,
// 260, less the terminating zero: MSDN, Naming Files, Paths, and Namespaces).
// Wine 8.0 accepts longer paths, so the programs apply
// these themselves: a destination behaves on a user's machine as under test.
constexpr size_t kMaxFilePath = 259;
// CreateDirectoryA leaves room for an 8.3 name below the directory (MSDN
// CreateDirectory: a limit of 248 characters).
constexpr size_t kMaxDirectoryPath = 248;
// GetTempFileNameA's rule: room for its 14-character name.
constexpr size_t kMaxTemporaryFileDirectory = 246;
// The longest name the installation puts beside one of its files: an earlier
// file kept aside ("~kp0000.kept"), or a new one written first under a
// temporary name ("~ks0000.tmp").
constexpr size_t kLongestNameBesideAFile = 12;

// "C:\" followed by at least one name, with '\' separators and at most one
// trailing '\'. Refused: anything relative ("Kestrel", "C:Kestrel",
// "\Kestrel"), UNC and device paths ("\\server\share", "\\?\C:\", "\\.\"),
// '/' separators, empty levels, and any level that is no name Windows keeps
// as written (windowsNameProblem: ".", "..", a trailing dot or blank, a
// reserved device name, a character Windows does not allow). A drive root
// alone is refused: no installation of ours makes or removes one.
bool isLocalAbsolutePath(const std::string& path);

enum class PathKind { File, Folder };

enum class PathProblem {
  None,
  NotOnLocalDrive,  // not a local absolute path (isLocalAbsolutePath)
  TooLong,          // longer than Windows takes, or no room for a kept copy beside it
};

// Whether an installation may make, replace or remove `path`: a file within
// kMaxFilePath with room for kLongestNameBesideAFile in its folder, or a
// folder (with or without its trailing '\') within kMaxDirectoryPath.
PathProblem installablePathProblem(const std::string& path, PathKind kind);
