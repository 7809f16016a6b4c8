#pragma once
// Seeding and reading back keys of HKEY_LOCAL_MACHINE for the uninstaller's
// tests. Plain HKEY_LOCAL_MACHINE access, so a test sees the registry view of
// the build under test, as the setup program and the uninstaller do.
#include <windows.h>

#include <string>
#include <vector>

// Creates `subkey` with its missing parents and sets the value; `type` and the
// raw bytes as given, so that damaged values can be written too.
void setMachineValue(const std::string& subkey, const std::string& name, DWORD type,
                     const std::string& bytes);
// A REG_SZ value with its terminating zero, as the setup program writes them.
void setMachineText(const std::string& subkey, const std::string& name, const std::string& text);
void createMachineKey(const std::string& subkey);
void deleteMachineValue(const std::string& subkey, const std::string& name);

bool machineKeyExists(const std::string& subkey);
bool machineValueExists(const std::string& subkey, const std::string& name);
// The strings of a REG_MULTI_SZ value, empty ones included; none when it is missing.
std::vector<std::string> machineMultiString(const std::string& subkey, const std::string& name);

// Removes `subkey` and everything below it, for cleaning up after a test.
void removeMachineKey(const std::string& subkey);
