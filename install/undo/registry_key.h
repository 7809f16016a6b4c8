#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "registry_key_state.h"

// A key of HKEY_LOCAL_MACHINE, closed on every way out: every registry access
// of the programs goes through here, and every change through the one door
// that tests watch (durable_changes.h). Plain HKEY_LOCAL_MACHINE access: the
// registry view of the program's own build. Opening, creating and writing
// leave the registry's error as the thread's last error when they fail.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey();

  // Opens the key as it is, or creates it: non-volatile, with no class.
  bool create(const std::string& subkey, REGSAM access);
  // Creates the key only when it does not exist yet (ERROR_ALREADY_EXISTS
  // when it does, and it is then not held).
  bool createNew(const std::string& subkey, REGSAM access);
  // Opens the key only when it exists.
  bool open(const std::string& subkey, REGSAM access);
  HKEY handle() const { return key_; }
  const std::string& subkey() const { return subkey_; }

  // The text and its terminating zero.
  bool setString(const std::string& name, const std::string& value) const;
  bool setDword(const std::string& name, DWORD value) const;
  bool setBinary(const std::string& name, const std::string& bytes) const;
  // The value as it is given: its name, type and bytes.
  bool set(const SavedRegistryValue& value) const;
  bool deleteValue(const std::string& name) const;
  // Waits until every change of the key's hive is on the disk.
  bool flush() const;
  // A REG_SZ value without its terminating zero; false for anything else,
  // a zero byte inside the text included.
  bool readString(const std::string& name, std::string& value) const;
  // A value of any type and at most `limit` bytes, as text: up to its first
  // zero byte, never beyond the bytes the registry returned; false for a
  // longer value.
  bool readText(const std::string& name, DWORD limit, std::string& value) const;
  // A REG_DWORD value; false for anything else.
  bool readDword(const std::string& name, DWORD& value) const;
  // Every value, in the order the registry gives them.
  std::vector<SavedRegistryValue> values() const;

 private:
  HKEY key_ = nullptr;
  std::string subkey_;
};

// Deletes HKEY_LOCAL_MACHINE\<subkey> with everything below it; nothing
// above it. ERROR_SUCCESS also when there was no such key.
DWORD deleteKeyTree(const std::string& subkey);

// Whether HKEY_LOCAL_MACHINE\<subkey> exists and has no values and no subkeys.
bool isEmptyKey(const std::string& subkey);

// Deletes each level above `subkey` that is empty (no values, no subkeys),
// the nearest first, down to and including `highest`, one of those levels,
// passing over those that are gone already; stops at the first that holds
// something.
void deleteEmptyParentKeys(const std::string& subkey, const std::string& highest);
