// DLLs planted beside the programs and in their working folders, under names
// that Windows looks for beside a program before the system folder. Wine is
// told to prefer them to its own, as Windows would for any DLL that is not a
// known one; each records it when it is loaded, as a program of the test's
// own shows first. Along the whole route, the folder browser and both
// documents included, and through the uninstaller, none of them may be
// loaded: with SetDefaultDllDirectories, and in the way of the Windows
// versions that lack it, where the setup program runs from a working copy
// in a folder of its own.
#include <windows.h>

#include <cstring>
#include <sstream>

#include "expected_installation.h"
#include "file_tree.h"
#include "folder_browser.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "setup_windows.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

const char kDownloads[] = "C:\\users\\Public\\Downloads\\";
const char kWorkingFolder[] = "C:\\Working folder\\";

std::vector<std::string> plantedNames() {
  std::vector<std::string> names;
  std::istringstream list(PLANTED_DLLS);
  for (std::string name; std::getline(list, name, ',');) names.push_back(name);
  return names;
}

void plantDlls(const ScenarioRun& run, const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const std::string& name : plantedNames()) {
    const std::string planted = folder + name + ".dll";
    check(CopyFileA(run.testFile("planted\\" + name + ".dll").c_str(), planted.c_str(), FALSE) != FALSE,
          planted + " is planted");
  }
}

// Both programs prefer a DLL of these names found on their search path to
// Wine's own, as Windows does for any DLL that is not a known one: Wine's
// overrides for one program, which its loader reads as it starts it. (Set in
// WINEDLLOVERRIDES here they would not reach the programs: Wine reads that
// from the environment that the driver itself was started with.) Each planted
// DLL records its loading in the file returned.
std::string preferPlantedDlls() {
  for (const char* program : {"ks3setup.exe", "ksuninstall.exe", "plant_control.exe"}) {
    const std::string key = std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides";
    HKEY overrides = nullptr;
    check(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &overrides,
                          nullptr) == ERROR_SUCCESS,
          "Wine's overrides for " + std::string(program) + " can be set");
    const char kNativeFirst[] = "native,builtin";
    for (const std::string& name : plantedNames())
      RegSetValueExA(overrides, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst), sizeof kNativeFirst);
    RegCloseKey(overrides);
  }
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  const std::string record = std::string(temp) + "kestrel-planted.txt";
  DeleteFileA(record.c_str());
  SetEnvironmentVariableA("KESTREL_PLANT_RECORD", record.c_str());
  return record;
}

void checkNothingPlantedLoaded(const std::string& record, const std::string& when) {
  checkEqual(fileBytes(record).value_or(""), "", "planted DLLs loaded " + when);
}

// The control: the program of the test's own, copied among the DLLs planted
// in `folder` and started in `workingFolder`, loads every one of them by its
// name, and each records it. The record is emptied again.
void checkControlLoadsPlanted(ScenarioRun& run, const std::string& record, const std::string& folder,
                              const std::string& workingFolder) {
  const std::string control = folder + "plant_control.exe";
  check(CopyFileA(run.testFile("plant_control.exe").c_str(), control.c_str(), FALSE) != FALSE, control + " is there");
  std::string commandLine = '"' + control + '"', expected;
  for (const std::string& name : plantedNames()) {
    commandLine += " " + name + ".dll";
    expected += folder + name + ".dll loaded into " + control + "\r\n";
  }
  run.startCommandLine(commandLine, workingFolder).expectExit(0, "of the control: every DLL loaded");
  checkEqual(fileBytes(record).value_or(""), expected, "planted DLLs loaded into the control");
  check(DeleteFileA(record.c_str()) != FALSE, "the record is emptied");
}

// The folder browser, walked down to the Program Files folder and cancelled:
// the shell's namespace and its icons load what they need meanwhile.
void browseAndCancel(UiDriver& setup) {
  const char kBrowser[] = "Browse for Folder";
  setup.click(IDC_KESTREL_DIR_CHANGE);
  FolderBrowser browser(setup.waitForDialog(kBrowser), setup.process().handle());
  check(browser.select({"My Computer", "(C:)", "Program Files"}), "the browser shows the Program Files folder");
  setup.answerDialog(kBrowser, IDCANCEL);
  expectProgramDirPage(setup, defaultProgramDir());
}

// The driver is built for XP, whose headers lack the function; Wine has it.
std::string programPath(UiDriver& run) {
  using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
  const auto query = reinterpret_cast<QueryImageName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
  char path[MAX_PATH] = "";
  DWORD size = sizeof path;
  check(query && query(run.process().handle(), 0, path, &size) != FALSE, "the program's path can be read");
  return path;
}

// Where the setup program runs from, on Windows without SetDefaultDllDirectories.
enum class RunsFrom { Download, WorkingCopy };

// The wizard of the setup program that was started as `started`: that
// program itself, or the working copy it started and waits for, which must
// run from a new folder of the Windows folder's Temp and be the same program.
UiDriver& wizardOf(ScenarioRun& run, UiDriver& started, RunsFrom runsFrom, const std::string& setupProgram,
                   std::string& copy) {
  if (runsFrom == RunsFrom::Download) return started;
  UiDriver& wizard = run.attachToWindow(kFrameCaption);
  copy = programPath(wizard);
  char windows[MAX_PATH] = "";
  GetSystemWindowsDirectoryA(windows, MAX_PATH);
  const std::string copies = std::string(windows) + "\\Temp\\ksu-";
  check(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, copy.c_str(), static_cast<int>(copies.size()),
                       copies.c_str(), -1) == CSTR_EQUAL &&
            copy.size() == copies.size() + 32 + std::strlen("\\ks3setup.exe"),
        "the wizard runs from a working copy in a new folder of the Windows folder's Temp: " + copy);
  checkEqual(requiredFileBytes(copy) == requiredFileBytes(setupProgram), true, "the working copy is the program");
  check(started.process().running(), "the program that was started waits for its working copy");
  return wizard;
}

// The setup program `setupProgram` downloaded among planted DLLs, its route,
// and the uninstaller it installed, replaced by `uninstaller` if given.
void nothingLoadedFromBeside(ScenarioRun& run, const std::string& setupProgram, const std::string& uninstaller,
                             RunsFrom runsFrom) {
  seedSimulator(Simulator::Fs2004);
  const std::string opened = recordWhatIsOpened(run);
  const std::string record = preferPlantedDlls();
  plantDlls(run, kDownloads);
  plantDlls(run, kWorkingFolder);
  // Those in the working folder stand for a DLL that the system folder lacks:
  // Windows and Wine search the working folder after it, and Wine's holds
  // every one of these names, so no control can load them from there.
  checkControlLoadsPlanted(run, record, kDownloads, kWorkingFolder);
  const std::string setupCopy = std::string(kDownloads) + "ks3setup.exe";
  check(CopyFileA(setupProgram.c_str(), setupCopy.c_str(), FALSE) != FALSE, "the setup program is downloaded");

  UiDriver& started = run.startCommandLine('"' + setupCopy + '"', kWorkingFolder);
  std::string workingCopy;
  UiDriver& setup = wizardOf(run, started, runsFrom, setupProgram, workingCopy);
  goToTypePage(setup, setupCopy);
  checkNothingPlantedLoaded(record, "by the time the wizard shows");
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, defaultProgramDir());
  browseAndCancel(setup);
  setup.click(IDC_NEXT);
  expectFinishedPage(setup, true);
  setup.setChecked(IDC_FINISHED_USER_GUIDE, true);
  setup.setChecked(IDC_FINISHED_README, true);
  finishAndEnd(setup);
  if (runsFrom == RunsFrom::WorkingCopy) {
    started.expectExit(kExitInstalled, "of the program that was started: its working copy's");
    check(!pathExists(workingCopy) && !pathExists(workingCopy.substr(0, workingCopy.rfind('\\'))),
          "the working copy and its folder are gone once it has ended");
  }
  checkEqual(static_cast<long long>(documentsOpened(opened).size()), 2, "documents opened");
  checkNothingPlantedLoaded(record, "by the setup program");

  // The same beside the installed uninstaller: they are no files of the
  // installation, so its folder stays with them.
  plantDlls(run, defaultProgramDir());
  const std::string programDir = defaultProgramDir();
  if (!uninstaller.empty())
    check(CopyFileA(uninstaller.c_str(), (programDir + "ksuninstall.exe").c_str(), FALSE) != FALSE,
          "the uninstaller is the one under test");
  checkEqual(uninstallWithYes(run, uninstallCommandLine(), kWorkingFolder),
             std::string(kUninstalledReport) + "\n\nThese folders were kept, because they still hold files:\n" +
                 programDir.substr(0, programDir.size() - 1),
             "the uninstaller's report");
  checkNothingPlantedLoaded(record, "by the uninstaller");
}

}  // namespace

SCENARIO(nothing_loaded_from_beside_the_programs) {
  nothingLoadedFromBeside(run, run.setupProgram(), "", RunsFrom::Download);
}

// Built to find no SetDefaultDllDirectories, as on XP, Vista and 7 without
// its update: the setup program runs from its working copy.
SCENARIO(nothing_loaded_from_beside_the_programs_on_older_windows) {
  nothingLoadedFromBeside(run, run.testFile("older_windows\\ks3setup.exe"),
                          run.testFile("older_windows\\ksuninstall.exe"), RunsFrom::WorkingCopy);
}
