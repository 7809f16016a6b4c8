// Taking a run back while a scanner (a virus scanner, the indexer, a preview)
// holds files that the run wrote: on Windows a file deleted then is only
// being deleted, its name there until the scanner lets go, its folder not
// empty, and nothing can be opened, renamed or put in its place meanwhile.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "journal_view.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "strict_windows_run.h"
#include "throttle.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

// Well within what the run waits for files being deleted, and longer than it
// once retried.
const DWORD kScannerLetsGoAfterMs = 2000;

std::string module(const char* name) { return simulatorFolder(Simulator::Fs2004) + "modules\\" + name; }

// Two of the new program files, in different folders.
std::vector<std::string> scannedFiles() {
  return {defaultProgramDir() + "airlines.txt", defaultProgramDir() + "docs\\ksguide.html"};
}

// A fresh installation under way, held once both scanned files are there,
// with an earlier ksmod9.dll in the simulator for it to replace.
UiDriver& installationWritingTheScannedFiles(ScenarioRun& run) {
  UiDriver& setup = walkToTheLastPage(run);
  setup.clickAndRunUntil(IDC_NEXT, "two program files are written", [] {
    for (const std::string& file : scannedFiles())
      if (!pathExists(file)) return false;
    return true;
  });
  return setup;
}

// A viewer takes hold of the earlier module the run is about to replace: the
// run asks, and the user cancels. The scanners let go `scannersLetGo` ms
// later, or hold on when that is 0.
void cancelWhileScanned(UiDriver& setup, std::vector<std::unique_ptr<Scanner>>& scanners, DWORD scannersLetGo) {
  HeldOpen viewer(module("ksmod9.dll"));
  resumeProcess(setup.process().handle());
  setup.waitForDialog(kCancelCaption);
  if (scannersLetGo)
    for (auto& scanner : scanners) scanner->letGoAfter(scannersLetGo);
  setup.answerMessageBox(kCancelCaption, filesInUseQuestion(module("ksmod9.dll")), IDCANCEL);
}

void seedEarlierModule() {
  seedSimulator(Simulator::Fs2004);
  writeBytes(module("ksmod9.dll"), "an earlier ksmod9.dll");
}

// The message after Cancel, under whichever caption it comes, answered.
void expectCancelledMessage(UiDriver& setup, const std::string& text) {
  checkEqual(UiDriver::captionAndText(setup.waitForDialog(std::vector<std::string>{kCancelCaption, kErrorCaption})),
             captionAndText(kCancelCaption, text), "the message after Cancel");
  setup.answerDialog(kCancelCaption, IDOK);
  setup.expectExit(kExitCancelled, "after cancelling");
}

std::vector<std::unique_ptr<Scanner>> scanning(const std::vector<std::string>& files) {
  std::vector<std::unique_ptr<Scanner>> scanners;
  for (const std::string& file : files) scanners.push_back(std::make_unique<Scanner>(file));
  return scanners;
}

}  // namespace

// The scanners let go while the run takes back what it did: it waits for the
// files being deleted, removes their folders, and the machine is as it was.
SCENARIO(strict_windows_cancelled_installation_waits_for_a_scanner) {
  StrictWindows strict(run);
  seedEarlierModule();
  const MachineSnapshot before = takeMachineSnapshot();
  UiDriver& setup = installationWritingTheScannedFiles(run);
  {
    std::vector<std::unique_ptr<Scanner>> scanners = scanning(scannedFiles());
    cancelWhileScanned(setup, scanners, kScannerLetsGoAfterMs);
    expectCancelledMessage(setup, kCancelledMessage);
  }
  checkSameMachine(before);
}

// The scanners hold on past what the run waits for: the message says that
// the files go at the next restart instead of "Nothing has been changed", and
// after it the machine is as it was.
SCENARIO(strict_windows_cancelled_installation_names_what_a_restart_removes) {
  StrictWindows strict(run);
  seedEarlierModule();
  const MachineSnapshot before = takeMachineSnapshot();
  UiDriver& setup = installationWritingTheScannedFiles(run);
  {
    std::vector<std::unique_ptr<Scanner>> scanners = scanning(scannedFiles());
    cancelWhileScanned(setup, scanners, 0);
    // Meanwhile the page says what the run waits for.
    const std::string waiting = "Waiting for another program to let go of " + scannedFiles()[1];
    setup.waitFor("the page to say what it waits for", [&] { return setup.text(IDC_PROGRESS_FILE) == waiting; });
    setup.screenshot("progress_waiting");
    // The latest first, as the run takes them back.
    expectCancelledMessage(setup,
                           "The installation was cancelled.\n\nThese files are still in use by another program and "
                           "go when Windows next restarts:\n" +
                               scannedFiles()[1] + "\n" + scannedFiles()[0]);
  }
  restartWindows();
  checkSameMachine(before);
}

// A reinstall taken back after it put a new readme.txt in place of the
// earlier one, which a scanner then holds: the earlier file goes back once
// the scanner lets go, and the earlier installation is as it was.
SCENARIO(strict_windows_failed_reinstall_waits_for_a_scanned_new_file) {
  StrictWindows strict(run);
  seedSimulator(Simulator::Fs2004);
  const Route route{defaultProgramDir(), true, "", kFs2004Folder};
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const MachineSnapshot installed = takeMachineSnapshot();
  const std::string readme = defaultProgramDir() + "readme.txt";
  const unsigned long long readmeSize = requiredFileBytes(readme).size();

  UiDriver& setup = walkToTheLastPage(run);
  setup.clickAndRunUntil(IDC_NEXT, "the new readme.txt is in place, the earlier one kept aside", [&] {
    const auto journal = runJournal();
    if (!journal) return false;
    for (const JournalRecord& record : *journal) {
      if (record.kind == JournalRecordKind::FileReplaced && record.path == readme && pathExists(record.keptCopy))
        return fileSize(readme).value_or(0) == readmeSize;
    }
    return false;
  });
  {
    std::vector<std::unique_ptr<Scanner>> scanners = scanning({readme});
    cancelWhileScanned(setup, scanners, kScannerLetsGoAfterMs);
    expectCancelledMessage(setup, kCancelledMessage);
  }
  checkSameMachine(installed);
  checkInstalledFiles(expectedInstallation(run.payloadTree(), route));
}
