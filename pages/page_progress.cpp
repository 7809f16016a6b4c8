#include "page_progress.h"

#include <commctrl.h>

#include <new>
#include <string>

#include "documentation_address.h"
#include "extract_result.h"
#include "file_holders.h"
#include "install_job.h"
#include "install_messages.h"
#include "install_worker.h"
#include "journal_settlement.h"
#include "progress_display.h"
#include "journal_store.h"
#include "registration_details.h"
#include "registration_reader.h"
#include "registry_settings.h"
#include "resource_ids.h"
#include "room_check.h"
#include "setup_choices.h"
#include "start_menu_shortcuts.h"
#include "string_helpers.h"
#include "system_message.h"
#include "uninstall_log.h"
#include "uninstall_report.h"

namespace {

const char kProgram[] = "kestrel.exe";
const char kIconFile[] = "ksimage.dll";

// How often the page redraws at most while the worker's messages keep coming:
// smooth to the eye, and a small share of the page's time.
const DWORD kRefreshInterval = 50;  // milliseconds

// What the worker is to do, from the user's choices; null without memory for
// it. The uninstall log is added once it exists.
InstallJob* newInstallJob(const SetupChoices& choices, HWND progressWindow, InstallJournal* journal) {
  InstallJob* job = new (std::nothrow) InstallJob;
  if (job == nullptr) return nullptr;
  const bool simulatorFiles = installsSimulatorFiles(choices.installType);
  job->instanceHandle = moduleInstance;
  job->progressWindow = progressWindow;
  job->journal = journal;
  job->installFs2002 = simulatorFiles && choices.useFs2002;
  job->installFs2004 = simulatorFiles && choices.useFs2004;
  if (job->installFs2002) job->fs2002Dir = choices.fs2002Dir;
  if (job->installFs2004) job->fs2004Dir = choices.fs2004Dir;
  job->installProgramFiles = installsProgramFiles(choices.installType);
  job->programDir = choices.programDir;
  return job;
}

// What failed and why, on lines of their own under a failure message;
// nothing when nothing is known of it.
std::string failureDetail(const FailedItem& failure) {
  if (failure.systemError == 0) return std::string();
  const std::string reason = systemMessage(failure.systemError);
  return failure.item.empty() ? fillIn(loadString(IDS_FAILURE_REASON), {reason})
                              : fillIn(loadString(IDS_FAILURE_DETAIL), {failure.item, reason});
}

// The failure of the last Windows call, about `item`.
FailedItem lastFailure(const std::string& item) { return {item, GetLastError()}; }

// Names the held files, with the programs that hold them where Windows can
// say, and asks the user to close them: true for Retry.
bool askToRetry(HWND window, const std::vector<HeldFile>& held) {
  std::vector<std::string> lines;
  for (const HeldFile& file : held) {
    std::string programs;
    for (const std::string& program : file.programs) programs += (programs.empty() ? "" : ", ") + program;
    lines.push_back(programs.empty() ? file.path : fillIn(loadString(IDS_FILE_IN_USE_BY), {file.path, programs}));
  }
  const std::string text = fillIn(loadString(IDS_FILES_IN_USE), {itemList(lines, loadString(IDS_MORE_ITEMS))});
  return MessageBoxA(window, text.c_str(), loadString(IDS_CANCEL_CAPTION).c_str(), MB_RETRYCANCEL | MB_ICONWARNING) ==
         IDRETRY;
}

}  // namespace

WORD PageProgress::dialogTemplate() { return IDD_PAGE_PROGRESS; }

void PageProgress::onCreate(Escort::WizardUI* frame, HWND window) {
  SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, kProgressBarSteps));
  SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_SETSTEP, 1, 0);
  SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
  KS3Page::onCreate(frame, window);
}

void PageProgress::reportFailure(Escort::WizardUI* frame, HWND window, const std::string& text, int exitCode,
                                 const FailedItem& failure) {
  delete job;  // never handed to a worker, or given back
  job = nullptr;
  std::string message = text + failureDetail(failure);
  if (journal.began()) {
    JournalSettlement settlement = settleJournal();
    if (settlement.outcome == JournalSettlement::NotTakenBack) {
      // Not "nothing has been changed", then.
      if (exitCode == kExitCancelled) message = loadString(IDS_CANCELLED_NOT_TAKEN_BACK);
      for (FailedItem& item : settlement.left) item.reason = systemMessage(item.systemError);
      message += fillIn(loadString(IDS_ERROR_NOT_TAKEN_BACK), {failedItemsText(settlement.left, loadString(IDS_FAILED_ITEM),
                                                                               loadString(IDS_MORE_ITEMS))});
      exitCode = kExitNotTakenBack;
    }
  }
  setupChoices(frame).exitCode = exitCode;
  // Cancelled by the user, it is no error.
  const std::string caption = loadString(exitCode == kExitCancelled ? IDS_CANCEL_CAPTION : IDS_ERROR_CAPTION);
  MessageBoxA(window, message.c_str(), caption.c_str(), MB_OK);
  frame->close();
}

// Every failure here ends the program at once, after taking back what the
// run changed. An uninstall log that exists by then is left to end with the
// process: it can only end by committing, and a failed installation must
// leave no registration.
int PageProgress::onEnter(Escort::WizardUI* frame, HWND window) {
  // Nothing may interrupt the run: no way back, on or out until it ends.
  frame->enableButtons(Escort::Disabled, Escort::Disabled, Escort::Disabled);
  const SetupChoices& choices = setupChoices(frame);
  const std::string& programDir = choices.programDir;
  const std::string uninstaller = programDir + Escort::kUninstallerFile;

  job = newInstallJob(choices, window, &journal);
  if (job && (!hasRoom(frame, window) || !noFileHeld(frame, window))) return 1;
  // Nothing is changed before the journal can record it.
  if (!journal.begin()) {
    reportFailure(frame, window, loadString(IDS_ERROR_REGISTRY), kExitFailed,
                  lastFailure(std::string("HKEY_LOCAL_MACHINE\\") + kJournalKey));
    return 1;
  }
  uninstallLog = Escort::createUninstallerSetup(Escort::kProductName, "", uninstaller.c_str());
  if (uninstallLog == nullptr) {
    reportFailure(frame, window, loadString(IDS_ERROR_UNINSTALLER), kExitFailed, {"", ERROR_NOT_ENOUGH_MEMORY});
    return 1;
  }
  if (job) job->uninstallLog = uninstallLog;
  if (installsProgramFiles(choices.installType)) {
    FailedItem failure;
    if (!writeRegistrySettings(programDir, *uninstallLog, journal, failure)) {
      reportFailure(frame, window, loadString(IDS_ERROR_REGISTRY), kExitFailed, failure);
      return 1;
    }
    if (!createStartMenuShortcuts(programDir + kProgram, uninstaller, kDocumentationAddress,
                                  programDir + kIconFile, *uninstallLog, journal, failure)) {
      reportFailure(frame, window, loadString(IDS_ERROR_START_MENU), kExitFailed, failure);
      return 1;
    }
  }

  totalBytes = writtenBytes = 0;
  resetDisplay(window);
  // The system sends the timer's message only when no other waits: it shows
  // what the last messages changed.
  SetTimer(window, IDT_PROGRESS_REFRESH, kRefreshInterval, nullptr);
  // From here until WM_INSTALL_DONE the job and the log belong to the worker.
  workerThread = job ? CreateThread(nullptr, 0, installWorker, job, 0, nullptr) : nullptr;
  if (workerThread == nullptr) {
    const FailedItem failure = job ? lastFailure("") : FailedItem{"", ERROR_NOT_ENOUGH_MEMORY};
    KillTimer(window, IDT_PROGRESS_REFRESH);
    reportFailure(frame, window, loadString(IDS_ERROR_EXTRACTION_START), kExitFailed, failure);
    return 1;
  }
  KS3Page::onEnter(frame, window);
  return 1;
}

INT_PTR PageProgress::onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INSTALL_TOTAL:
      totalBytes = static_cast<uint32_t>(wParam);
      return 1;
    case WM_INSTALL_FILE:
      // The message's own copy of the name, freed here.
      fileName = takeAnnouncedFile(lParam);
      refreshWhenDue(window);
      return 1;
    case WM_INSTALL_PROGRESS:
      writtenBytes = static_cast<uint32_t>(wParam);
      refreshWhenDue(window);
      return 1;
    case WM_TIMER:
      if (wParam != IDT_PROGRESS_REFRESH) break;
      refresh(window);
      return 1;
    case WM_INSTALL_FAILED:
      failure = {takeAnnouncedFile(lParam), static_cast<unsigned long>(wParam)};
      return 1;
    case WM_INSTALL_FILE_IN_USE: {
      // The worker waits for the answer; the file it is on shows meanwhile.
      auto* question = reinterpret_cast<FileInUseQuestion*>(lParam);
      refresh(window);
      question->retry = askToRetry(window, {{question->path, programsHolding(question->path)}});
      SetEvent(question->answered);
      return 1;
    }
    case WM_INSTALL_DONE:
      // The last state shows, whatever was passed over: the full bar and no
      // file, or the file that failed while its message is up.
      KillTimer(window, IDT_PROGRESS_REFRESH);
      if (wParam == kInstallSucceeded) fileName.clear();
      refresh(window);
      completeInstallation(frame, window, static_cast<int>(wParam));
      return 1;
  }
  return KS3Page::onMessage(frame, window, message, wParam, lParam);
}

// Not the template's placeholders while the worker measures: an empty bar,
// "0%" and no file.
void PageProgress::resetDisplay(HWND window) {
  shownPercent = "0%";
  fileName.clear();
  shownFileName.clear();
  lastRefresh = GetTickCount();
  SetDlgItemTextA(window, IDC_PROGRESS_PERCENT, shownPercent.c_str());
  SetDlgItemTextA(window, IDC_PROGRESS_FILE, shownFileName.c_str());
}

void PageProgress::refreshWhenDue(HWND window) {
  if (GetTickCount() - lastRefresh >= kRefreshInterval) refresh(window);
}

void PageProgress::refresh(HWND window) {
  lastRefresh = GetTickCount();
  showFileName(window, fileName);
  updateProgressDisplay(window);
}

void PageProgress::updateProgressDisplay(HWND window) {
  const ProgressDisplay display = progressDisplayFor(writtenBytes, totalBytes);
  if (display.barPosition != shownBarPosition) {
    shownBarPosition = display.barPosition;
    SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(shownBarPosition), 0);
  }
  if (display.percentText != shownPercent) {
    shownPercent = display.percentText;
    SetDlgItemTextA(window, IDC_PROGRESS_PERCENT, shownPercent.c_str());
  }
}

void PageProgress::showFileName(HWND window, const std::string& name) {
  if (name == shownFileName) return;
  shownFileName = name;
  SetDlgItemTextA(window, IDC_PROGRESS_FILE, shownFileName.c_str());
}

void PageProgress::completeInstallation(Escort::WizardUI* frame, HWND window, int result) {
  // The worker touches neither the job nor the log any more; it ends by itself.
  delete job;
  job = nullptr;
  CloseHandle(workerThread);
  workerThread = nullptr;
  if (result == Escort::kCancelled) {
    reportFailure(frame, window, loadString(IDS_CANCELLED), kExitCancelled);
    return;
  }
  if (result != kInstallSucceeded) {
    reportFailure(frame, window, loadString(IDS_ERROR_INSTALL_FILES) + "\n(" + intToString(result) + ")",
                  kExitFailed, failure);
    return;
  }
  // The registration as it stands is recorded first, so that a commit that
  // fails or is cut off is taken back with the rest; the new files that
  // replace earlier ones are on the disk before those can go.
  const std::string registration = registrationKey(Escort::kProductName);
  const std::string registrationName = "HKEY_LOCAL_MACHINE\\" + registration;
  if (!journal.keyWillChange(registration)) {
    reportFailure(frame, window, loadString(IDS_ERROR_UNINSTALLER), kExitFailed,
                  lastFailure(std::string("HKEY_LOCAL_MACHINE\\") + kJournalKey));
    return;
  }
  journal.flushReplacedFiles();
  // commit ends the log whatever it returns.
  Escort::UninstallerSetup* const committed = uninstallLog;
  uninstallLog = nullptr;
  if (!committed->commit() || !writeRegistrationDetails(Escort::kProductName, setupChoices(frame).programDir)) {
    reportFailure(frame, window, loadString(IDS_ERROR_UNINSTALLER), kExitFailed, lastFailure(registrationName));
    return;
  }
  if (!journal.markCommitted()) {
    reportFailure(frame, window, loadString(IDS_ERROR_UNINSTALLER), kExitFailed,
                  lastFailure(std::string("HKEY_LOCAL_MACHINE\\") + kJournalKey));
    return;
  }
  journal.finish();
  frame->next();
}

// Before anything is written: a volume without room for what goes there
// ends the installation with a message that says where and how much.
bool PageProgress::hasRoom(Escort::WizardUI* frame, HWND window) {
  RoomShortage shortage;
  if (!findRoomShortage(installSteps(*job), moduleInstance, shortage)) return true;
  const auto kilobytes = [](uint64_t bytes, bool roundUp) {
    return std::to_string((bytes + (roundUp ? 1023 : 0)) / 1024);
  };
  reportFailure(frame, window,
                fillIn(loadString(IDS_ERROR_NO_ROOM),
                       {shortage.folder, kilobytes(shortage.needed, true), kilobytes(shortage.free, false)}),
                kExitRefused);
  return false;
}

// Before anything is written: the files this run replaces and another
// program holds (a running simulator's modules) are named, and the user
// closes that program and retries, or cancels with nothing changed.
bool PageProgress::noFileHeld(Escort::WizardUI* frame, HWND window) {
  for (std::vector<HeldFile> held; !(held = findHeldFiles(installSteps(*job), moduleInstance)).empty();) {
    if (!askToRetry(window, held)) {
      reportFailure(frame, window, loadString(IDS_CANCELLED), kExitCancelled);
      return false;
    }
  }
  return true;
}
