#pragma once
// Programs of the machine that Wine runs on, for what no Windows function
// does under Wine: making a symbolic link, or removing or renaming one itself
// rather than what it points to. Wine starts a Unix program when
// CreateProcess is given one, but says nothing of its end (no exit code, no
// handle to wait on), so the caller looks for the effect instead.
#include <functional>
#include <string>
#include <vector>

// The Unix path of a Windows path whose folder exists (the last component
// need not); empty when Wine cannot say.
std::string unixPath(const std::string& windowsPath);

// Starts the Unix program `arguments[0]` (such as "/bin/ln") with the other
// arguments, each passed whole; false when it cannot be started.
bool startHostCommand(const std::vector<std::string>& arguments);

// Waits up to `milliseconds` for `effect` to hold; whether it did.
bool waitForEffect(const std::function<bool()>& effect, unsigned long milliseconds = 10000);

// A Unix symbolic link at `link` to `target` (both Windows paths, the target
// existing): what stands under Wine for a junction (to a folder) or a
// symbolic link (to a file) made on Windows. Whether it was made.
bool makeLink(const std::string& link, const std::string& target);
