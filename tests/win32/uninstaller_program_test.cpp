// The real ksuninstall.exe, started as Windows' list of installed software and
// the Start menu's shortcut start it, and driven as a user would: its windows
// found by caption, its buttons pressed by control id, then files, registry
// and the pending operations of the next restart read back.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "registry_view.h"
#include "scratch_directory.h"
#include "uninstall_log.h"
#include "uninstaller_exit_codes.h"

namespace {

const char kQuestionCaption[] = "Kestrel Uninstaller";
const char kErrorCaption[] = "Kestrel Uninstaller Error";
const char kReportCaption[] = "Kestrel Uninstaller Finished";
const int kMessageBoxText = 0xFFFF;  // the static control that holds a message box's text
constexpr DWORD kTimeoutMs = 30000;

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingOperations[] = "PendingFileRenameOperations";

// --- Driving windows ---------------------------------------------------------------

struct WindowSearch {
  const char* caption;
  DWORD process;  // 0: any
  HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  char caption[256];
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (IsWindowVisible(window) && GetWindowTextA(window, caption, sizeof caption) &&
      std::string(caption) == search->caption && (!search->process || process == search->process)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND findWindow(const char* caption, DWORD process = 0) {
  WindowSearch search = {caption, process, nullptr};
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND waitForWindow(const char* caption, DWORD process = 0) {
  for (DWORD waited = 0; waited < kTimeoutMs; waited += 50) {
    if (HWND window = findWindow(caption, process)) return window;
    Sleep(50);
  }
  ADD_FAILURE() << "no window captioned \"" << caption << "\"";
  return nullptr;
}

std::string text(HWND window, int control) {
  char buffer[4096] = "";
  GetDlgItemTextA(window, control, buffer, sizeof buffer);
  return buffer;
}

DWORD processOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

void press(HWND box, int button) {
  ASSERT_NE(GetDlgItem(box, button), nullptr) << "no button " << button;
  PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
}

// Waits for the process and gives its exit code.
DWORD waitForExit(HANDLE process) {
  EXPECT_EQ(WaitForSingleObject(process, kTimeoutMs), WAIT_OBJECT_0) << "the process did not end";
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return code;
}

// Reads the message box captioned `caption` of `process` (any when 0) and
// presses `button`. `shownBy` receives a handle to the process that showed it.
std::string answer(const char* caption, int button, DWORD process = 0, HANDLE* shownBy = nullptr) {
  const HWND box = waitForWindow(caption, process);
  if (!box) return std::string();
  const std::string shown = text(box, kMessageBoxText);
  if (shownBy) *shownBy = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processOf(box));
  press(box, button);
  return shown;
}

// The final report of the working copy, once the copy has ended with `exitCode`.
std::string finalReport(DWORD exitCode) {
  HANDLE copy = nullptr;
  const std::string report = answer(kReportCaption, IDOK, 0, &copy);
  if (copy) {
    EXPECT_EQ(waitForExit(copy), exitCode);
  }
  return report;
}

struct Started {
  HANDLE process = nullptr;
  DWORD id = 0;
};

Started start(const std::string& commandLine, const char* environment = nullptr) {
  std::string line = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  const BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0,
                                      const_cast<char*>(environment), nullptr, &startup, &info);
  EXPECT_TRUE(started) << commandLine << ": error " << GetLastError();
  if (!started) return Started();
  CloseHandle(info.hThread);
  return {info.hProcess, info.dwProcessId};
}

// The environment of this process with TMP and TEMP pointing at `directory`.
std::string environmentWithTemp(const std::string& directory) {
  std::string block;
  char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
    const std::string variable = entry;
    const std::string upper = CharUpperA(&std::string(variable)[0]);
    if (upper.rfind("TMP=", 0) != 0 && upper.rfind("TEMP=", 0) != 0) block += variable + '\0';
  }
  FreeEnvironmentStringsA(strings);
  return block + "TMP=" + directory + '\0' + "TEMP=" + directory + '\0' + '\0';
}

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

std::string tempDirectory() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

// --- An installation to remove -------------------------------------------------------

class UninstallerProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleFiles = directoryListing(scratch.path());
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
  // `exitCode`.
  std::string uninstallWithYes(const std::string& commandLine, DWORD exitCode = kUninstallDone) {
    const Started original = start(commandLine);
    const std::string question = answer(kQuestionCaption, IDYES, original.id);
    EXPECT_EQ(question, "Do you want to remove " + productName +
                            " from this computer?\n\nThe shared simulator module fsuipc.dll stays "
                            "where it is, because other add-ons may use it.");
    if (original.process) {
      EXPECT_EQ(waitForExit(original.process), DWORD(kUninstallDone)) << "handed over";
    }
    return finalReport(exitCode);
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
  std::vector<std::string> moduleFiles;
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

TEST_F(UninstallerProgram, YesFromTheUninstallString_RemovesEverythingThroughACopyInTheTemporaryFolder) {
  const std::string command = uninstallString();
  ASSERT_EQ(command, '"' + uninstaller + "\" " + productName);

  EXPECT_EQ(uninstallWithYes(command), productName + " has been removed from this computer.");
  expectRemoved();

  // The copy that did the work waits in the temporary folder for the next
  // restart: first its file, then its directory, each to be deleted.
  const std::vector<std::string> pending = newPendingOperations();
  ASSERT_EQ(pending.size(), 4u);
  const std::string copyDir = pending[2].substr(4);
  EXPECT_EQ(pending[0], pending[2] + "\\ksuninstall.exe");
  EXPECT_EQ(pending[1], "");
  EXPECT_EQ(pending[3], "");
  EXPECT_EQ(copyDir.rfind(tempDirectory(), 0), 0u) << copyDir;
  // Named at random (128 bits), so that nothing can be put in its place
  // beforehand. (Its access rules, SYSTEM and the Administrators only, cannot
  // be read back here: Wine keeps no access rules for files.)
  const std::string copyName = copyDir.substr(tempDirectory().size());
  EXPECT_EQ(copyName.size(), 4u + 32u) << copyName;
  EXPECT_EQ(copyName.rfind("ksu-", 0), 0u) << copyName;
  EXPECT_EQ(copyName.find_first_not_of("0123456789abcdef", 4), std::string::npos) << copyName;
  EXPECT_EQ(readFileBytes(copyDir + "\\ksuninstall.exe"), readFileBytes(hostPath(UNINSTALLER_EXE)));

  // Wine's stand-in for a restart carries out the pending operations.
  const Started restart = start("wineboot.exe -r");
  EXPECT_EQ(waitForExit(restart.process), 0u);
  EXPECT_FALSE(directoryExists(copyDir));
}

TEST_F(UninstallerProgram, UnquotedUninstallStringWithBlanks_NamesTheRegistration) {
  // The program directory holds a blank ("Program Files"); without quotes the
  // program knows where its path ends from its own module path.
  EXPECT_EQ(uninstallWithYes(uninstaller + " " + productName),
            productName + " has been removed from this computer.");
  expectRemoved();
}

TEST_F(UninstallerProgram, ShortcutTargetAndArguments_NameTheRegistration) {
  // As Explorer starts the uninstall shortcut: its target, with its arguments.
  SHELLEXECUTEINFOA execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS;
  execute.lpFile = uninstaller.c_str();
  execute.lpParameters = productName.c_str();
  execute.nShow = SW_SHOWNORMAL;
  ASSERT_TRUE(ShellExecuteExA(&execute));
  answer(kQuestionCaption, IDYES, GetProcessId(execute.hProcess));
  EXPECT_EQ(waitForExit(execute.hProcess), 0u);
  EXPECT_EQ(finalReport(kUninstallDone), productName + " has been removed from this computer.");
  expectRemoved();
}

TEST_F(UninstallerProgram, No_ChangesNothing) {
  const std::vector<std::string> temp = directoryListing(tempDirectory());
  const Started original = start(uninstallString());
  answer(kQuestionCaption, IDNO, original.id);
  EXPECT_EQ(waitForExit(original.process), DWORD(kUninstallDeclined));
  expectInstalled();
  EXPECT_EQ(directoryListing(tempDirectory()), temp) << "no working copy";
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
  const std::vector<std::string> temp = directoryListing(tempDirectory());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Started original = start('"' + uninstaller + "\" " + c.arguments);
    EXPECT_EQ(answer(kErrorCaption, IDOK, original.id), c.message);
    EXPECT_EQ(waitForExit(original.process), DWORD(kUninstallRefused));
    expectInstalled();
  }
  EXPECT_EQ(directoryListing(tempDirectory()), temp);
}

TEST_F(UninstallerProgram, SecondRunAfterACompleteUninstall_SaysThereIsNothingToUninstall) {
  ASSERT_EQ(uninstallWithYes(uninstallString()), productName + " has been removed from this computer.");
  const std::string copy = scratch / "ksuninstall.exe";  // the first one has gone
  ASSERT_TRUE(CopyFileA(hostPath(UNINSTALLER_EXE).c_str(), copy.c_str(), FALSE));
  const Started again = start('"' + copy + "\" " + productName);
  EXPECT_EQ(answer(kErrorCaption, IDOK, again.id),
            "There is nothing to uninstall: " + productName + " is not installed on this computer.\n\n"
            "Nothing has been removed.");
  EXPECT_EQ(waitForExit(again.process), DWORD(kUninstallRefused));
  EXPECT_TRUE(fileExists(copy));
  expectRemoved();
}

TEST_F(UninstallerProgram, DamagedRegistration_SaysWhichValueAndRemovesNothing) {
  deleteMachineValue(registrationKey, "EscortParams2");
  const Started original = start(uninstallString());
  EXPECT_EQ(answer(kErrorCaption, IDOK, original.id),
            "The uninstall information of " + productName +
                " is damaged: the value \"EscortParams2\" is missing or not valid.\n\nNothing has been removed.");
  EXPECT_EQ(waitForExit(original.process), DWORD(kUninstallRefused));
  EXPECT_TRUE(fileExists(uninstaller));
  EXPECT_EQ(readFileBytes(readme), "readme");
  EXPECT_TRUE(readMachineValue(settingsKey, "KSDir").has_value());
}

TEST_F(UninstallerProgram, NoRoomForTheWorkingCopy_SaysSoAfterTheQuestionAndRemovesNothing) {
  const std::string environment = environmentWithTemp(scratch / "no such folder");
  const Started original = start(uninstallString(), environment.c_str());
  answer(kQuestionCaption, IDYES, original.id);
  // The error code is the system's own: Wine gives ERROR_DIRECTORY here.
  const std::string message = answer(kErrorCaption, IDOK, original.id);
  EXPECT_EQ(waitForExit(original.process), DWORD(kUninstallNoWorkingCopy));
  const std::string before = "The uninstaller could not prepare its working copy in the temporary folder "
                             "(Windows error ", after = ").\n\nNothing has been removed.";
  ASSERT_GT(message.size(), before.size() + after.size()) << message;
  EXPECT_EQ(message.substr(0, before.size()), before);
  EXPECT_EQ(message.substr(message.size() - after.size()), after);
  const std::string code = message.substr(before.size(), message.size() - before.size() - after.size());
  EXPECT_NE(std::strtoul(code.c_str(), nullptr, 10), 0u) << code;
  expectInstalled();
}

TEST_F(UninstallerProgram, TheCopyWaitsForTheOriginalToEnd) {
  // The copy, started as the original starts it, with an event standing in
  // for the original's process: nothing may go before that is signalled.
  const std::string copyDir = scratch / "copy";
  CreateDirectoryA(copyDir.c_str(), nullptr);
  const std::string copy = copyDir + "\\ksuninstall.exe";
  ASSERT_TRUE(CopyFileA(hostPath(UNINSTALLER_EXE).c_str(), copy.c_str(), FALSE));
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE original = CreateEventA(&inheritable, TRUE, FALSE, nullptr);
  std::string line = '"' + copy + "\" \\original:" +
                     std::to_string(reinterpret_cast<uintptr_t>(original)) + " " + productName;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  ASSERT_TRUE(CreateProcessA(copy.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, copyDir.c_str(),
                             &startup, &info));
  CloseHandle(info.hThread);

  Sleep(1000);
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_TIMEOUT);
  EXPECT_EQ(findWindow(("Uninstalling " + productName).c_str()), nullptr);
  EXPECT_EQ(findWindow(kReportCaption), nullptr);
  EXPECT_EQ(findWindow(kQuestionCaption), nullptr) << "the copy asks nothing";
  expectInstalled();

  SetEvent(original);
  CloseHandle(original);
  EXPECT_EQ(answer(kReportCaption, IDOK, info.dwProcessId),
            productName + " has been removed from this computer.");
  EXPECT_EQ(waitForExit(info.hProcess), 0u);
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
  EXPECT_EQ(uninstallWithYes(uninstallString(), kUninstallIncomplete),
            "These items could not be removed:\n" + readme + " (Windows error 32)\n\n"
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
