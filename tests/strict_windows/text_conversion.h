#pragma once
// Between the programs' ANSI strings and the wide strings of the functions
// that take only those, in the system's ANSI code page.
#include <string>

std::wstring wideText(const std::string& text);
std::string ansiText(const std::wstring& text);
