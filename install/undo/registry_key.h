#pragma once
#include <windows.h>

#include <string>

// A key of HKEY_LOCAL_MACHINE, closed on every way out. Plain
// HKEY_LOCAL_MACHINE access: the registry view of the program's own build.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey();

  // Opens the key as it is, or creates it: non-volatile, with no class.
  bool create(const std::string& subkey, REGSAM access);
  // Opens the key only when it exists.
  bool open(const std::string& subkey, REGSAM access);
  HKEY handle() const { return key_; }
  // Takes over a key opened elsewhere, closing the one held.
  void adopt(HKEY key);

  // The text and its terminating zero.
  bool setString(const std::string& name, const std::string& value) const;
  bool setDword(const std::string& name, DWORD value) const;
  // A REG_SZ value without its terminating zero; false for anything else,
  // a zero byte inside the text included.
  bool readString(const std::string& name, std::string& value) const;
  // A REG_DWORD value; false for anything else.
  bool readDword(const std::string& name, DWORD& value) const;

 private:
  HKEY key_ = nullptr;
};
