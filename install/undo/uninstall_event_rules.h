#pragma once
// Which events of a registration the uninstaller carries out. The registration
// lives in the registry, where anything could have edited it, so each event is
// held against what an installation of Kestrel 3 can log before it is touched.
// No Windows headers: the rules are tested on the host.
#include <string>

#include "installable_path.h"

enum class EventKind { DeleteFile, DeleteEmptyDirs, DeleteRegTree, Unknown };

// The command words exactly as the setup program writes them.
EventKind eventKind(const std::string& command);

// The key below HKEY_LOCAL_MACHINE that `key` names (for
// "HKEY_LOCAL_MACHINE\Software\Ninefold\Kestrel\3": "Software\Ninefold\Kestrel\3"), provided
// it lies strictly below HKEY_LOCAL_MACHINE\Software; the root name and
// "Software" are matched without regard to case, as the registry does. Empty
// for anything else: another root, a key outside Software, a root or
// Software itself, empty levels, "." or "..".
std::string machineSoftwareSubkey(const std::string& key);

// Whether the uninstaller may carry the event out: a known command word with a
// parameter of its kind. "DeleteFile" takes a file path, "DeleteEmptyDirs" a
// directory path, each as an installation may make them
// (installablePathProblem), "DeleteRegTree" a key.
bool isAllowedEvent(const std::string& command, const std::string& parameter);
