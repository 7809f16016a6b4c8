#include "page_progress.h"

#include <commctrl.h>

#include <string>

#include "extract_result.h"
#include "failure_text.h"
#include "install_messages.h"
#include "message_wait.h"
#include "setup_texts.h"
#include "programs_holding.h"
#include "progress_display.h"
#include "resource_ids.h"
#include "setup_choices.h"
#include "module_strings.h"
#include "text_format.h"
#include "system_message.h"

namespace {

// How often the page redraws at most while the worker's messages keep coming:
// smooth to the eye, and a small share of the page's time.
const DWORD kRefreshInterval = 50;  // milliseconds

// What the worker is to do, from the user's choices.
InstallJob jobFor(const SetupChoices& choices) {
  InstallJob job;
  const bool simulatorFiles = installsSimulatorFiles(choices.installType);
  job.instanceHandle = moduleInstance;
  job.texts = installTexts();
  job.installFs2002 = simulatorFiles && choices.useFs2002;
  job.installFs2004 = simulatorFiles && choices.useFs2004;
  if (job.installFs2002) job.fs2002Dir = choices.fs2002Dir;
  if (job.installFs2004) job.fs2004Dir = choices.fs2004Dir;
  job.installProgramFiles = installsProgramFiles(choices.installType);
  job.programDir = choices.programDir;
  return job;
}

// The message of the step that failed.
std::string failureText(const InstallationRun& run) {
  switch (run.failedStep()) {
    case InstallationRun::Step::Journal:
    case InstallationRun::Step::Settings:
      return loadString(IDS_ERROR_REGISTRY);
    case InstallationRun::Step::Shortcuts:
      return loadString(IDS_ERROR_START_MENU);
    case InstallationRun::Step::WorkerStart:
      return loadString(IDS_ERROR_EXTRACTION_START);
    case InstallationRun::Step::Registration:
      return loadString(IDS_ERROR_UNINSTALLER);
    case InstallationRun::Step::Plan:
      return loadString(IDS_ERROR_INSTALL_FILES) + "\n(" +
             intToString(run.failure().site == FailureSite::PayloadNotOpened ? kPayloadNotOpened
                                                                             : Escort::kOutputFileFailed) +
             ")";
    case InstallationRun::Step::Files:
    case InstallationRun::Step::None:
      break;
  }
  return loadString(IDS_ERROR_INSTALL_FILES) + "\n(" + intToString(run.filesResult()) + ")";
}

std::string destinationText(const DestinationProblem& problem) {
  return fillIn(loadString(IDS_ERROR_DESTINATION), {problem.folder, destinationReason(problem.trouble, problem.path)});
}

// Names the held files, with the programs that hold them where Windows can
// say, and asks the user to close them: true for Retry.
bool askToRetry(HWND window, const std::vector<HeldFile>& held) {
  std::vector<std::string> lines;
  for (const HeldFile& file : held)
    lines.push_back(heldFileText(file.path, file.programs, loadString(IDS_FILE_IN_USE_BY)));
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

void PageProgress::refuse(Escort::WizardUI* frame, HWND window, const std::string& text, int exitCode) {
  setupChoices(frame).exitCode = exitCode;
  const std::string caption = loadString(exitCode == kExitCancelled ? IDS_CANCEL_CAPTION : IDS_ERROR_CAPTION);
  MessageBoxA(window, text.c_str(), caption.c_str(), MB_OK);
  frame->close();
}

// The take-back waits for files another program has open while they are
// being deleted: the page says so, and stays painted.
class PageProgress::PageWaiting final : public Waiting {
 public:
  PageWaiting(PageProgress& page, HWND window) : page(page), window(window) {}
  void waitFor(const std::string& path, unsigned long ms) override {
    page.showFileName(window, fillIn(loadString(IDS_WAITING_FOR), {path}));
    waitLettingMessagesThrough(ms);
  }

 private:
  PageProgress& page;
  HWND window;
};

void PageProgress::reportFailure(Escort::WizardUI* frame, HWND window, int exitCode) {
  const bool cancelled = exitCode == kExitCancelled;
  Failure failure = run->failure();
  failure.reason = failure.systemError ? systemMessage(failure.systemError) : std::string();
  std::string message = cancelled ? loadString(IDS_CANCELLED) : failureText(*run) + failureDetail(failure);
  PageWaiting waiting(*this, window);
  JournalSettlement settlement = run->takeBack(waiting);
  if (settlement.outcome == JournalSettlement::NotSettled || settlement.outcome == JournalSettlement::Damaged) {
    // Not "nothing has been changed", then.
    if (cancelled) message = loadString(IDS_CANCELLED_NOT_TAKEN_BACK);
    // The journal's trouble reads inside the same frame as the items left.
    const std::string notTakenBack = loadString(IDS_ERROR_NOT_TAKEN_BACK);
    message += settlementText(settlement, notTakenBack, fillIn(notTakenBack, {loadString(IDS_JOURNAL_DAMAGED)}));
    exitCode = kExitNotTakenBack;
  } else if (!settlement.atRestart.empty()) {
    if (cancelled) message = loadString(IDS_CANCELLED_NOT_TAKEN_BACK);
    message += fillIn(loadString(IDS_FILES_GO_AT_RESTART), {itemList(settlement.atRestart, loadString(IDS_MORE_ITEMS))});
  }
  refuse(frame, window, message, exitCode);
}

// Every failure here ends the program, after taking back what the run changed.
int PageProgress::onEnter(Escort::WizardUI* frame, HWND window) {
  // Nothing may interrupt the run: no way back, on or out until it ends.
  frame->enableButtons(Escort::Disabled, Escort::Disabled, Escort::Disabled);
  run.reset(new InstallationRun(jobFor(setupChoices(frame))));
  if (!checksPass(frame, window)) return 1;
  if (!run->begin() || !run->writeSettings() || !run->createShortcuts()) {
    reportFailure(frame, window);
    return 1;
  }
  totalBytes = writtenBytes = 0;
  resetDisplay(window);
  // The system sends the timer's message only when no other waits: it shows
  // what the last messages changed.
  SetTimer(window, IDT_PROGRESS_REFRESH, kRefreshInterval, nullptr);
  if (!run->startWorker(window)) {
    KillTimer(window, IDT_PROGRESS_REFRESH);
    reportFailure(frame, window);
    return 1;
  }
  KS3Page::onEnter(frame, window);
  return 1;
}

// Before anything is written: a plan of every change, destinations that can
// take it, room for it on every volume, and the files it replaces free of
// other programs (a running simulator's modules: the user closes that program
// and retries, or cancels with nothing changed).
bool PageProgress::checksPass(Escort::WizardUI* frame, HWND window) {
  if (!run->plan()) {
    Failure failure = run->failure();
    refuse(frame, window, failureText(*run) + failureDetail(failure), kExitFailed);
    return false;
  }
  DestinationProblem destination;
  if (run->findDestinationProblem(destination)) {
    refuse(frame, window, destinationText(destination), kExitRefused);
    return false;
  }
  RoomShortage shortage;
  if (run->findRoomShortage(shortage)) {
    const auto kilobytes = [](uint64_t bytes, bool roundUp) {
      return std::to_string((bytes + (roundUp ? 1023 : 0)) / 1024);
    };
    refuse(frame, window,
           fillIn(loadString(IDS_ERROR_NO_ROOM),
                  {shortage.folder, kilobytes(shortage.needed, true), kilobytes(shortage.free, false)}),
           kExitRefused);
    return false;
  }
  for (std::vector<HeldFile> held; !(held = run->heldFiles()).empty();) {
    if (!askToRetry(window, held)) {
      refuse(frame, window, loadString(IDS_CANCELLED), kExitCancelled);
      return false;
    }
  }
  return true;
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
      run->workerFailed(takeAnnouncedFailure(lParam));
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
  if (!run->workerEnded(result)) {
    reportFailure(frame, window, result == Escort::kCancelled ? kExitCancelled : kExitFailed);
    return;
  }
  if (!run->commit()) {
    reportFailure(frame, window);
    return;
  }
  frame->next();
}
