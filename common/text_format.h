#pragma once
// Text helpers that need no Windows headers, so the host tests build them too.
//
// Paths and names are in the ANSI code page. Those of Japanese, Chinese and
// Korean Windows (932, 936, 949, 950) write many characters in two bytes: a
// lead byte, then a trail byte that may be '\' (0x5C), '|' or a letter. So
// every helper here steps through a text character by character; a byte
// that looks like a backslash may be the second half of a character.
#include <string>
#include <vector>

// Whether `byte` begins a two-byte character in the ANSI code page (Windows:
// the system's; host builds: the one the test chose, host_code_page.h).
bool isLeadByte(unsigned char byte);

// Where the character after the one that begins at `at` begins: one byte
// further, or two for a lead byte (a lead byte at the very end stands alone).
size_t nextCharacter(const std::string& text, size_t at);

// Appends one backslash unless the path already ends with one. An empty
// string names no folder and is left empty.
void ensureTrailingBackslash(std::string& path);

// Whether the last character of `path` is a backslash.
bool endsWithBackslash(const std::string& path);

// Removes the one backslash that ends `path`, if it ends with one.
void removeTrailingBackslash(std::string& path);
// `path` without the one backslash that ends it, if it ends with one.
std::string withoutTrailingBackslash(std::string path);

// Where the first backslash at or after `from` (the start of a character)
// stands; std::string::npos when there is none.
size_t findBackslash(const std::string& text, size_t from = 0);

// Where the last backslash stands; std::string::npos when there is none.
size_t lastBackslash(const std::string& text);

// How many backslashes the text holds: the levels of a path.
size_t backslashCount(const std::string& text);

// Whether `path` names no place on a drive of this computer but a network
// share or a device: it begins with two backslashes ("\\server\share").
bool isNetworkPath(const std::string& path);

// Everything before the last '\' of `path`; empty when there is none.
std::string parentDirectory(const std::string& path);

// The levels of a path or key between its '\' separators, empty ones
// included: "C:\a\\b" gives "C:", "a", "", "b".
std::vector<std::string> pathLevels(const std::string& path);

// The text with the letters A to Z in lower case; other characters, the
// second bytes of two-byte characters among them, stay.
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
