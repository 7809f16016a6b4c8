#pragma once
// The uninstaller as a user meets it: started from the list of installed
// software (the registration's "UninstallString") or from its Start menu
// shortcut, it asks, hands over to its working copy in the Windows folder's Temp,
// and that copy reports at the end.
#include <string>

#include "program_runs.h"
#include "uninstaller_exit_codes.h"

extern const char kUninstallerCaption[];
extern const char kUninstallerErrorCaption[];
extern const char kUninstallReportCaption[];
// The question for the installation registered as `productName`, and the
// report of its complete removal.
std::string uninstallQuestion(const std::string& productName);
std::string uninstalledReport(const std::string& productName);
// The working copy's question about a file that another program holds.
std::string fileInUseQuestion(const std::string& path);
// Those of Kestrel 3, and what a run with nothing registered says.
extern const std::string kUninstallQuestion;
extern const std::string kUninstalledReport;
extern const char kNothingToUninstall[];

// "UninstallString" of the registration, as Windows would run it.
std::string uninstallCommandLine();
// The uninstall shortcut's target and arguments, as the shell would run them.
std::string uninstallShortcutCommandLine();

// Starts `commandLine` (in `workingDirectory`, "": the driver's own), answers
// the question about `productName` with Yes, checks that the program ends
// having handed over, and takes over its working copy once that shows a
// window captioned `copyCaption`. With `screenshots`, the question is saved
// as uninstall_question.
UiDriver& handOverWithYes(ProgramRuns& runs, const std::string& commandLine, const std::string& workingDirectory = "",
                          const std::string& productName = "Kestrel 3",
                          const std::string& copyCaption = kUninstallReportCaption, bool screenshots = false);
// Closes the working copy's final report (saved as uninstall_report with
// `screenshot`) and returns its text, once the copy has ended with
// `copyExitCode`.
std::string closeReport(UiDriver& copy, int copyExitCode = kUninstallDone, bool screenshot = false);
// Both: the whole uninstall, and the report's text.
std::string uninstallWithYes(ProgramRuns& runs, const std::string& commandLine,
                             const std::string& workingDirectory = "", int copyExitCode = kUninstallDone,
                             bool screenshots = false);
// An uninstall started with `commandLine` and answered Yes, whichever way the
// program that was started hands over (ending at once, or waiting for its
// working copy): the copy is taken over once it shows its first message, a
// question or its report.
struct Uninstall {
  UiDriver& original;
  UiDriver& copy;
};
Uninstall startUninstall(ProgramRuns& runs, const std::string& commandLine);
// The caption and the text of the next message that the uninstaller shows
// (UiDriver::captionAndText).
std::string nextMessage(UiDriver& program);
// Once the copy has ended with `copyExitCode` (closeReport): the program that
// was started has ended too, with the copy's exit code, or with
// kUninstallDone when it ended as soon as it had handed over.
void expectOriginalEnded(Uninstall& uninstall, int copyExitCode);

// Starts `commandLine` and answers the question with No; the program ends.
void declineUninstall(ProgramRuns& runs, const std::string& commandLine, const std::string& productName = "Kestrel 3");
// Wine's stand-in for a restart: carries out the deletions that the working
// copy left pending for its own file and folder.
void restartWindows();
