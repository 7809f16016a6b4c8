#include "registry_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "module_strings.h"
#include "recording_log.h"
#include "registry_view.h"
#include "scratch_journal.h"

namespace {

const char kMaker[] = "Software\\Ninefold";
const char kKey[] = "Software\\Ninefold\\Kestrel\\3";
const UninstallEvent kRemoveKey = {"DeleteRegTree", "HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3",
                                "Clearing registry entries"};

class RegistrySettings : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(deleteMachineTree(kMaker));
    ChangePlan plan;
    plan.keys.push_back(kKey);
    journal.begin(plan);
  }
  void TearDown() override {
    ScratchJournal::discard();
    deleteMachineTree(kMaker);
  }

  RecordingLog log;
  ScratchJournal journal;
  Failure failure;
  const std::string description = "Clearing registry entries";
};

TEST_F(RegistrySettings, WritesDirectoryWithBlanksAndDataVersionByteForByte) {
  const std::string programDir = "C:\\Program Files\\Kestrel 3\\";
  ASSERT_TRUE(writeRegistrySettings(programDir, description, log, failure));

  // The text with its terminating zero, unchanged; the number as 4 bytes.
  const std::optional<RegistryValue> directory = readMachineValue(kKey, "KSDir");
  ASSERT_TRUE(directory);
  EXPECT_EQ(directory->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(directory->data, std::string("C:\\Program Files\\Kestrel 3\\\0", 28));
  const std::optional<RegistryValue> version = readMachineValue(kKey, "DataVersion");
  ASSERT_TRUE(version);
  EXPECT_EQ(version->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(version->data, std::string("\xDC\x14\x92\x77", 4));  // 2006062300
  EXPECT_EQ(machineValueNames(kKey), (std::vector<std::string>{"DataVersion", "KSDir"}));
}

TEST_F(RegistrySettings, LogsTheRemovalOfTheWholeKeyOnce) {
  ASSERT_TRUE(writeRegistrySettings("D:\\Kestrel\\", description, log, failure));
  EXPECT_EQ(log.events, std::vector<UninstallEvent>{kRemoveKey});
}

TEST_F(RegistrySettings, OverwritesAnEarlierInstallationAndKeepsItsOtherValues) {
  ASSERT_TRUE(seedMachineValue(kKey, "KSDir", registryText("E:\\Old Kestrel\\")));
  ASSERT_TRUE(seedMachineValue(kKey, "DataVersion", registryDword(2005010100)));
  ASSERT_TRUE(seedMachineValue(kKey, "Callsign", registryText("KES123")));

  ASSERT_TRUE(writeRegistrySettings("C:\\Kestrel\\", description, log, failure));

  EXPECT_EQ(readMachineValue(kKey, "KSDir"), registryText("C:\\Kestrel\\"));
  EXPECT_EQ(readMachineValue(kKey, "DataVersion"), registryDword(2006062300));
  EXPECT_EQ(readMachineValue(kKey, "Callsign"), registryText("KES123"));
  EXPECT_EQ(machineValueNames(kKey), (std::vector<std::string>{"Callsign", "DataVersion", "KSDir"}));
}

// A run that fails later takes the settings back: a key it made goes with
// the parents it made, and an earlier installation's key holds its values.
TEST_F(RegistrySettings, TakenBackTheKeyIsAsItStood) {
  ASSERT_TRUE(writeRegistrySettings("C:\\Kestrel\\", description, log, failure));
  EXPECT_EQ(settleJournal().outcome, JournalSettlement::TakenBack);
  EXPECT_FALSE(machineKeyExists(kMaker));

  ASSERT_TRUE(seedMachineValue(kKey, "KSDir", registryText("E:\\Old Kestrel\\")));
  ASSERT_TRUE(seedMachineValue(kKey, "Callsign", registryText("KES123")));
  ChangePlan plan;
  plan.keys.push_back(kKey);
  journal.begin(plan);
  ASSERT_TRUE(writeRegistrySettings("C:\\Kestrel\\", description, log, failure));
  EXPECT_EQ(settleJournal().outcome, JournalSettlement::TakenBack);
  EXPECT_EQ(machineValueNames(kKey), (std::vector<std::string>{"Callsign", "KSDir"}));
  EXPECT_EQ(readMachineValue(kKey, "KSDir"), registryText("E:\\Old Kestrel\\"));
}

TEST_F(RegistrySettings, FailsWhenTheRemovalCannotBeLogged) {
  log.accepting = false;
  EXPECT_FALSE(writeRegistrySettings("C:\\Kestrel\\", description, log, failure));
  // The values were written before the event was refused, and stay.
  EXPECT_EQ(readMachineValue(kKey, "KSDir"), registryText("C:\\Kestrel\\"));
  EXPECT_EQ(log.events, std::vector<UninstallEvent>{kRemoveKey});
}

}  // namespace
