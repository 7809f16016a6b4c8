#pragma once
// The wizard as a user meets it: what its first pages must show, and the
// steps that most scenarios share.
#include <string>

#include "failure_site.h"

#include "scenario_run.h"
#include "setup_exit_codes.h"
#include "windows_says.h"

// The welcome page's text as the user reads it.
extern const char kWelcomeText[];
// The question that Cancel asks, and its caption.
extern const char kCancelCaption[];
extern const char kCancelQuestion[];
// The caption of every error message, and the message when no simulator is installed.
extern const char kErrorCaption[];
extern const char kNoSimulatorMessage[];

// The agreement the licence page must show: heading 109 and entries 139 to
// 177 of the program's own string table, each followed by an empty line.
std::string expectedAgreement(const std::string& setupProgram);

// Waits for the frame and checks the welcome page: its text, no header
// bitmap, Back disabled, Next enabled and Finish hidden.
void expectWelcomePage(UiDriver& setup);
// Waits for the licence page and checks its text, the header bitmap and that
// Next (and Finish with it) follows the acceptance box.
void expectLicensePage(UiDriver& setup, const std::string& setupProgram, bool accepted);
// From the welcome page to the licence page.
void goToLicensePage(UiDriver& setup, const std::string& setupProgram);
// Cancel, confirmed with Yes: the program ends at once, leaving no window.
void cancelAndConfirm(UiDriver& setup);

// The page indices in the order the wizard adds its pages.
enum WizardPageIndex { kTypePage = 2, kProgramDirPage = 3, kVersionPage = 4, kProgressPage = 5, kFinishedPage = 6 };

// What the program directory page proposes without an earlier installation.
std::string defaultProgramDir();

// From the welcome page, through the accepted licence, to the installation
// type page, which must have one computer selected.
void goToTypePage(UiDriver& setup, const std::string& setupProgram);
// Through the wizard with what it proposes, on a computer with one simulator,
// to the program directory page, which must show `programDir`, and whose
// Next starts the installation.
UiDriver& walkToTheLastPage(ScenarioRun& run, const std::string& programDir = defaultProgramDir());
// Waits for the program directory page and checks the directory it shows.
void expectProgramDirPage(UiDriver& setup, const std::string& directory);
// Waits for the simulator version page, which must propose 2004 alone.
void expectVersionPage(UiDriver& setup);
// Waits for the finished page and checks it: Back and Cancel disabled, Finish
// shown and enabled, both boxes clear, the readme box shown or hidden; and
// that the progress page ended at a full bar and "100%".
void expectFinishedPage(UiDriver& setup, bool readmeShown);
// Finish: the program ends at once, leaving no window.
void finishAndEnd(UiDriver& setup);
// The error message `message`, answered; then the program ends with
// `exitCode`, leaving no window.
void expectFailureAndEnd(UiDriver& setup, const std::string& message, int exitCode = kExitFailed);
// What a failure message says below its text of what failed, why and where:
// the path (none: no line), Windows' own text for the error, and the Windows
// call that failed at its site in the program.
std::string failureDetail(const std::string& path, unsigned long error, const char* call, FailureSite site);
// The setup program's refusal of a destination `folder`, saying `why`.
std::string destinationRefused(const std::string& folder, const std::string& why);
// The setup program's question about a file that another program holds.
std::string filesInUseQuestion(const std::string& path);
// The message after Cancel when everything the run did was taken back.
extern const char kCancelledMessage[];
// The question about files another program holds, answered with Retry or
// Cancel; Cancel is followed by the message that nothing was changed, and
// the program ends with exit code 3, leaving no window.
void answerFilesInUse(UiDriver& setup, const std::string& path, int answer);
// A whole run through the wizard with what it proposes, as this installation
// type, on a computer with one simulator; the program directory page must
// propose `programDir`.
void installAs(ScenarioRun& run, int typeButton, const std::string& programDir = defaultProgramDir());
// The same from the welcome page of a run already started.
void installWith(UiDriver& setup, const std::string& setupProgram, int typeButton,
                 const std::string& programDir = defaultProgramDir());
