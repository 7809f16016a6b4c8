#include "uninstaller_setup_factory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "registry_view.h"
#include "scratch_directory.h"
#include "uninstall_event.h"

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

  // Commits `events` under `uninstaller`.
  bool commitEvents(const std::vector<UninstallEvent>& events, const char* uninstaller = kUninstaller) {
    UninstallerSetup* log = createUninstallerSetup(productName.c_str(), "", uninstaller);
    EXPECT_NE(log, nullptr);
    if (!log) return false;
    for (const UninstallEvent& event : events)
      EXPECT_TRUE(log->addEvent(event.command.c_str(), event.parameter.c_str(), event.description.c_str()));
    return log->commit();
  }

  // The registered events, as many as the count says; a value that is not
  // text reads as "(missing)".
  std::vector<UninstallEvent> registeredEvents() const {
    const auto text = [this](const std::string& name) {
      const auto value = readMachineValue(keyPath(), name);
      return value && value->type == REG_SZ ? std::string(value->data.c_str()) : std::string("(missing)");
    };
    DWORD count = 0;
    if (const auto value = readMachineValue(keyPath(), "EscortEvents"); value && value->data.size() == sizeof count)
      std::memcpy(&count, value->data.data(), sizeof count);
    std::vector<UninstallEvent> events;
    for (DWORD n = 0; n < count; ++n) {
      const std::string number = std::to_string(n);
      events.push_back({text("EscortTag" + number), text("EscortParams" + number), text("EscortDesc" + number)});
    }
    return events;
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
      {"EstimatedSize", registryDword(0)},  // none of the files is there
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

  std::vector<std::string> names = {"DisplayName", "UninstallString", "EscortDescription", "EscortEvents",
                                    "EstimatedSize"};
  for (int n = 0; n < 12; ++n) {
    for (const char* prefix : {"EscortTag", "EscortParams", "EscortDesc"})
      names.push_back(prefix + std::to_string(n));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(machineValueNames(keyPath()), names);
}

// A reinstall keeps what the earlier installation registered: this run's
// events, then the earlier ones, each once (the same command and path, in any
// case), where it comes last; each with its own command and description. The
// same path under another command is another event.
TEST_F(UninstallRegistration, CommitOverEarlierRegistrationAppendsTheEventsNotRepeated) {
  const UninstallEvent earlierFile{"DeleteFile", "C:\\Kestrel\\kestrel.exe", "Deleting program files"},
      earlierFolder{"DeleteEmptyDirs", "C:\\Kestrel\\", "Removing folders"},
      earlierKey{"DeleteRegTree", "HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3", "Clearing settings"};
  ASSERT_TRUE(commitEvents({earlierFile, earlierFolder, earlierKey}));
  const UninstallEvent newFile{"DeleteFile", "D:\\Kestrel 3\\kestrel.exe", "Deleting it again"},
      sameFolderAsAFile{"DeleteFile", "C:\\Kestrel\\", "Deleting a file of that name"},
      sameKeyOtherCase{"DeleteRegTree", "HKEY_LOCAL_MACHINE\\SOFTWARE\\NINEFOLD\\KESTREL\\3", "Clearing it again"},
      newFolder{"DeleteEmptyDirs", "D:\\Kestrel 3\\", ""};
  ASSERT_TRUE(commitEvents({newFile, sameFolderAsAFile, sameKeyOtherCase, newFolder}, "D:\\Kestrel 3\\ksuninstall.exe"));

  EXPECT_EQ(readMachineValue(keyPath(), "UninstallString"),
            registryText("\"D:\\Kestrel 3\\ksuninstall.exe\" " + productName));
  EXPECT_EQ(registeredEvents(),
            (std::vector<UninstallEvent>{newFile, sameFolderAsAFile, newFolder, earlierFile, earlierFolder, earlierKey}));
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

    std::vector<UninstallEvent> expected = {{"DeleteFile", "D:\\Kestrel 3\\new", "Deleting it"}};
    for (const std::string& file : c.kept)
      expected.push_back({"DeleteFile", file, "Deleting file " + file.substr(file.size() - 1)});
    EXPECT_EQ(registeredEvents(), expected);
  }
}

// What one uninstall frees, for Windows' list: the files the events delete,
// as they stand, in kilobytes rounded up; a folder or a missing file counts
// nothing.
TEST_F(UninstallRegistration, CommitGivesTheKilobytesOfTheFilesItWouldDelete) {
  ScratchDirectory scratch("estimated");
  writeFileBytes(scratch / "a.bin", std::string(1500, 'a'));
  writeFileBytes(scratch / "b.bin", std::string(2048, 'b'));
  UninstallerSetup* log = createUninstallerSetup(productName.c_str(), "", kUninstaller);
  ASSERT_NE(log, nullptr);
  for (const std::string& file : {scratch / "a.bin", scratch / "b.bin", scratch / "gone.bin", scratch.path()})
    ASSERT_TRUE(log->addEvent("DeleteFile", file.c_str(), ""));
  ASSERT_TRUE(log->addEvent("DeleteEmptyDirs", scratch.path().c_str(), ""));
  ASSERT_TRUE(log->commit());
  EXPECT_EQ(readMachineValue(keyPath(), "EstimatedSize"), registryDword(4));
}

// A reinstall that registers what is registered already changes no value:
// thousands of events are not written again.
TEST_F(UninstallRegistration, CommitOfWhatIsRegisteredWritesNothing) {
  ASSERT_TRUE(commitNumberedEvents(20));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath().c_str(), 0, KEY_NOTIFY | testedRegistryView(), &key),
            ERROR_SUCCESS);
  HANDLE changed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_EQ(RegNotifyChangeKeyValue(key, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE), ERROR_SUCCESS);
  ASSERT_TRUE(commitNumberedEvents(20));
  EXPECT_EQ(WaitForSingleObject(changed, 0), DWORD(WAIT_TIMEOUT)) << "a value was written again";
  ASSERT_TRUE(commitNumberedEvents(21));
  EXPECT_EQ(WaitForSingleObject(changed, 5000), DWORD(WAIT_OBJECT_0)) << "the new event is written";
  CloseHandle(changed);
  RegCloseKey(key);
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
