#include "page_license.h"

#include <string>

#include "module_strings.h"
#include "read_only_text_keys.h"
#include "resource_ids.h"

namespace {

// The agreement in reading order: its heading, then one paragraph or section
// heading per entry; 0 ends the table.
const UINT kAgreementStrings[] = {
    IDS_LICENSE_HEADING,
    IDS_LICENSE_NOTICE,
    IDS_LICENSE_PRODUCT_HEADING,
    IDS_LICENSE_NOT_SOLD,
    IDS_LICENSE_GRANT_HEADING,
    IDS_LICENSE_GRANT_INSTALLATION,
    IDS_LICENSE_GRANT_PERSONAL_USE,
    IDS_LICENSE_GRANT_DOCUMENTATION,
    IDS_LICENSE_LIMITS_HEADING,
    IDS_LICENSE_LIMITS_REVERSE_ENGINEERING,
    IDS_LICENSE_LIMITS_ONE_PRODUCT,
    IDS_LICENSE_LIMITS_RENTAL,
    IDS_LICENSE_LIMITS_SUPPORT,
    IDS_LICENSE_LIMITS_TRANSFER,
    IDS_LICENSE_LIMITS_TERMINATION,
    IDS_LICENSE_LIMITS_ONLINE_NETWORKS,
    IDS_LICENSE_LIMITS_MODEL_SETS,
    IDS_LICENSE_LIMITS_FLIGHT_SIMULATOR,
    IDS_LICENSE_LIMITS_LAWS,
    IDS_LICENSE_UPGRADES_HEADING,
    IDS_LICENSE_UPGRADES_ELIGIBILITY,
    IDS_LICENSE_UPGRADES_PACKAGES,
    IDS_LICENSE_PROPERTY_HEADING,
    IDS_LICENSE_PROPERTY,
    IDS_LICENSE_BACKUP_HEADING,
    IDS_LICENSE_BACKUP,
    IDS_LICENSE_LAW_HEADING,
    IDS_LICENSE_LAW,
    IDS_LICENSE_CONTACT,
    IDS_LICENSE_WARRANTY_HEADING,
    IDS_LICENSE_WARRANTY,
    IDS_LICENSE_WARRANTY_REMEDY,
    IDS_LICENSE_DISCLAIMER_HEADING,
    IDS_LICENSE_DISCLAIMER,
    IDS_LICENSE_DAMAGES_HEADING,
    IDS_LICENSE_DAMAGES,
    IDS_LICENSE_LIABILITY_HEADING,
    IDS_LICENSE_LIABILITY,
    IDS_LICENSE_ENTIRE_HEADING,
    IDS_LICENSE_ENTIRE,
    0,
};

// An empty line after every entry, the last one included; the edit control
// breaks lines only at CR LF.
const char kEntryEnd[] = "\r\n\r\n";

}  // namespace

WORD PageLicense::dialogTemplate() { return IDD_PAGE_LICENSE; }

void PageLicense::onCreate(Escort::WizardUI* frame, HWND window) {
  std::string agreement;
  for (const UINT* id = kAgreementStrings; *id != 0; ++id) agreement += loadString(*id) + kEntryEnd;
  HWND agreementBox = GetDlgItem(window, IDC_LICENSE_TEXT);
  SetWindowTextA(agreementBox, agreement.c_str());
  leaveDialogKeysToDialog(agreementBox);
  CheckDlgButton(window, IDC_LICENSE_ACCEPT, BST_UNCHECKED);
  KS3Page::onCreate(frame, window);
}

int PageLicense::onEnter(Escort::WizardUI* frame, HWND window) {
  updateLicenseButtons(frame, window);
  return KS3Page::onEnter(frame, window);
}

INT_PTR PageLicense::onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_LICENSE_ACCEPT) {
    updateLicenseButtons(frame, window);
    return 1;
  }
  return KS3Page::onMessage(frame, window, message, wParam, lParam);
}

void PageLicense::updateLicenseButtons(Escort::WizardUI* frame, HWND window) {
  const bool accepted = IsDlgButtonChecked(window, IDC_LICENSE_ACCEPT) == BST_CHECKED;
  frame->enableButtons(Escort::Unchanged, Escort::Unchanged, accepted ? Escort::Enabled : Escort::Disabled);
}
