// The real ksuninstall.exe, started as Windows' list of installed software and
// the Start menu's shortcut start it, and driven as a user would: its windows
// found by caption, its buttons pressed by control id, then files, registry
// and the pending operations of the next restart read back.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "program_runs.h"
#include "registry_view.h"
#include "scratch_directory.h"
#include "text_format.h"
#include "uninstaller_setup_factory.h"
#include "uninstaller_steps.h"
#include "windows_says.h"

namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingOperations[] = "PendingFileRenameOperations";

// Where working copies go: the Windows folder's Temp, with a backslash.
std::string workingCopiesFolder() {
  char windows[MAX_PATH] = "";
  GetSystemWindowsDirectoryA(windows, MAX_PATH);
  return std::string(windows) + "\\Temp\\";
}

// While it lives, a file stands where the Windows folder's Temp was (which
// is put aside meanwhile), so that no folder can be made in it.
class NoWorkingCopiesFolder {
 public:
  NoWorkingCopiesFolder() {
    EXPECT_TRUE(MoveFileA(folder.c_str(), aside.c_str())) << GetLastError();
    writeFileBytes(folder, "not a folder");
  }
  ~NoWorkingCopiesFolder() {
    EXPECT_TRUE(DeleteFileA(folder.c_str()));
    EXPECT_TRUE(MoveFileA(aside.c_str(), folder.c_str())) << GetLastError();
  }
  NoWorkingCopiesFolder(const NoWorkingCopiesFolder&) = delete;
  NoWorkingCopiesFolder& operator=(const NoWorkingCopiesFolder&) = delete;

 private:
  const std::string folder = workingCopiesFolder().substr(0, workingCopiesFolder().size() - 1);
  const std::string aside = folder + " aside";
};

// While it lives, the programs started get TMP and TEMP naming `directory`.
class TemporaryFolderFor {
 public:
  explicit TemporaryFolderFor(const std::wstring& directory) {
    for (const wchar_t* name : {L"TMP", L"TEMP"}) {
      wchar_t value[MAX_PATH] = L"";
      GetEnvironmentVariableW(name, value, MAX_PATH);
      saved.push_back(value);
      SetEnvironmentVariableW(name, directory.c_str());
    }
  }
  ~TemporaryFolderFor() {
    SetEnvironmentVariableW(L"TMP", saved[0].c_str());
    SetEnvironmentVariableW(L"TEMP", saved[1].c_str());
  }
  TemporaryFolderFor(const TemporaryFolderFor&) = delete;
  TemporaryFolderFor& operator=(const TemporaryFolderFor&) = delete;

 private:
  std::vector<std::wstring> saved;
};

// The strings of a REG_MULTI_SZ value, empty ones included; none when it is missing.
std::vector<std::string> multiString(const char* subkey, const char* name) {
  std::vector<std::string> strings;
  const std::optional<RegistryValue> value = readMachineValue(subkey, name);
  if (!value) return strings;
  const std::string& data = value->data;
  // Each string ends with a zero; the list ends with one more.
  for (size_t start = 0; start < data.size();) {
    const size_t end = data.find('\0', start);
    if (end == std::string::npos || (end == start && end + 1 == data.size())) break;
    strings.push_back(data.substr(start, end - start));
    start = end + 1;
  }
  return strings;
}

// --- An installation to remove -------------------------------------------------------

class UninstallerProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    pendingBefore = multiString(kSessionManager, kPendingOperations);
    CreateDirectoryA(programDir.c_str(), nullptr);
    CreateDirectoryA((programDir + "docs").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(hostPath(UNINSTALLER_EXE).c_str(), uninstaller.c_str(), FALSE));
    writeFileBytes(readme, "readme");
    writeFileBytes(guide, "guide");
    seedMachineValue(settingsKey, "KSDir", registryText(programDir));

    Escort::UninstallerSetup* log =
        Escort::createUninstallerSetup(productName.c_str(), "", uninstaller.c_str());
    ASSERT_NE(log, nullptr);
    log->addEvent("DeleteRegTree", ("HKEY_LOCAL_MACHINE\\" + settingsKey).c_str(), "Clearing registry entries");
    for (const std::string& file : {readme, guide, uninstaller})
      log->addEvent("DeleteFile", file.c_str(), "Deleting Kestrel program files");
    addMoreEvents(*log);
    log->addEvent("DeleteEmptyDirs", programDir.c_str(), "Deleting Kestrel program files");
    ASSERT_TRUE(log->commit());
  }

  void TearDown() override {
    EXPECT_EQ(runs.reportAndEndRunning(std::cout), 0) << "programs left running";
    for (const std::string& unchecked : runs.uncheckedExits()) ADD_FAILURE() << "exit code never checked: " << unchecked;
    // The copies left for the next restart, which never comes to this prefix.
    const std::vector<std::string> pending = newPendingOperations();
    for (const std::string& entry : pending) {
      if (entry.rfind("\\??\\", 0) != 0) continue;
      const std::string path = entry.substr(4);
      if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
    }
    deleteMachineTree(registrationKey);
    deleteMachineTree(settingsRoot);
  }

  virtual void addMoreEvents(Escort::UninstallerSetup&) {}

  std::string uninstallString() const {
    HKEY key;
    char value[1024] = "";
    DWORD size = sizeof value;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, registrationKey.c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
      RegQueryValueExA(key, "UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
      RegCloseKey(key);
    }
    return value;
  }

  std::vector<std::string> newPendingOperations() const {
    std::vector<std::string> now = multiString(kSessionManager, kPendingOperations);
    if (now.size() >= pendingBefore.size() && std::equal(pendingBefore.begin(), pendingBefore.end(), now.begin()))
      now.erase(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(pendingBefore.size()));
    return now;
  }

  // Answers Yes to the question of the program started with `commandLine`,
  // and gives the final report of its copy once the copy has ended with
  // `exitCode`. With `inUse`, the copy first asks about that file held by
  // another program, and is answered with Cancel.
  std::string uninstallWithYes(const std::string& commandLine, int exitCode = kUninstallDone,
                               const std::string& inUse = "") {
    Uninstall uninstall = startUninstall(runs, commandLine, "", productName);
    if (!inUse.empty())
      uninstall.copy.answerMessageBox(
          kUninstallerCaption,
          "This file is in use by another program:\n" + inUse + "\n\nClose the program, then choose Retry.", IDCANCEL);
    return closeReport(uninstall, exitCode);
  }

  // Starts `commandLine`, reads the error it shows, closes it and checks
  // that the program ends with `exitCode`.
  std::string refusal(const std::string& commandLine, int exitCode) {
    UiDriver& started = runs.startCommandLine(commandLine);
    const std::string message = UiDriver::messageText(started.waitForDialog(kUninstallerErrorCaption));
    started.answerDialog(kUninstallerErrorCaption, IDOK);
    started.expectExit(exitCode, "after the error");
    return message;
  }

  void expectInstalled() const {
    EXPECT_TRUE(fileExists(uninstaller));
    EXPECT_EQ(readFileBytes(readme), "readme");
    EXPECT_EQ(readFileBytes(guide), "guide");
    EXPECT_TRUE(readMachineValue(settingsKey, "KSDir").has_value());
    EXPECT_TRUE(machineKeyExists(registrationKey));
  }

  void expectRemoved() const {
    EXPECT_FALSE(directoryExists(programDir));
    EXPECT_FALSE(machineKeyExists(settingsRoot));
    EXPECT_FALSE(machineKeyExists(registrationKey));
  }

  ScratchDirectory scratch{"uninstaller-program"};
  ProgramRuns runs{scratch / "screenshots"};
  std::vector<std::string> pendingBefore;
  const std::string testName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string productName = "Kestrel 3 program test " + testName;
  const std::string registrationKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + productName;
  const std::string settingsRoot = "Software\\Ninefold program test " + testName;
  const std::string settingsKey = settingsRoot + "\\Kestrel\\3";
  const std::string programDir = scratch / "Program Files\\";
  const std::string uninstaller = programDir + "ksuninstall.exe";
  const std::string readme = programDir + "readme.txt";
  const std::string guide = programDir + "docs\\guide.txt";
};

TEST_F(UninstallerProgram, YesFromTheUninstallString_RemovesEverythingThroughACopyInTheWindowsFolder) {
  const std::string command = uninstallString();
  ASSERT_EQ(command, '"' + uninstaller + "\" " + productName);

  EXPECT_EQ(uninstallWithYes(command), uninstalledReport(productName));
  expectRemoved();

  // The copy that did the work ran in the Windows folder's Temp (not the
  // user's, which the user's unelevated programs may change) and was marked,
  // before it started, for deletion at the next restart: first its file, then
  // its folder. The uninstaller that was started waited for it there, running
  // from its own file, which the copy therefore moved into its folder and
  // marked too; the copy itself went when it had ended.
  const std::vector<std::string> pending = newPendingOperations();
  ASSERT_EQ(pending.size(), 8u);
  const std::string copyDir = pending[2].substr(4);
  EXPECT_EQ(pending[0], pending[2] + "\\ksuninstall.exe");
  // The copy names its folder as Windows gives its own path, in whatever case.
  EXPECT_EQ(asciiLowerCase(pending[4]).rfind(asciiLowerCase(pending[2] + "\\~kp"), 0), 0u) << pending[4];
  EXPECT_EQ(asciiLowerCase(pending[6]), asciiLowerCase(pending[2]));
  for (size_t n = 1; n < pending.size(); n += 2) EXPECT_EQ(pending[n], "") << n;
  EXPECT_FALSE(fileExists(copyDir + "\\ksuninstall.exe"));
  EXPECT_EQ(readFileBytes(pending[4].substr(4)), readFileBytes(hostPath(UNINSTALLER_EXE)));
  // As Windows names it, in whatever case.
  EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, copyDir.c_str(), static_cast<int>(workingCopiesFolder().size()),
                           workingCopiesFolder().c_str(), -1),
            CSTR_EQUAL)
      << copyDir;
  // Named at random (128 bits), so that nothing can be put in its place
  // beforehand. (Its access rules, SYSTEM and the Administrators only, cannot
  // be read back here: Wine keeps no access rules for files.)
  const std::string copyName = copyDir.substr(workingCopiesFolder().size());
  EXPECT_EQ(copyName.size(), 4u + 32u) << copyName;
  EXPECT_EQ(copyName.rfind("ksu-", 0), 0u) << copyName;
  EXPECT_EQ(copyName.find_first_not_of("0123456789abcdef", 4), std::string::npos) << copyName;

  // Wine's stand-in for a restart carries out the pending operations.
  restartWindows();
  EXPECT_FALSE(directoryExists(copyDir));
}

// A user whose name the ANSI code page cannot write (田中 where it is 1252):
// the ANSI functions give the temporary folder as "C:\users\??\Temp", which
// is no path. The working copy never goes there.
TEST_F(UninstallerProgram, TemporaryFolderNotInTheCodePage_IsNotNeeded) {
  const std::wstring user = L"C:\\users\\\x7530\x4e2d";
  CreateDirectoryW(user.c_str(), nullptr);
  CreateDirectoryW((user + L"\\Temp").c_str(), nullptr);
  {
    TemporaryFolderFor temp(user + L"\\Temp");
    EXPECT_EQ(uninstallWithYes(uninstallString()), uninstalledReport(productName));
  }
  expectRemoved();
  RemoveDirectoryW((user + L"\\Temp").c_str());
  RemoveDirectoryW(user.c_str());
}

TEST_F(UninstallerProgram, UnquotedUninstallStringWithBlanks_NamesTheRegistration) {
  // The program directory holds a blank ("Program Files"); without quotes the
  // program knows where its path ends from its own module path.
  EXPECT_EQ(uninstallWithYes(uninstaller + " " + productName),
            uninstalledReport(productName));
  expectRemoved();
}

TEST_F(UninstallerProgram, ShortcutTargetAndArguments_NameTheRegistration) {
  // As Explorer starts the uninstall shortcut: its target, with its arguments.
  SHELLEXECUTEINFOA execute = {};
  execute.cbSize = sizeof execute;
  execute.lpFile = uninstaller.c_str();
  execute.lpParameters = productName.c_str();
  execute.nShow = SW_SHOWNORMAL;
  ASSERT_TRUE(ShellExecuteExA(&execute));
  UiDriver& started = runs.attachToWindow(kUninstallerCaption);
  started.answerMessageBox(kUninstallerCaption, uninstallQuestion(productName), IDYES);
  started.waitFor("the question to close", [&] { return started.visibleWindowCount() == 0; });
  Uninstall uninstall{started, runs.attachToWindow(kUninstallReportCaption)};
  EXPECT_EQ(closeReport(uninstall), uninstalledReport(productName));
  expectRemoved();
}

TEST_F(UninstallerProgram, No_ChangesNothing) {
  const std::vector<std::string> copies = directoryListing(workingCopiesFolder());
  declineUninstall(runs, uninstallString(), productName);
  expectInstalled();
  EXPECT_EQ(directoryListing(workingCopiesFolder()), copies) << "no working copy";
  EXPECT_TRUE(newPendingOperations().empty());
}

TEST_F(UninstallerProgram, NoNameOrNoRegistration_SaysSoAndChangesNothing) {
  struct Case {
    std::string arguments;
    std::string message;
  };
  const Case cases[] = {
      {"", "The uninstaller was not told what to remove.\n\nStart it from the list of installed programs "
           "in the Control Panel, or with the Start menu's \"Uninstall Kestrel\" shortcut. Nothing has "
           "been removed."},
      {"  ", "The uninstaller was not told what to remove.\n\nStart it from the list of installed programs "
             "in the Control Panel, or with the Start menu's \"Uninstall Kestrel\" shortcut. Nothing has "
             "been removed."},
      {"Kestrel 2", "There is nothing to uninstall: Kestrel 2 is not installed on this computer.\n\n"
                    "Nothing has been removed."},
  };
  const std::vector<std::string> copies = directoryListing(workingCopiesFolder());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    EXPECT_EQ(refusal('"' + uninstaller + "\" " + c.arguments, kUninstallRefused), c.message);
    expectInstalled();
  }
  EXPECT_EQ(directoryListing(workingCopiesFolder()), copies);
}

TEST_F(UninstallerProgram, SecondRunAfterACompleteUninstall_SaysThereIsNothingToUninstall) {
  ASSERT_EQ(uninstallWithYes(uninstallString()), uninstalledReport(productName));
  const std::string copy = scratch / "ksuninstall.exe";  // the first one has gone
  ASSERT_TRUE(CopyFileA(hostPath(UNINSTALLER_EXE).c_str(), copy.c_str(), FALSE));
  EXPECT_EQ(refusal('"' + copy + "\" " + productName, kUninstallRefused),
            "There is nothing to uninstall: " + productName + " is not installed on this computer.\n\n"
            "Nothing has been removed.");
  EXPECT_TRUE(fileExists(copy));
  expectRemoved();
}

TEST_F(UninstallerProgram, DamagedRegistration_SaysWhichValueAndRemovesNothing) {
  deleteMachineValue(registrationKey, "EscortParams2");
  EXPECT_EQ(refusal(uninstallString(), kUninstallRefused),
            "The uninstall information of " + productName +
                " is damaged: the value \"EscortParams2\" is missing or not valid.\n\nNothing has been removed.");
  EXPECT_TRUE(fileExists(uninstaller));
  EXPECT_EQ(readFileBytes(readme), "readme");
  EXPECT_TRUE(readMachineValue(settingsKey, "KSDir").has_value());
}

TEST_F(UninstallerProgram, NoRoomForTheWorkingCopy_SaysSoAfterTheQuestionAndRemovesNothing) {
  std::string message;
  {
    NoWorkingCopiesFolder noFolder;
    UiDriver& original = runs.startCommandLine(uninstallString());
    original.answerMessageBox(kUninstallerCaption, uninstallQuestion(productName), IDYES);
    // The error code is the system's own.
    message = UiDriver::messageText(original.waitForDialog(kUninstallerErrorCaption));
    original.answerDialog(kUninstallerErrorCaption, IDOK);
    original.expectExit(kUninstallNoWorkingCopy, "without a working copy");
  }
  const std::string before = "The uninstaller could not prepare its working copy in the Windows folder "
                             "(Windows error ";
  ASSERT_GT(message.size(), before.size()) << message;
  EXPECT_EQ(message.substr(0, before.size()), before);
  const DWORD code = std::strtoul(message.c_str() + before.size(), nullptr, 10);
  EXPECT_NE(code, 0u) << message;
  EXPECT_EQ(message, before + std::to_string(code) + ").\n\nNothing has been removed.\n\n" + windowsSays(code))
      << "what Windows says of it, below";
  expectInstalled();
}

// A limited account, or an administrator's unelevated token: refused before
// the question, the original and the working copy alike.
TEST_F(UninstallerProgram, WithoutAdministratorRights_RefusesAtOnceAndRemovesNothing) {
  const std::vector<std::string> copies = directoryListing(workingCopiesFolder());
  for (const std::string& commandLine :
       {uninstallString(), '"' + uninstaller + "\" \\working-copy " + productName}) {
    SCOPED_TRACE(commandLine);
    UiDriver& started = runs.startCommandLine(commandLine, "", Handles::Own, Rights::NoAdministrator);
    started.answerMessageBox(kUninstallerErrorCaption,
                             "Only an administrator of this computer can remove Kestrel.\n\n"
                             "Log on as an administrator, or start the uninstaller as one, then try again. "
                             "Nothing has been removed.",
                             IDOK);
    started.expectExit(kUninstallNotAdministrator, "without administrator rights");
    expectInstalled();
  }
  EXPECT_EQ(directoryListing(workingCopiesFolder()), copies) << "no working copy";
  EXPECT_TRUE(newPendingOperations().empty());
}

TEST_F(UninstallerProgram, TheCopyWaitsUntilTheRunIsHandedOver) {
  // The copy, started as the original starts it, while this test holds the
  // run that the original hands over when it has started the copy.
  const std::string copyDir = scratch / "copy";
  CreateDirectoryA(copyDir.c_str(), nullptr);
  const std::string copyPath = copyDir + "\\ksuninstall.exe";
  ASSERT_TRUE(CopyFileA(hostPath(UNINSTALLER_EXE).c_str(), copyPath.c_str(), FALSE));
  const HANDLE run = CreateMutexA(nullptr, TRUE, "Global\\Ninefold Kestrel 3 installation");
  ASSERT_NE(run, nullptr);
  UiDriver& copy = runs.startCommandLine('"' + copyPath + "\" \\working-copy " + productName, copyDir);
  // Until then it has done nothing: no window, the installation whole.
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 1500; Sleep(50)) {
    ASSERT_TRUE(copy.process().running()) << "the copy ended before the run was handed over";
    ASSERT_EQ(copy.visibleWindowCount(), 0) << "the copy showed a window before the run was handed over";
    expectInstalled();
  }
  ReleaseMutex(run);
  CloseHandle(run);
  const std::string report = UiDriver::messageText(copy.waitForDialog(kUninstallReportCaption));
  copy.answerDialog(kUninstallReportCaption, IDOK);
  copy.expectExit(kUninstallDone, "of the copy");
  EXPECT_EQ(report, uninstalledReport(productName));
  expectRemoved();
}

// A registration with an event that no installation of ours writes.
class UninstallerProgramWithForeignEvent : public UninstallerProgram {
 protected:
  void addMoreEvents(Escort::UninstallerSetup& log) override {
    log.addEvent("DeleteFile", foreign.c_str(), "Deleting Kestrel program files");
  }
  const std::string foreign = "\\\\?\\" + scratch / "not ours.txt";
};

TEST_F(UninstallerProgramWithForeignEvent, FileInUse_IsReportedWithTheSkippedEventAndALaterRunFinishes) {
  writeFileBytes(scratch / "not ours.txt", "not ours");
  HANDLE inUse = CreateFileA(readme.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
  EXPECT_EQ(uninstallWithYes(uninstallString(), kUninstallIncomplete, readme),
            "These items could not be removed:\n" + readme + " (Windows error 32)\n" +
                windowsSays(ERROR_SHARING_VIOLATION) + "\n\n"
            "The uninstall information of " + productName + " has been kept. Close any program that may "
            "be using them, then run the uninstaller again to finish.\n\n"
            "These entries were skipped, because no installation of " + productName +
                " would ask for them:\nDeleteFile " + foreign + "\n\n"
            "These folders were kept, because they still hold files:\n" +
                programDir.substr(0, programDir.size() - 1));
  CloseHandle(inUse);
  EXPECT_EQ(readFileBytes(scratch / "not ours.txt"), "not ours");
  EXPECT_FALSE(fileExists(guide));
  EXPECT_FALSE(machineKeyExists(settingsKey));
  EXPECT_TRUE(machineKeyExists(registrationKey));
  // Put back where the registration names it, so that the user can finish.
  EXPECT_EQ(readFileBytes(uninstaller), readFileBytes(hostPath(UNINSTALLER_EXE)));

  EXPECT_EQ(uninstallWithYes(uninstallString()),
            productName + " has been removed from this computer.\n\n"
            "These entries were skipped, because no installation of " + productName +
                " would ask for them:\nDeleteFile " + foreign);
  expectRemoved();
}

}  // namespace
