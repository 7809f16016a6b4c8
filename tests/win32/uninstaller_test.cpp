// The uninstaller's logic at the real boundary: registrations committed by the
// setup program's own uninstall log, real files and directories in a scratch
// directory, real keys of HKEY_LOCAL_MACHINE, and the real progress dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "registry_view.h"
#include "progress_dialog.h"
#include "registration_reader.h"
#include "scratch_directory.h"
#include "self_removal.h"
#include "uninstaller_setup_factory.h"
#include "uninstall_run.h"
#include "working_copy.h"
#include "uninstaller_ids.h"

namespace Escort {
bool operator==(const UninstallEvent& a, const UninstallEvent& b) {
  return std::tie(a.command, a.parameter, a.description) ==
         std::tie(b.command, b.parameter, b.description);
}
void PrintTo(const UninstallEvent& e, std::ostream* out) {
  *out << "{" << e.command << ", " << e.parameter << ", " << e.description << "}";
}
}  // namespace Escort

bool operator==(const Failure& a, const Failure& b) {
  return a.item == b.item && a.systemError == b.systemError;
}
void PrintTo(const Failure& f, std::ostream* out) { *out << f.item << " (" << f.systemError << ")"; }

namespace {

using Escort::UninstallEvent;

struct ProgressStep {
  size_t done, total;
  std::string description;
  bool operator==(const ProgressStep& o) const {
    return done == o.done && total == o.total && description == o.description;
  }
};
void PrintTo(const ProgressStep& s, std::ostream* out) {
  *out << s.done << "/" << s.total << " " << s.description;
}

class RecordingObserver : public UninstallObserver {
 public:
  void progress(size_t done, size_t total, const std::string& description) override {
    steps.push_back({done, total, description});
  }
  // Asked about a held file: lets go of it (and so the next try succeeds)
  // once, if there is a hold to let go of.
  bool fileInUse(const std::string& path) override {
    inUse.push_back(path);
    if (!release) return false;
    release();
    release = nullptr;
    return true;
  }
  void waitFor(const std::string& path, unsigned long ms) override {
    waitedFor.push_back(path);
    Sleep(ms);
  }
  std::vector<ProgressStep> steps;
  std::vector<std::string> waitedFor;
  std::vector<std::string> inUse;
  std::function<void()> release;
};

class Uninstaller : public ::testing::Test {
 protected:
  void TearDown() override {
    deleteMachineTree(registrationKey(productName));
    deleteMachineTree(settingsRoot);
  }

  // Commits the events as the setup program does at the end of an installation.
  void commit(const std::vector<UninstallEvent>& events) {
    Escort::UninstallerSetup* log =
        Escort::createUninstallerSetup(productName.c_str(), "", (programDir + "ksuninstall.exe").c_str());
    ASSERT_NE(log, nullptr);
    for (const UninstallEvent& e : events)
      log->addEvent(e.command.c_str(), e.parameter.c_str(), e.description.c_str());
    ASSERT_TRUE(log->commit());
  }

  Registration read() {
    Registration registration;
    std::string damaged;
    EXPECT_EQ(readRegistration(productName, registration, damaged), RegistrationStatus::Found) << damaged;
    return registration;
  }

  UninstallSummary uninstall() {
    RecordingObserver observer;
    return runUninstall(productName, read(), observer);
  }

  bool registered() const { return machineKeyExists(registrationKey(productName)); }

  // A file of the installation, with its directory.
  std::string installFile(const std::string& relative) {
    const std::string path = programDir + relative;
    for (size_t end = path.find('\\', 3); end != std::string::npos; end = path.find('\\', end + 1))
      CreateDirectoryA(path.substr(0, end).c_str(), nullptr);
    writeFileBytes(path, "installed " + relative);
    return path;
  }

  ScratchDirectory scratch{"uninstaller"};
  const std::string programDir = scratch / "Kestrel 3\\";
  const std::string productName =
      std::string("Kestrel 3 test ") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
  // Where the program's settings would be, under a name of this test's own.
  const std::string settingsRoot =
      "Software\\Ninefold test " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
  const std::string settingsKey = settingsRoot + "\\Kestrel\\3";
};

// --- Reading the registration ---------------------------------------------------

TEST_F(Uninstaller, ReadsTheCommittedEventsInTheirOrder) {
  const std::vector<UninstallEvent> events = {
      {"DeleteRegTree", "HKEY_LOCAL_MACHINE\\" + settingsKey, "Clearing registry entries"},
      {"DeleteFile", programDir + "readme.txt", "Deleting Kestrel program files"},
      {"DeleteEmptyDirs", programDir, ""},
  };
  commit(events);
  const Registration registration = read();
  EXPECT_EQ(registration.displayName, productName);
  EXPECT_EQ(registration.events, events);
}

TEST_F(Uninstaller, EventsLeftOverFromAnEarlierInstallationAreNotRead) {
  commit({{"DeleteFile", "C:\\Old\\a", "a"}, {"DeleteFile", "C:\\Old\\b", "b"}, {"DeleteFile", "C:\\Old\\c", "c"}});
  seedMachineValue(registrationKey(productName), "EscortEvents", registryDword(1));
  EXPECT_EQ(read().events, (std::vector<UninstallEvent>{{"DeleteFile", "C:\\Old\\a", "a"}}));
}

TEST_F(Uninstaller, NoNameAnUnknownNameOrOneWithABackslashHasNoRegistration) {
  commit({{"DeleteFile", "C:\\Kestrel\\a", "a"}});
  // A registration-shaped key below ours is still not a registration of its own.
  const std::string nested = productName + "\\Nested";
  Escort::UninstallerSetup* log = Escort::createUninstallerSetup(nested.c_str(), "", "C:\\x.exe");
  ASSERT_NE(log, nullptr);
  log->addEvent("DeleteFile", "C:\\Kestrel\\b", "b");
  ASSERT_TRUE(log->commit());

  for (const std::string& name : {std::string(), productName + " and more", nested}) {
    Registration registration;
    std::string damaged;
    EXPECT_EQ(readRegistration(name, registration, damaged), RegistrationStatus::Missing) << name;
  }
}

TEST_F(Uninstaller, DamagedValuesAreNamed) {
  const std::string key = registrationKey(productName);
  const std::string number(4, '\0');
  auto remove = [&](const char* name) { return [&key, name] { deleteMachineValue(key, name); }; };
  auto replace = [&](const char* name, DWORD type, std::string bytes) {
    return [&key, name, type, bytes] { seedMachineValue(key, name, {type, bytes}); };
  };
  struct Case {
    const char* what;
    std::function<void()> damage;
    const char* named;
  };
  const Case cases[] = {
      {"count missing", remove("EscortEvents"), "EscortEvents"},
      {"count as text", replace("EscortEvents", REG_SZ, std::string("3\0", 2)), "EscortEvents"},
      {"count too short", replace("EscortEvents", REG_BINARY, std::string(2, '\3')), "EscortEvents"},
      {"count beyond the events", replace("EscortEvents", REG_DWORD, std::string("\4\0\0\0", 4)),
       "EscortTag3"},
      {"name missing", remove("DisplayName"), "DisplayName"},
      {"name as number", replace("DisplayName", REG_DWORD, number), "DisplayName"},
      {"tag missing", remove("EscortTag1"), "EscortTag1"},
      {"tag as number", replace("EscortTag0", REG_DWORD, number), "EscortTag0"},
      {"parameter missing", remove("EscortParams2"), "EscortParams2"},
      {"parameter as expandable text", replace("EscortParams1", REG_EXPAND_SZ, std::string("%TEMP%\\a\0", 10)),
       "EscortParams1"},
      {"description with a zero inside", replace("EscortDesc2", REG_SZ, std::string("a\0b\0", 4)),
       "EscortDesc2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    commit({{"DeleteFile", "C:\\K\\a", "a"}, {"DeleteFile", "C:\\K\\b", "b"}, {"DeleteFile", "C:\\K\\c", "c"}});
    c.damage();
    Registration registration;
    std::string damaged;
    EXPECT_EQ(readRegistration(productName, registration, damaged), RegistrationStatus::Damaged);
    EXPECT_EQ(damaged, c.named);
    deleteMachineTree(key);
  }
}

// --- Carrying out the events ----------------------------------------------------

TEST_F(Uninstaller, EveryKindOfEventIsUndoneInOrderThenTheRegistration) {
  const std::string readme = installFile("readme.txt");
  const std::string guide = installFile("docs\\guide\\index.html");
  seedMachineValue(settingsKey, "KSDir", registryText(programDir));
  seedMachineValue(settingsKey + "\\Below", "Any", registryText("value"));
  seedMachineValue(settingsRoot + "\\Other\\Key", "Any", registryText("value"));  // Other holds a key
  commit({{"DeleteRegTree", "HKEY_LOCAL_MACHINE\\" + settingsKey, "Clearing registry entries"},
          {"DeleteFile", readme, "Deleting Kestrel program files"},
          {"DeleteFile", guide, "Deleting Kestrel program files"},
          {"DeleteEmptyDirs", programDir, "Deleting Kestrel program files"}});

  RecordingObserver observer;
  const UninstallSummary summary = runUninstall(productName, read(), observer);

  EXPECT_TRUE(summary.complete());
  EXPECT_TRUE(summary.refused.empty());
  EXPECT_TRUE(summary.kept.empty());
  EXPECT_FALSE(directoryExists(programDir));
  EXPECT_TRUE(directoryExists(scratch.path()));
  EXPECT_FALSE(machineKeyExists(settingsKey));
  EXPECT_FALSE(machineKeyExists(settingsRoot + "\\Kestrel"));  // left empty by the event
  EXPECT_TRUE(machineKeyExists(settingsRoot + "\\Other\\Key"));
  EXPECT_FALSE(registered());
  EXPECT_EQ(observer.steps, (std::vector<ProgressStep>{{0, 4, "Clearing registry entries"},
                                                       {1, 4, "Deleting Kestrel program files"},
                                                       {2, 4, "Deleting Kestrel program files"},
                                                       {3, 4, "Deleting Kestrel program files"},
                                                       {4, 4, ""}}));
}

TEST_F(Uninstaller, EmptyParentKeysGoUpToButNotIncludingSoftware) {
  seedMachineValue(settingsKey, "KSDir", registryText(programDir));
  commit({{"DeleteRegTree", "HKEY_LOCAL_MACHINE\\" + settingsKey, "Clearing registry entries"}});
  EXPECT_TRUE(uninstall().complete());
  EXPECT_FALSE(machineKeyExists(settingsRoot));
  EXPECT_TRUE(machineKeyExists("Software"));
}

TEST_F(Uninstaller, ParentKeyWithAValueStays) {
  seedMachineValue(settingsKey, "KSDir", registryText(programDir));
  seedMachineValue(settingsRoot, "Shared", registryText("another product's"));
  commit({{"DeleteRegTree", "HKEY_LOCAL_MACHINE\\" + settingsKey, "Clearing registry entries"}});
  EXPECT_TRUE(uninstall().complete());
  EXPECT_FALSE(machineKeyExists(settingsRoot + "\\Kestrel"));
  EXPECT_TRUE(readMachineValue(settingsRoot, "Shared").has_value());
}

TEST_F(Uninstaller, WhatIsGoneAlreadyDoesNotStopTheRun) {
  const std::string kept = installFile("kestrel.exe");
  commit({{"DeleteFile", programDir + "deleted by the user.txt", "a"},
          {"DeleteFile", scratch / "no such directory\\file.txt", "b"},
          {"DeleteEmptyDirs", scratch / "no such directory\\", "c"},
          {"DeleteRegTree", "HKEY_LOCAL_MACHINE\\" + settingsKey, "d"},
          {"DeleteFile", kept, "e"},
          {"DeleteEmptyDirs", programDir, "f"}});
  const UninstallSummary summary = uninstall();
  EXPECT_TRUE(summary.complete());
  EXPECT_FALSE(directoryExists(programDir));
  EXPECT_FALSE(registered());
}

TEST_F(Uninstaller, AUsersFileKeepsItsDirectoryAndItsParents) {
  const std::string guide = installFile("docs\\guide.txt");
  const std::string data = installFile("data\\airports.txt");
  const std::string notes = programDir + "docs\\my notes.txt";
  writeFileBytes(notes, "the user's own");
  commit({{"DeleteFile", guide, "a"}, {"DeleteFile", data, "a"}, {"DeleteEmptyDirs", programDir, "a"}});

  const UninstallSummary summary = uninstall();
  EXPECT_TRUE(summary.complete());
  EXPECT_EQ(summary.kept, std::vector<std::string>{programDir + "docs"});
  EXPECT_EQ(readFileBytes(notes), "the user's own");
  EXPECT_EQ(directoryListing(programDir), std::vector<std::string>{"docs"});
  EXPECT_EQ(directoryListing(programDir + "docs"), std::vector<std::string>{"my notes.txt"});
  EXPECT_FALSE(registered()) << "a kept directory is no failure";
}

// A program directory that holds other programs' folders, empty or not (a
// shared folder chosen as the program directory): only the folders that this
// uninstallation emptied go, deepest first; the others stay untouched, and
// the report names only the program directory that still holds them.
TEST_F(Uninstaller, OnlyTheFoldersThatTheRunEmptiedGo) {
  const std::string guide = installFile("docs\\guide\\index.html");
  const std::string readme = installFile("readme.txt");
  for (const char* others : {"Empty Vendor\\x", "Other Suite\\cache\\x", "Other Tool\\tool.exe"})
    installFile(others);
  DeleteFileA((programDir + "Empty Vendor\\x").c_str());
  DeleteFileA((programDir + "Other Suite\\cache\\x").c_str());
  commit({{"DeleteFile", guide, "a"}, {"DeleteFile", readme, "a"}, {"DeleteEmptyDirs", programDir, "a"}});

  const UninstallSummary summary = uninstall();
  EXPECT_TRUE(summary.complete());
  EXPECT_EQ(summary.kept, std::vector<std::string>{programDir.substr(0, programDir.size() - 1)});
  EXPECT_EQ(directoryListing(programDir), (std::vector<std::string>{"Empty Vendor", "Other Suite", "Other Tool"}));
  EXPECT_TRUE(directoryExists(programDir + "Other Suite\\cache"));
  EXPECT_TRUE(fileExists(programDir + "Other Tool\\tool.exe"));
}

TEST_F(Uninstaller, AFileInUseFailsTheRestGoesOnAndALaterRunFinishes) {
  const std::string busy = installFile("kestrel.exe");
  const std::string readme = installFile("readme.txt");
  seedMachineValue(settingsKey, "KSDir", registryText(programDir));
  commit({{"DeleteFile", busy, "a"},
          {"DeleteFile", readme, "a"},
          {"DeleteEmptyDirs", programDir, "a"},
          {"DeleteRegTree", "HKEY_LOCAL_MACHINE\\" + settingsKey, "b"}});
  // Open without FILE_SHARE_DELETE, as a running program holds its file.
  HANDLE inUse = CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(inUse, INVALID_HANDLE_VALUE);

  RecordingObserver cancelled;
  const UninstallSummary first = runUninstall(productName, read(), cancelled);
  CloseHandle(inUse);
  EXPECT_EQ(cancelled.inUse, std::vector<std::string>{busy}) << "the user was asked";
  EXPECT_EQ(first.failed, (std::vector<Failure>{{busy, ERROR_SHARING_VIOLATION}}));
  EXPECT_EQ(first.kept, std::vector<std::string>{programDir.substr(0, programDir.size() - 1)});
  EXPECT_FALSE(fileExists(readme));
  EXPECT_FALSE(machineKeyExists(settingsKey));
  EXPECT_TRUE(registered());

  const UninstallSummary second = uninstall();
  EXPECT_TRUE(second.complete());
  EXPECT_FALSE(directoryExists(programDir));
  EXPECT_FALSE(registered());
}

// The user closes the program that holds the file and says Retry.
TEST_F(Uninstaller, AFileInUseIsTriedAgainWhenTheUserSaysSo) {
  const std::string busy = installFile("kestrel.exe");
  commit({{"DeleteFile", busy, "a"}, {"DeleteEmptyDirs", programDir, "a"}});
  HANDLE inUse = CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
  RecordingObserver retried;
  retried.release = [inUse] { CloseHandle(inUse); };

  EXPECT_TRUE(runUninstall(productName, read(), retried).complete());
  EXPECT_EQ(retried.inUse, std::vector<std::string>{busy});
  EXPECT_FALSE(directoryExists(programDir));
  EXPECT_FALSE(registered());
}

TEST_F(Uninstaller, EventsOutsideTheAllowedPlacesAreSkippedReportedAndTheRestUndone) {
  const std::string readme = installFile("readme.txt");
  const std::string outside = scratch / "outside.txt";
  writeFileBytes(outside, "not ours");
  HKEY userKey;
  const std::string userSubkey = "Software\\Kestrel uninstaller test " + productName;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, userSubkey.c_str(), &userKey), ERROR_SUCCESS);
  RegCloseKey(userKey);
  seedMachineValue("Software\\Ninefold test refused\\Kept", "Any", registryText("value"));

  const std::vector<UninstallEvent> refused = {
      {"DeleteFile", "\\\\?\\" + outside, "long-path form"},
      {"DeleteFile", programDir + "..\\outside.txt", "a parent level"},
      {"DeleteFile", "outside.txt", "relative"},
      {"DeleteFile", "\\\\localhost\\C$\\outside.txt", "UNC"},
      {"DeleteEmptyDirs", scratch.path().substr(0, 3), "a drive root"},
      {"DeleteRegTree", "HKEY_CURRENT_USER\\" + userSubkey, "another root"},
      {"DeleteRegTree", "HKEY_LOCAL_MACHINE\\Software", "Software itself"},
      {"DeleteRegTree", "HKEY_LOCAL_MACHINE", "a root"},
      {"RunProgram", outside, "an unknown command"},
  };
  std::vector<UninstallEvent> events = refused;
  events.insert(events.begin() + 2, {"DeleteFile", readme, "ours"});
  events.push_back({"DeleteEmptyDirs", programDir, "ours"});
  commit(events);

  const UninstallSummary summary = uninstall();
  std::vector<std::string> expected;
  for (const UninstallEvent& e : refused) expected.push_back(e.command + " " + e.parameter);
  EXPECT_EQ(summary.refused, expected);
  EXPECT_TRUE(summary.complete());
  EXPECT_EQ(readFileBytes(outside), "not ours");
  EXPECT_TRUE(directoryExists(scratch.path()));
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, userSubkey.c_str(), &userKey), ERROR_SUCCESS);
  RegCloseKey(userKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, userSubkey.c_str());
  EXPECT_TRUE(readMachineValue("Software\\Ninefold test refused\\Kept", "Any").has_value());
  deleteMachineTree("Software\\Ninefold test refused");
  EXPECT_FALSE(directoryExists(programDir));
  EXPECT_FALSE(registered()) << "refused events count as handled: a later run would refuse them again";
}

TEST_F(Uninstaller, ARegistrationWithoutEventsIsRemoved) {
  commit({{"DeleteFile", "C:\\K\\a", "a"}});
  seedMachineValue(registrationKey(productName), "EscortEvents", registryDword(0));
  RecordingObserver observer;
  EXPECT_TRUE(runUninstall(productName, read(), observer).complete());
  EXPECT_FALSE(registered());
  EXPECT_EQ(observer.steps, (std::vector<ProgressStep>{{0, 0, ""}}));
}

// --- The progress dialog, from the program's own resources ----------------------

// After an uninstall that left something behind, the uninstaller goes back
// where the registration names it, with every folder the uninstall removed
// above it (those the setup program made for the program directory), and
// never over a file that is there.
TEST(UninstallerRestored, WithEveryFolderAboveItThatWentAndNeverOverAFile) {
  ScratchDirectory scratch("restored");
  const std::string uninstaller = scratch / "Games\\Kestrel\\Kestrel 3\\ksuninstall.exe";
  restoreUninstaller(uninstaller);
  EXPECT_TRUE(readFileBytes(uninstaller) == readFileBytes(ownProgramPath()));

  writeFileBytes(uninstaller, "someone else's");
  restoreUninstaller(uninstaller);
  EXPECT_EQ(readFileBytes(uninstaller), "someone else's");
}

TEST(UninstallProgressDialog, ShowsTheCaptionTheDescriptionAndHowFarTheRunIs) {
  ProgressDialog dialog(GetModuleHandleA(nullptr), "Uninstalling Kestrel 3");
  const HWND window = dialog.window();
  ASSERT_NE(window, nullptr);
  char text[256];
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "Uninstalling Kestrel 3");
  EXPECT_TRUE(IsWindowVisible(window));
  const HWND bar = GetDlgItem(window, IDC_UNINSTALL_PROGRESS);
  ASSERT_NE(bar, nullptr);
  GetClassNameA(bar, text, sizeof text);
  EXPECT_STREQ(text, PROGRESS_CLASSA);

  dialog.progress(2, 5, "Deleting Marlin model set");
  GetDlgItemTextA(window, IDC_UNINSTALL_DESCRIPTION, text, sizeof text);
  EXPECT_STREQ(text, "Deleting Marlin model set");
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 2);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 5);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 0);

  dialog.progress(5, 5, "");
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 5);
  GetDlgItemTextA(window, IDC_UNINSTALL_DESCRIPTION, text, sizeof text);
  EXPECT_STREQ(text, "");
}

}  // namespace
