#pragma once
#include <windows.h>

#include <string>

// A key of HKEY_LOCAL_MACHINE opened for writing, closed on every way out.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey();

  // Opens the key of an earlier installation as it is, or creates it:
  // non-volatile, with no class.
  bool create(const std::string& subkey, REGSAM access);

  // The text and its terminating zero.
  bool setString(const std::string& name, const std::string& value) const;
  bool setDword(const std::string& name, DWORD value) const;

 private:
  HKEY key_ = nullptr;
};
