#pragma once
// Folder trees as the tests and the UI driver read them back; no GoogleTest.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// `folder` with exactly one backslash after it, in the ANSI code page.
std::string withBackslash(std::string folder);

// Calls `visit` for every file and folder below `folder`, each folder before
// what it holds, with its path relative to `folder` ("sub\\" for a folder) and
// what Windows found of it. A folder that is a link elsewhere (Wine maps the
// user's folders onto the host) is visited, not walked.
using TreeVisit = std::function<void(const std::string& relative, const WIN32_FIND_DATAA& found)>;
void walkTree(const std::string& folder, const TreeVisit& visit);

// Every file below `folder`, by its path relative to it, in the order of
// their lower-case names compared byte by byte: the order in which the
// payload holds them, and so the order in which they are installed.
std::vector<std::string> filesBelow(const std::string& folder);
// Every file and folder below `folder` ("sub\\" for a folder), sorted: a
// folder comes before everything it holds.
std::vector<std::string> entriesBelow(const std::string& folder);
