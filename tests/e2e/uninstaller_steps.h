#pragma once
// The uninstaller as a user meets it: started from the list of installed
// software (the registration's "UninstallString") or from its Start menu
// shortcut, it asks, hands over to its working copy in the Windows folder's Temp
// and waits for it; that copy reports at the end.
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

// An uninstall started with `commandLine` (in `workingDirectory`, "": the
// driver's own) and its question about `productName` answered Yes (saved as
// uninstall_question with `screenshots`): the working copy is taken over once
// it shows its first message, a question or its report.
struct Uninstall {
  UiDriver& original;
  UiDriver& copy;
};
Uninstall startUninstall(ProgramRuns& runs, const std::string& commandLine, const std::string& workingDirectory = "",
                         const std::string& productName = "Kestrel 3", bool screenshots = false);
// Closes the working copy's final report (saved as uninstall_report with
// `screenshot`) and returns its text, once the copy has ended with
// `copyExitCode` and the program that was started, which waits for it, with
// the same code.
std::string closeReport(Uninstall& uninstall, int copyExitCode = kUninstallDone, bool screenshot = false);
// Both: the whole uninstall, and the report's text.
std::string uninstallWithYes(ProgramRuns& runs, const std::string& commandLine,
                             const std::string& workingDirectory = "", int copyExitCode = kUninstallDone,
                             bool screenshots = false);
// The caption and the text of the next message that the uninstaller shows
// (UiDriver::captionAndText).
std::string nextMessage(UiDriver& program);
// Starts `commandLine` and answers the question with No; the program ends.
void declineUninstall(ProgramRuns& runs, const std::string& commandLine, const std::string& productName = "Kestrel 3");
// Wine's stand-in for a restart: carries out the deletions that the working
// copy left pending for its own file and folder.
void restartWindows();
