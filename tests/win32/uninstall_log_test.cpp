#include "uninstall_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "registry_view.h"

using namespace Escort;

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class UninstallRegistration : public ::testing::Test {
 protected:
  void TearDown() override { deleteMachineTree(keyPath()); }

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
      {"DisplayName", registryText(productName)},
      {"UninstallString",
       registryText("\"C:\\Program Files\\Kestrel\\ksuninstall.exe\" Kestrel 3 test "
                    "CommitWritesEveryValueByteForByte")},
      {"EscortDescription", {REG_SZ, std::string(1, '\0')}},
      {"EscortEvents", {REG_DWORD, std::string("\x03\x00\x00\x00", 4)}},
      {"EscortTag0", registryText("DeleteRegTree")},
      {"EscortParams0", registryText("HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3")},
      {"EscortDesc0", registryText("Clearing registry entries")},
      {"EscortTag1", registryText("DeleteFile")},
      {"EscortParams1", registryText("C:\\Program Files\\Kestrel\\kestrel.exe")},
      {"EscortDesc1", registryText("Deleting Kestrel program files")},
      {"EscortTag2", registryText("DeleteEmptyDirs")},
      {"EscortParams2", registryText("C:\\Program Files\\Kestrel\\")},
      {"EscortDesc2", {REG_SZ, std::string(1, '\0')}},
  };
  ASSERT_TRUE(machineKeyExists(keyPath()));
  std::vector<std::string> names;
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(readMachineValue(keyPath(), name), value) << name;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(machineValueNames(keyPath()), names);
}

TEST_F(UninstallRegistration, CommitNumbersEventsWithoutLeadingZeros) {
  ASSERT_TRUE(commitNumberedEvents(12));

  ASSERT_TRUE(machineKeyExists(keyPath()));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortEvents"), registryDword(12));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortTag9"), registryText("DeleteFile"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortParams9"), registryText("C:\\Kestrel\\file9"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortDesc9"), registryText("Deleting file 9"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortTag10"), registryText("DeleteFile"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortParams10"), registryText("C:\\Kestrel\\file10"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortDesc10"), registryText("Deleting file 10"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortParams11"), registryText("C:\\Kestrel\\file11"));
  EXPECT_FALSE(readMachineValue(keyPath(), "EscortTag09"));
  EXPECT_FALSE(readMachineValue(keyPath(), "EscortParams09"));
  EXPECT_FALSE(readMachineValue(keyPath(), "EscortTag12"));

  std::vector<std::string> names = {"DisplayName", "UninstallString", "EscortDescription",
                                    "EscortEvents"};
  for (int n = 0; n < 12; ++n) {
    for (const char* prefix : {"EscortTag", "EscortParams", "EscortDesc"})
      names.push_back(prefix + std::to_string(n));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(machineValueNames(keyPath()), names);
}

// A reinstall keeps what the earlier installation registered: this run's
// events, then the earlier ones, each once (the same command and path, in any
// case), where it comes last.
TEST_F(UninstallRegistration, CommitOverEarlierRegistrationAppendsTheEventsNotRepeated) {
  ASSERT_TRUE(commitNumberedEvents(3));
  UninstallerSetup* log =
      createUninstallerSetup(productName.c_str(), "again", "D:\\Kestrel 3\\ksuninstall.exe");
  ASSERT_NE(log, nullptr);
  ASSERT_TRUE(log->addEvent("DeleteFile", "D:\\Kestrel 3\\file0", "Deleting it again"));
  ASSERT_TRUE(log->addEvent("DeleteFile", "C:\\KESTREL\\FILE1", "Deleting it again"));
  ASSERT_TRUE(log->addEvent("DeleteFile", "D:\\Kestrel 3\\file3", "Deleting it again"));
  ASSERT_TRUE(log->commit());

  EXPECT_EQ(readMachineValue(keyPath(), "UninstallString"),
            registryText("\"D:\\Kestrel 3\\ksuninstall.exe\" " + productName));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortDescription"), registryText("again"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortEvents"), registryDword(5));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"D:\\Kestrel 3\\file0", "Deleting it again"},
      {"D:\\Kestrel 3\\file3", "Deleting it again"},
      {"C:\\Kestrel\\file0", "Deleting file 0"},
      {"C:\\Kestrel\\file1", "Deleting file 1"},
      {"C:\\Kestrel\\file2", "Deleting file 2"}};
  for (size_t n = 0; n < expected.size(); ++n) {
    EXPECT_EQ(readMachineValue(keyPath(), "EscortParams" + std::to_string(n)), registryText(expected[n].first));
    EXPECT_EQ(readMachineValue(keyPath(), "EscortDesc" + std::to_string(n)), registryText(expected[n].second));
  }
}

// An earlier registration damaged by hand or by an older setup program keeps
// every event that can still be read: without them, what it installed could
// never be removed.
TEST_F(UninstallRegistration, CommitOverADamagedRegistrationKeepsItsReadableEvents) {
  const struct {
    const char* what;
    void (*damage)(const std::string& key);
    std::vector<std::string> kept;  // the earlier events' parameters
  } cases[] = {
      {"no count", [](const std::string& key) { deleteMachineValue(key, "EscortEvents"); },
       {"C:\\Kestrel\\file0", "C:\\Kestrel\\file1", "C:\\Kestrel\\file2"}},
      {"a count that is text", [](const std::string& key) { seedMachineValue(key, "EscortEvents", registryText("3")); },
       {"C:\\Kestrel\\file0", "C:\\Kestrel\\file1", "C:\\Kestrel\\file2"}},
      {"an event without its parameter", [](const std::string& key) { deleteMachineValue(key, "EscortParams1"); },
       {"C:\\Kestrel\\file0", "C:\\Kestrel\\file2"}},
      {"a count beyond the events", [](const std::string& key) { seedMachineValue(key, "EscortEvents", registryDword(4000000000u)); },
       {"C:\\Kestrel\\file0", "C:\\Kestrel\\file1", "C:\\Kestrel\\file2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    deleteMachineTree(keyPath());
    ASSERT_TRUE(commitNumberedEvents(3));
    c.damage(keyPath());
    UninstallerSetup* log = createUninstallerSetup(productName.c_str(), "", kUninstaller);
    ASSERT_NE(log, nullptr);
    ASSERT_TRUE(log->addEvent("DeleteFile", "D:\\Kestrel 3\\new", "Deleting it"));
    ASSERT_TRUE(log->commit());

    std::vector<std::string> expected = {"D:\\Kestrel 3\\new"};
    expected.insert(expected.end(), c.kept.begin(), c.kept.end());
    EXPECT_EQ(readMachineValue(keyPath(), "EscortEvents"), registryDword(static_cast<DWORD>(expected.size())));
    for (size_t n = 0; n < expected.size(); ++n)
      EXPECT_EQ(readMachineValue(keyPath(), "EscortParams" + std::to_string(n)), registryText(expected[n])) << n;
  }
}

TEST_F(UninstallRegistration, CommitOfEmptyLogFailsAndCreatesNoKey) {
  EXPECT_FALSE(commitNumberedEvents(0));
  EXPECT_FALSE(machineKeyExists(keyPath()));
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

  ASSERT_TRUE(machineKeyExists(keyPath()));
  EXPECT_EQ(readMachineValue(keyPath(), "DisplayName"), registryText(productName));
  EXPECT_EQ(readMachineValue(keyPath(), "UninstallString"), registryText("\"C:\\Kestrel\\ksuninstall.exe\" " + productName));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortDescription"), registryText("Air traffic control for online pilots"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortTag0"), registryText("DeleteFile"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortParams0"), registryText("C:\\Kestrel\\kestrel.exe"));
  EXPECT_EQ(readMachineValue(keyPath(), "EscortDesc0"), registryText("Deleting Kestrel program files"));
}

}  // namespace
