#pragma once
// Text helpers that need no Windows headers, so the host tests build them too.
#include <string>
#include <vector>

// Appends one backslash unless the path already ends with one. An empty
// string names no folder and is left empty.
void ensureTrailingBackslash(std::string& path);

// Whether `path` names no place on a drive of this computer but a network
// share or a device: it begins with two backslashes ("\\server\share").
bool isNetworkPath(const std::string& path);

// Everything before the last '\' of `path`; empty when there is none.
std::string parentDirectory(const std::string& path);

// The levels of a path or key between its '\' separators, empty ones
// included: "C:\a\\b" gives "C:", "a", "", "b".
std::vector<std::string> pathLevels(const std::string& path);

// The text with the letters A to Z in lower case; other bytes stay.
std::string asciiLowerCase(std::string text);

// Whether the two texts differ at most in the case of the letters A to Z, as
// Windows compares the names of files and registry keys.
bool equalsIgnoringCase(const std::string& a, const std::string& b);

// `pattern` with each "%1" to "%9" replaced by inserts[0] to inserts[8] in one
// pass: inserted text is never searched again. A '%' with nothing to insert
// stays as it is.
std::string fillIn(const std::string& pattern, const std::vector<std::string>& inserts);

// Shortest decimal text of a signed 32-bit value: "0", "-17", "2147483647".
std::string intToString(int value);

