#pragma once
// Which programs hold a file, as Windows names them, for the messages that
// ask the user to close them.
#include <string>
#include <vector>

// The programs that hold `path`, through the Restart Manager (Vista and
// later, loaded from the system folder); none on XP or when it cannot say.
std::vector<std::string> programsHolding(const std::string& path);
