#include "page_welcome.h"

#include <string>

#include "module_strings.h"
#include "resource_ids.h"

namespace {

struct WelcomeLine {
  UINT stringId;
  const char* followedBy;
};

// The title and subtitle stand on consecutive lines; an empty line sets off
// each paragraph after them.
const WelcomeLine kWelcomeLines[] = {
    {IDS_WELCOME_TITLE, "\n"},
    {IDS_WELCOME_SUBTITLE, "\n\n"},
    {IDS_WELCOME_PITCH, "\n\n"},
    {IDS_WELCOME_REQUIREMENT, "\n\n"},
    {IDS_WELCOME_CLOSE_APPLICATIONS, ""},
};

const ScalablePicture kWelcomePicture = {
    {WELCOME_PICTURE_PLACE},
    {IDB_WELCOME_PICTURE, IDB_WELCOME_PICTURE_125, IDB_WELCOME_PICTURE_150, IDB_WELCOME_PICTURE_200}};
const ScalablePicture kHeaderLogo = {
    {HEADER_LOGO_PLACE}, {IDB_HEADER_LOGO, IDB_HEADER_LOGO_125, IDB_HEADER_LOGO_150, IDB_HEADER_LOGO_200}};

}  // namespace

WORD PageWelcome::dialogTemplate() { return IDD_PAGE_WELCOME; }

void PageWelcome::onCreate(Escort::WizardUI* frame, HWND window) {
  std::string text;
  for (const WelcomeLine& line : kWelcomeLines) text += loadString(line.stringId) + line.followedBy;
  SetWindowTextA(GetDlgItem(window, IDC_WELCOME_TEXT), text.c_str());
  const POINT dpi = displayDpi();
  welcomePicture.show(GetDlgItem(window, IDC_WELCOME_PICTURE), frame->instance(), kWelcomePicture, dpi);
  headerLogo.show(GetDlgItem(GetParent(window), IDC_HEADER_LOGO), frame->instance(), kHeaderLogo, dpi);
  KS3Page::onCreate(frame, window);
}

bool PageWelcome::showsHeaderLogo() { return false; }
