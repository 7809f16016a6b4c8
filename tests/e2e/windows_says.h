#pragma once
// What Windows says of an error, as the programs' messages quote it.
#include <string>

// Windows' own text for the error, on one line.
std::string windowsSays(unsigned long error);
