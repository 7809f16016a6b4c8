#pragma once
#include <string>

// Reads the text value `valueName` of the key `subkey` of HKEY_LOCAL_MACHINE,
// as the pages read the simulators' folders and an earlier program directory:
// up to 259 characters, up to the first zero and never beyond what the
// registry returned, whatever the value's type. True and `text` set when the
// value was read; otherwise `text` stays as it was (no key, no value, or a
// value too long to fit).
bool readMachineText(const char* subkey, const char* valueName, std::string& text);
