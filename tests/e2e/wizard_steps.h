#pragma once
// The wizard as a user meets it: what its first pages must show, and the
// steps that most scenarios share.
#include <string>

#include "scenario_run.h"

// The welcome page's text as the user reads it.
extern const char kWelcomeText[];
// The question that Cancel asks, and its caption.
extern const char kCancelCaption[];
extern const char kCancelQuestion[];

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
