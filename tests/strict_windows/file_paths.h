#pragma once
// Paths as the layer compares them: full, as Windows would resolve them for
// the program, whatever their length.
#include <string>

std::string fullPath(const char* path);
// Without a backslash at its end, unless it is a drive's root.
std::string withoutFinalBackslash(std::string path);
