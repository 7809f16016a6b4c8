#ifndef KESTREL_UNINSTALLER_IDS_H
#define KESTREL_UNINSTALLER_IDS_H
// Ids of the uninstaller's dialog, controls, strings and icon. The resource
// compiler reads this file too, so it holds nothing but #defines.
//
// What a driver meets, in order (every caption is exact; %1 is the product's
// "DisplayName", or the name given on the command line when there is no
// registration):
//
// 0. Either of them, started without administrator rights: a message box
//    captioned IDS_ERROR_CAPTION, text IDS_NOT_ADMINISTRATOR, one button IDOK
//    (1). Nothing has changed when it ends.
// 1. The program that was started (from "UninstallString" or the shortcut):
//    - no name, or no registration, or a damaged one, or no working copy:
//      a message box captioned IDS_ERROR_CAPTION "Kestrel Uninstaller Error",
//      text IDS_NO_NAME, IDS_NOT_REGISTERED, IDS_DAMAGED or IDS_COPY_FAILED,
//      one button IDOK (1). Nothing has changed when it ends.
//    - otherwise (also when there is no registration, but an installation
//      was interrupted, whose record the copy will settle) the question: a message box captioned IDS_QUESTION_CAPTION
//      "Kestrel Uninstaller", text IDS_QUESTION, buttons IDYES (6) and IDNO
//      (7). No changes nothing. Yes starts the working copy in the Windows
//      folder's Temp (self_removal.h) and the program ends at once.
// 2. The working copy, a process of its own (find its windows by caption and
//    wait for its process through GetWindowThreadProcessId):
//    - first it takes back an installation that was interrupted; when that
//      cannot be done whole, or its record cannot be read, a message box
//      captioned IDS_ERROR_CAPTION, text IDS_INTERRUPTED_NOT_TAKEN_BACK or
//      IDS_INTERRUPTED_DAMAGED, and nothing is removed;
//    - the progress dialog IDD_UNINSTALL_PROGRESS, captioned with
//      IDS_PROGRESS_CAPTION "Uninstalling %1"; no buttons. Controls:
//      IDC_UNINSTALL_DESCRIPTION, the current event's "EscortDesc" text;
//      IDC_UNINSTALL_PROGRESS, a progress bar whose range is the number of
//      events and whose position is the number handled.
//    - the final report: a message box captioned IDS_REPORT_CAPTION
//      "Kestrel Uninstaller Finished", one button IDOK (1); its text begins
//      with IDS_REPORT_DONE when everything was removed (and the registration
//      with it), else with IDS_REPORT_FAILED; IDS_REPORT_REFUSED and
//      IDS_REPORT_KEPT sections follow when there is something to list. The
//      copy ends when the box is closed.
// A message box's text is its static control 0xFFFF (65535), on Windows
// XP..11 and under Wine 8.0 alike (not documented: as observed).

// The progress dialog and its controls.
#define IDD_UNINSTALL_PROGRESS 101
#define IDC_UNINSTALL_DESCRIPTION 1001
#define IDC_UNINSTALL_PROGRESS 1002

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Captions.
#define IDS_QUESTION_CAPTION 1
#define IDS_ERROR_CAPTION 2
#define IDS_PROGRESS_CAPTION 3
#define IDS_REPORT_CAPTION 4

// Texts before anything is changed.
#define IDS_QUESTION 10
#define IDS_NO_NAME 11
#define IDS_NOT_REGISTERED 12
#define IDS_DAMAGED 13
#define IDS_COPY_FAILED 14
// An interrupted installation, taken back before anything is removed: %1 what
// could not be put back, or what is wrong with its record and %2 its key.
#define IDS_INTERRUPTED_NOT_TAKEN_BACK 15
#define IDS_INTERRUPTED_DAMAGED 16
#define IDS_ALREADY_RUNNING 17
// A file another program holds: %1 the file, with the programs holding it.
#define IDS_FILE_IN_USE 18
#define IDS_FILE_IN_USE_BY 19
// Before anything else: no administrator rights.
#define IDS_NOT_ADMINISTRATOR 26

// The final report (uninstall_report.h says what each pattern receives).
#define IDS_REPORT_DONE 20
#define IDS_REPORT_FAILED 21
#define IDS_REPORT_FAILED_ITEM 22
#define IDS_REPORT_REFUSED 23
#define IDS_REPORT_KEPT 24
#define IDS_REPORT_MORE 25
#define IDS_REPORT_AT_RESTART 30
#define IDS_REPORT_LINKS 32
// While the run waits for another program to let go of a file being deleted: %1 the file.
#define IDS_WAITING_FOR 31
// The drives a settlement cannot reach: %1 their roots.
#define IDS_DRIVES_MISSING 28
// The removal could not be recorded: %1 the Windows error.
#define IDS_RECORD_FAILED 29

// The program file's icon; Explorer shows it.
#define IDI_UNINSTALLER 1

#endif
