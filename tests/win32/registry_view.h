#pragma once
// HKEY_LOCAL_MACHINE as the build under test sees it, for seeding keys before a
// run and reading results back afterwards. The setup program is 32-bit, so on
// 64-bit Windows its Software keys live in the 32-bit view, while the x86_64
// test build uses the native one; every access here asks for the view of the
// build it is compiled into, so a test (or a separate driver process of the
// same build) meets exactly the keys the code under test wrote. No GoogleTest.
// Subkeys are full paths below the root: "Software\\Ninefold\\Kestrel\\3".
#include <windows.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// KEY_WOW64_32KEY in a 32-bit build, KEY_WOW64_64KEY in a 64-bit one.
REGSAM testedRegistryView();

// A value as the registry hands it back: its type and raw bytes, with any
// terminating zero counted in the length.
struct RegistryValue {
  DWORD type = REG_NONE;
  std::string data;
  bool operator==(const RegistryValue& o) const { return type == o.type && data == o.data; }
  bool operator!=(const RegistryValue& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& out, const RegistryValue& value);

// REG_SZ as a program writes it: the text and one terminating zero.
RegistryValue registryText(const std::string& text);
// REG_DWORD, 4 bytes little-endian.
RegistryValue registryDword(DWORD number);

bool machineKeyExists(const std::string& subkey);
// Creates the key (and its parents) as needed and sets the value.
bool seedMachineValue(const std::string& subkey, const std::string& name, const RegistryValue& value);
// Nothing when the key or the value does not exist.
std::optional<RegistryValue> readMachineValue(const std::string& subkey, const std::string& name);
// Every key from `subkey` down, by full path, with its values.
using MachineTree = std::map<std::string, std::map<std::string, RegistryValue>>;
MachineTree machineTree(const std::string& subkey);
// The names of the key's values, sorted: Wine enumerates them sorted by name,
// not in the order they were written, so only the set can be compared.
std::vector<std::string> machineValueNames(const std::string& subkey);
// The names of the key's subkeys, sorted.
std::vector<std::string> machineSubkeyNames(const std::string& subkey);
// Removes one value; true when it is gone.
bool deleteMachineValue(const std::string& subkey, const std::string& name);
// Removes the key with all its values and subkeys; true when it is gone.
bool deleteMachineTree(const std::string& subkey);
