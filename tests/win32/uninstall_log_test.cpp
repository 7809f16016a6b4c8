#include "uninstall_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

using namespace Escort;

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A registry value as the registry hands it back: type and raw bytes, with any
// terminating zero counted in the length.
struct RegistryValue {
  DWORD type = REG_NONE;
  std::string data;
  bool operator==(const RegistryValue& o) const { return type == o.type && data == o.data; }
};

std::ostream& operator<<(std::ostream& out, const RegistryValue& value) {
  out << "type " << value.type << ", " << value.data.size() << " bytes \"";
  for (char c : value.data) out << (c == '\0' ? std::string("\\0") : std::string(1, c));
  return out << '"';
}

RegistryValue text(const std::string& value) { return {REG_SZ, value + '\0'}; }

RegistryValue number(DWORD value) {
  std::string bytes(sizeof value, '\0');
  std::memcpy(&bytes[0], &value, sizeof value);
  return {REG_DWORD, bytes};
}

// A key opened for reading, closed when the test is done with it.
class ReadKey {
 public:
  explicit ReadKey(const std::string& path) {
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ReadKey(const ReadKey&) = delete;
  ReadKey& operator=(const ReadKey&) = delete;
  ~ReadKey() {
    if (key_) RegCloseKey(key_);
  }
  bool exists() const { return key_ != nullptr; }

  bool has(const char* name) const {
    return RegQueryValueExA(key_, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  RegistryValue value(const std::string& name) const {
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
      return value;
    // The size asked for beforehand may be generous for text read through the
    // "A" functions; the second call reports the bytes actually returned.
    value.data.resize(size);
    RegQueryValueExA(key_, name.c_str(), nullptr, &value.type,
                     reinterpret_cast<BYTE*>(&value.data[0]), &size);
    value.data.resize(size);
    return value;
  }

  // Sorted: Wine keeps a key's values sorted by name and enumerates them that
  // way, not in the order they were written, so only the set can be compared.
  std::vector<std::string> valueNames() const {
    std::vector<std::string> names;
    char name[16384];
    for (DWORD index = 0;; ++index) {
      DWORD length = sizeof name;
      if (RegEnumValueA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      names.emplace_back(name, length);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  HKEY key_ = nullptr;
};

class UninstallRegistration : public ::testing::Test {
 protected:
  // The registration has values but no subkeys, so deleting the key removes it all.
  void TearDown() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath().c_str()); }

  std::string keyPath() const { return kUninstallKey + productName; }

  // Commits `count` file deletions numbered in their parameter and description.
  bool commitNumberedEvents(int count) {
    UninstallerSetup* log = createUninstallerSetup(productName.c_str(), "", kUninstaller);
    EXPECT_NE(log, nullptr);
    if (!log) return false;
    for (int n = 0; n < count; ++n) {
      std::string suffix = std::to_string(n);
      EXPECT_TRUE(log->addEvent("DeleteFile", ("C:\\Kestrel\\file" + suffix).c_str(),
                                ("Deleting file " + suffix).c_str()));
    }
    return log->commit();
  }

  static constexpr const char* kUninstaller = "C:\\Program Files\\Kestrel\\ksuninstall.exe";
  std::string productName = std::string("Kestrel 3 test ") +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(UninstallRegistration, CommitWritesEveryValueByteForByte) {
  UninstallerSetup* log = createUninstallerSetup(productName.c_str(), "", kUninstaller);
  ASSERT_NE(log, nullptr);
  ASSERT_TRUE(log->addEvent("DeleteRegTree", "HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3",
                            "Clearing registry entries"));
  ASSERT_TRUE(log->addEvent("DeleteFile", "C:\\Program Files\\Kestrel\\kestrel.exe",
                            "Deleting Kestrel program files"));
  ASSERT_TRUE(log->addEvent("DeleteEmptyDirs", "C:\\Program Files\\Kestrel\\", ""));
  ASSERT_TRUE(log->commit());

  const std::vector<std::pair<std::string, RegistryValue>> expected = {
      {"DisplayName", text(productName)},
      {"UninstallString",
       text("\"C:\\Program Files\\Kestrel\\ksuninstall.exe\" Kestrel 3 test "
            "CommitWritesEveryValueByteForByte")},
      {"EscortDescription", {REG_SZ, std::string(1, '\0')}},
      {"EscortEvents", {REG_DWORD, std::string("\x03\x00\x00\x00", 4)}},
      {"EscortTag0", text("DeleteRegTree")},
      {"EscortParams0", text("HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3")},
      {"EscortDesc0", text("Clearing registry entries")},
      {"EscortTag1", text("DeleteFile")},
      {"EscortParams1", text("C:\\Program Files\\Kestrel\\kestrel.exe")},
      {"EscortDesc1", text("Deleting Kestrel program files")},
      {"EscortTag2", text("DeleteEmptyDirs")},
      {"EscortParams2", text("C:\\Program Files\\Kestrel\\")},
      {"EscortDesc2", {REG_SZ, std::string(1, '\0')}},
  };
  ReadKey key(keyPath());
  ASSERT_TRUE(key.exists());
  std::vector<std::string> names;
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(key.value(name), value) << name;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(key.valueNames(), names);
}

TEST_F(UninstallRegistration, CommitNumbersEventsWithoutLeadingZeros) {
  ASSERT_TRUE(commitNumberedEvents(12));

  ReadKey key(keyPath());
  ASSERT_TRUE(key.exists());
  EXPECT_EQ(key.value("EscortEvents"), number(12));
  EXPECT_EQ(key.value("EscortTag9"), text("DeleteFile"));
  EXPECT_EQ(key.value("EscortParams9"), text("C:\\Kestrel\\file9"));
  EXPECT_EQ(key.value("EscortDesc9"), text("Deleting file 9"));
  EXPECT_EQ(key.value("EscortTag10"), text("DeleteFile"));
  EXPECT_EQ(key.value("EscortParams10"), text("C:\\Kestrel\\file10"));
  EXPECT_EQ(key.value("EscortDesc10"), text("Deleting file 10"));
  EXPECT_EQ(key.value("EscortParams11"), text("C:\\Kestrel\\file11"));
  EXPECT_FALSE(key.has("EscortTag09"));
  EXPECT_FALSE(key.has("EscortParams09"));
  EXPECT_FALSE(key.has("EscortTag12"));

  std::vector<std::string> names = {"DisplayName", "UninstallString", "EscortDescription",
                                    "EscortEvents"};
  for (int n = 0; n < 12; ++n) {
    for (const char* prefix : {"EscortTag", "EscortParams", "EscortDesc"})
      names.push_back(prefix + std::to_string(n));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(key.valueNames(), names);
}

TEST_F(UninstallRegistration, CommitOverEarlierRegistrationKeepsItsHigherEvents) {
  ASSERT_TRUE(commitNumberedEvents(5));
  UninstallerSetup* log =
      createUninstallerSetup(productName.c_str(), "again", "D:\\Kestrel 3\\ksuninstall.exe");
  ASSERT_NE(log, nullptr);
  ASSERT_TRUE(log->addEvent("DeleteEmptyDirs", "D:\\Kestrel 3\\", "Removing start menu"));
  ASSERT_TRUE(log->addEvent("DeleteRegTree", "HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3",
                            "Clearing registry entries"));
  ASSERT_TRUE(log->commit());

  ReadKey key(keyPath());
  ASSERT_TRUE(key.exists());
  EXPECT_EQ(key.value("UninstallString"),
            text("\"D:\\Kestrel 3\\ksuninstall.exe\" " + productName));
  EXPECT_EQ(key.value("EscortDescription"), text("again"));
  EXPECT_EQ(key.value("EscortEvents"), number(2));
  EXPECT_EQ(key.value("EscortTag0"), text("DeleteEmptyDirs"));
  EXPECT_EQ(key.value("EscortParams1"), text("HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3"));
  EXPECT_EQ(key.value("EscortTag2"), text("DeleteFile"));
  EXPECT_EQ(key.value("EscortParams2"), text("C:\\Kestrel\\file2"));
  EXPECT_EQ(key.value("EscortDesc4"), text("Deleting file 4"));
  EXPECT_EQ(key.valueNames().size(), 4u + 3 * 5);
}

TEST_F(UninstallRegistration, CommitOfEmptyLogFailsAndCreatesNoKey) {
  EXPECT_FALSE(commitNumberedEvents(0));
  EXPECT_FALSE(ReadKey(keyPath()).exists());
}

TEST_F(UninstallRegistration, CommitFailsWhenTheKeyCannotBeCreated) {
  // A key name is at most 255 characters; the registry refuses a longer one.
  productName.append(300, 'x');
  EXPECT_FALSE(commitNumberedEvents(1));
}

TEST_F(UninstallRegistration, CreateCopiesTheCallersStrings) {
  char name[64], description[64], uninstaller[64];
  std::strcpy(name, productName.c_str());
  std::strcpy(description, "Air traffic control for online pilots");
  std::strcpy(uninstaller, "C:\\Kestrel\\ksuninstall.exe");
  UninstallerSetup* log = createUninstallerSetup(name, description, uninstaller);
  ASSERT_NE(log, nullptr);
  std::strcpy(name, "Overwritten name");
  std::strcpy(description, "Overwritten description");
  std::strcpy(uninstaller, "C:\\Overwritten.exe");

  char command[32], parameter[32], eventDescription[32];
  std::strcpy(command, "DeleteFile");
  std::strcpy(parameter, "C:\\Kestrel\\kestrel.exe");
  std::strcpy(eventDescription, "Deleting Kestrel program files");
  ASSERT_TRUE(log->addEvent(command, parameter, eventDescription));
  std::strcpy(command, "X");
  std::strcpy(parameter, "Y");
  std::strcpy(eventDescription, "Z");
  ASSERT_TRUE(log->commit());

  ReadKey key(keyPath());
  ASSERT_TRUE(key.exists());
  EXPECT_EQ(key.value("DisplayName"), text(productName));
  EXPECT_EQ(key.value("UninstallString"), text("\"C:\\Kestrel\\ksuninstall.exe\" " + productName));
  EXPECT_EQ(key.value("EscortDescription"), text("Air traffic control for online pilots"));
  EXPECT_EQ(key.value("EscortTag0"), text("DeleteFile"));
  EXPECT_EQ(key.value("EscortParams0"), text("C:\\Kestrel\\kestrel.exe"));
  EXPECT_EQ(key.value("EscortDesc0"), text("Deleting Kestrel program files"));
}

}  // namespace
