// The setup program's resources as this test executable embeds them (setup.rc):
// string table, dialog templates and the windows made from them, bitmaps and
// icon (the manifest is checked in the shipped programs, check-manifests.py).
// Raw resource bytes are read where the loaders would convert (bitmap depth,
// icon sizes) or hide (template styles, fonts) what is stored.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <ios>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "bitmap_pixels.h"
#include "module_strings.h"
#include "picture_for_scale.h"
#include "resource_ids.h"

namespace {

const WORD kEnglishCanada = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_CAN);

// The bytes of resource `name` of `type` in English (Canada); empty if missing.
std::string rawResource(LPCSTR type, LPCSTR name) {
  HRSRC found = FindResourceExA(nullptr, type, name, kEnglishCanada);
  if (found == nullptr) return std::string();
  const char* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  return std::string(data, SizeofResource(nullptr, found));
}

std::string narrow(const std::u16string& wide) {
  if (wide.empty()) return std::string();
  const auto* text = reinterpret_cast<const wchar_t*>(wide.data());
  const int size = static_cast<int>(wide.size());
  std::string result(WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, size, &result[0], static_cast<int>(result.size()), nullptr, nullptr);
  return result;
}

// Reads little-endian fields of a resource in order.
class ResourceReader {
 public:
  explicit ResourceReader(const std::string& bytes) : bytes_(bytes) {}
  uint8_t byte() { return at_ < bytes_.size() ? static_cast<uint8_t>(bytes_[at_++]) : 0; }
  uint16_t word() {
    const uint16_t low = byte();
    return static_cast<uint16_t>(low | byte() << 8);
  }
  uint32_t dword() {
    const uint32_t low = word();
    return low | static_cast<uint32_t>(word()) << 16;
  }
  std::u16string counted(uint16_t length) {
    std::u16string text;
    while (length-- > 0) text += static_cast<char16_t>(word());
    return text;
  }
  // A zero-terminated UTF-16 string, or an ordinal (0xFFFF, n) read as "#n".
  std::string stringOrOrdinal() {
    uint16_t first = word();
    if (first == 0xFFFF) return "#" + std::to_string(word());
    std::u16string text;
    for (; first != 0; first = word()) text += static_cast<char16_t>(first);
    return narrow(text);
  }
  void alignToDword() { at_ = (at_ + 3) & ~static_cast<size_t>(3); }
  void skip(size_t count) { at_ += count; }

 private:
  const std::string& bytes_;
  size_t at_ = 0;
};

// The text of string `id` straight from its 16-string bundle, as a reference
// that does not go through LoadStringA.
std::string rawString(unsigned id) {
  const std::string bundle = rawResource(RT_STRING, MAKEINTRESOURCEA(id / 16 + 1));
  if (bundle.empty()) return std::string();
  ResourceReader reader(bundle);
  for (unsigned index = 0; index < id % 16; ++index) reader.skip(2 * reader.word());
  return narrow(reader.counted(reader.word()));
}

class StringTable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { moduleInstance = GetModuleHandleA(nullptr); }
};

struct FixedString {
  unsigned id;
  const char* text;
};

const FixedString kFixedStrings[] = {
    {IDS_WELCOME_TITLE, "Welcome to Kestrel 3"},
    {IDS_WELCOME_SUBTITLE, "for Microsoft Flight Simulator"},
    {IDS_WELCOME_PITCH, "Kestrel is the best way for online pilots to get access to live air traffic control services.  And this version makes it easier than ever."},
    {IDS_WELCOME_REQUIREMENT, "You must have Microsoft Flight Simulator 2002 or 2004 in order to use Kestrel."},
    {IDS_LICENSE_HEADING, "END USER LICENSE AGREEMENT FOR KESTREL 3 SOFTWARE"},
    {IDS_ERROR_EXTRACTION_START, "An error occurred initializing the file extraction.\nThe installer will now close."},
    {IDS_UNINSTALL_PROGRAM_FILES, "Deleting Kestrel program files"},
    {IDS_CANCEL_CAPTION, "Kestrel Installer"},
    {IDS_CANCEL_QUESTION, "Are you sure you want to exit without completing the installation of Kestrel?"},
    {IDS_ERROR_INSTALL_FILES, "An error occurred while installing the files.\nThe installer will now close."},
    {IDS_ERROR_CAPTION, "Kestrel Installer Error"},
    {IDS_WELCOME_CLOSE_APPLICATIONS, "It is recommended that you exit all applications prior to running this installer."},
    {IDS_UNINSTALL_MODULE_DLL, "Deleting Kestrel module DLL"},
    {IDS_START_MENU_FOLDER, "Kestrel 3"},
    {IDS_SHORTCUT_UNINSTALL, "Uninstall Kestrel"},
    {IDS_SHORTCUT_USER_GUIDE, "User Guide"},
    {IDS_ERROR_NO_SIMULATOR, "A valid version of Microsoft Flight Simulator does not appear to be installed on your machine.\nTo use Kestrel you must have Microsoft Flight Simulator 2002 or Microsoft Flight Simulator 2004."},
    {IDS_ERROR_REGISTRY, "An error occurred while updating the system registry.\nEnsure you have adequate privileges to install software on this machine.\nThe installer will now close."},
    {IDS_ERROR_START_MENU, "An error occurred while updating the Start Menu.\nThe installer will now close."},
    {IDS_ERROR_UNINSTALLER, "An error occurred while setting up the uninstaller application.\nThe installer will now close."},
    {IDS_UNINSTALL_TRANSPONDER_DLL, "Deleting transponder DLL"},
    {IDS_UNINSTALL_AUTO_JOIN_DLL, "Deleting multiplayer auto-join DLL"},
    {IDS_UNINSTALL_REGISTRY, "Clearing registry entries"},
    {IDS_UNINSTALL_DEFAULT_MODELS, "Deleting Kestrel default model set"},
    {IDS_UNINSTALL_MARLIN_MODELS, "Deleting Marlin model set"},
    {IDS_UNINSTALL_START_MENU, "Removing start menu"},
    {IDS_ERROR_NO_ROOM, "There is not enough free space to install Kestrel.\n\nFolder: %1\nSpace needed: %2 KB\n"
                        "Space free: %3 KB\n\nNothing has been changed.  The installer will now close."},
};

TEST_F(StringTable, FixedTextsLoadExactly) {
  for (const FixedString& entry : kFixedStrings) {
    EXPECT_EQ(loadString(entry.id), entry.text) << "string " << entry.id;
  }
}

TEST_F(StringTable, LineFeedIsOneCharacterWithoutCarriageReturn) {
  const std::string text = loadString(IDS_ERROR_REGISTRY);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.substr(52, 3), ".\nE");
}

TEST_F(StringTable, UnusedIdsLoadEmpty) {
  for (unsigned id : {114u, 115u, 116u, 117u, 118u, 119u, 120u, 135u, 299u, 999u}) {
    EXPECT_EQ(loadString(id), "") << "string " << id;
  }
}

TEST_F(StringTable, EveryEntryLoadsWhole) {
  for (unsigned id = IDS_WELCOME_TITLE; id <= IDS_LICENSE_LAST; ++id) {
    EXPECT_EQ(loadString(id), rawString(id)) << "string " << id;
  }
}

// The first buffer holds 64 characters with the terminator: 62 fit at once,
// 63 fill it and need a second attempt, 64 are cut in the first.
TEST_F(StringTable, EntriesAroundTheFirstBufferSizeLoadWhole) {
  const struct {
    unsigned id;
    size_t length;
  } cases[] = {{IDS_LICENSE_NOT_SOLD, 62}, {IDS_LICENSE_LIABILITY_HEADING, 63}, {IDS_LICENSE_CONTACT, 64}};
  for (const auto& c : cases) {
    const std::string text = loadString(c.id);
    EXPECT_EQ(text.size(), c.length) << "string " << c.id;
    EXPECT_EQ(text, rawString(c.id)) << "string " << c.id;
  }
}

TEST_F(StringTable, LongestLicenseParagraphLoadsWhole) {
  const std::string text = loadString(IDS_LICENSE_LIMITS_ONLINE_NETWORKS);
  EXPECT_EQ(text.size(), 1246u);
  EXPECT_EQ(text, rawString(IDS_LICENSE_LIMITS_ONLINE_NETWORKS));
  EXPECT_EQ(text.back(), '.');
}

class LicenseAgreement : public StringTable {};

const unsigned kLicenseHeadings[] = {
    IDS_LICENSE_PRODUCT_HEADING, IDS_LICENSE_GRANT_HEADING,      IDS_LICENSE_LIMITS_HEADING,
    IDS_LICENSE_UPGRADES_HEADING, IDS_LICENSE_PROPERTY_HEADING,  IDS_LICENSE_BACKUP_HEADING,
    IDS_LICENSE_LAW_HEADING,      IDS_LICENSE_WARRANTY_HEADING,  IDS_LICENSE_DISCLAIMER_HEADING,
    IDS_LICENSE_DAMAGES_HEADING,  IDS_LICENSE_LIABILITY_HEADING, IDS_LICENSE_ENTIRE_HEADING,
};

bool isLicenseHeading(unsigned id) {
  for (unsigned heading : kLicenseHeadings) {
    if (heading == id) return true;
  }
  return false;
}

TEST_F(LicenseAgreement, HasThirtyNineSingleLineEntries) {
  EXPECT_EQ(IDS_LICENSE_LAST - IDS_LICENSE_FIRST + 1, 39);
  for (unsigned id = IDS_LICENSE_FIRST; id <= IDS_LICENSE_LAST; ++id) {
    const std::string text = loadString(id);
    EXPECT_FALSE(text.empty()) << "string " << id;
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << "string " << id;
  }
}

TEST_F(LicenseAgreement, HeadingsAreShortAndParagraphsLonger) {
  size_t shortest = SIZE_MAX, longest = 0;
  for (unsigned id = IDS_LICENSE_FIRST; id <= IDS_LICENSE_LAST; ++id) {
    const size_t length = loadString(id).size();
    if (isLicenseHeading(id)) {
      shortest = std::min(shortest, length);
      longest = std::max(longest, length);
    } else {
      EXPECT_GE(length, 62u) << "string " << id;
    }
  }
  EXPECT_EQ(shortest, 12u);
  EXPECT_EQ(longest, 68u);
}

TEST_F(LicenseAgreement, SectionsAreNumberedInReadingOrder) {
  // The first heading names the licence itself; sections 1 to 11 follow.
  for (size_t section = 1; section < std::size(kLicenseHeadings); ++section) {
    const std::string number = std::to_string(section) + ". ";
    EXPECT_EQ(loadString(kLicenseHeadings[section]).compare(0, number.size(), number), 0) << number;
  }
}

TEST_F(LicenseAgreement, ContactParagraphNamesAnAddress) {
  EXPECT_NE(loadString(IDS_LICENSE_CONTACT).find('@'), std::string::npos);
}

// The agreement as the licence page joins it: heading and entries, each
// followed by an empty line.
std::string joinedAgreement() {
  std::string agreement = loadString(IDS_LICENSE_HEADING) + "\r\n\r\n";
  for (unsigned id = IDS_LICENSE_FIRST; id <= IDS_LICENSE_LAST; ++id) agreement += loadString(id) + "\r\n\r\n";
  return agreement;
}

TEST_F(LicenseAgreement, JoinedAsThePageShowsItIs13380Characters) { EXPECT_EQ(joinedAgreement().size(), 13380u); }

// Dialog templates, exactly as stored.

struct ControlLayout {
  int id;
  const char* className;
  DWORD style;
  const char* text;
  short x, y, cx, cy;
};

struct DialogLayout {
  unsigned id;
  DWORD style;
  const char* caption;
  short cx, cy;
  BYTE charset;
  std::vector<ControlLayout> controls;
};

const DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;
const DWORD kPushButton = kVisibleChild | BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kLeftText = kVisibleChild | SS_LEFT | WS_GROUP;
const DWORD kCentredText = kVisibleChild | SS_CENTER | WS_GROUP;
const DWORD kCheckBox = kVisibleChild | BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kTypeRadio = kVisibleChild | BS_AUTORADIOBUTTON | BS_MULTILINE;
const DWORD kPageStyle = WS_CHILD | DS_CONTROL | DS_SETFONT | DS_FIXEDSYS;

const std::vector<DialogLayout>& dialogLayouts() {
  static const std::vector<DialogLayout> layouts = {
      {IDD_WIZARD_FRAME, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS,
       "Kestrel 3 Installer", 300, 260, 1,
       {
           {IDC_BACK, "BUTTON", kPushButton, "<< &Back", 187, 239, 50, 14},
           {IDCANCEL, "BUTTON", kPushButton, "Cancel", 7, 239, 50, 14},
           {IDC_NEXT, "BUTTON", kPushButton, "&Next >>", 243, 239, 50, 14},
           {IDC_FINISH, "BUTTON", kPushButton, "&Finish", 243, 239, 50, 14},
           {IDC_HEADER_LOGO, "STATIC", kVisibleChild | SS_BITMAP, "#107", 234, 7, 59, 21},
           {IDC_PAGE_ANCHOR, "STATIC", WS_CHILD | SS_LEFT | WS_GROUP, "", 7, 38, 8, 8},
       }},
      {IDD_PAGE_WELCOME, kPageStyle, "", 290, 192, 0,
       {
           {IDC_WELCOME_TEXT, "STATIC", kCentredText, "", 7, 94, 275, 91},
           {IDC_WELCOME_PICTURE, "STATIC", kVisibleChild | SS_BITMAP, "#103", 60, 7, 167, 77},
       }},
      {IDD_PAGE_LICENSE, kPageStyle, "", 290, 192, 0,
       {
           {IDC_LICENSE_TEXT, "EDIT",
            kVisibleChild | ES_MULTILINE | ES_READONLY | WS_BORDER | WS_VSCROLL | WS_TABSTOP, "", 7, 47, 275, 105},
           {IDC_STATIC, "STATIC", kLeftText,
            "Please read the following License Agreement.  To install this software, you must accept the terms of "
            "the agreement.",
            7, 7, 275, 24},
           {IDC_LICENSE_ACCEPT, "BUTTON", kCheckBox, "I accept all the terms of the preceeding License Agreement.", 7,
            156, 207, 10},
           {IDC_STATIC, "STATIC", kLeftText, "Kestrel 3 Software License Agreement", 7, 35, 275, 8},
           {IDC_STATIC, "STATIC", kLeftText, "Check this box and click Next to continue installtion.", 7, 177, 275, 8},
       }},
      {IDD_PAGE_TYPE, kPageStyle, "", 290, 192, 0,
       {
           {IDC_STATIC, "STATIC", kLeftText,
            "You can run Kestrel on the same computer as Flight Simulator, or you can run it on a separate computer "
            "connected via a network.  In that case, this installer must be run on both computers.\n\nPlease select "
            "the appropriate option below.",
            7, 7, 275, 52},
           {IDC_TYPE_ONE_COMPUTER, "BUTTON", kTypeRadio,
            "I want to run Kestrel and Flight Simulator on &one computer only.", 7, 71, 275, 17},
           {IDC_TYPE_KESTREL_COMPUTER, "BUTTON", kTypeRadio,
            "I want to run Kestrel and Flight Simulator on separate computers.  This computer will run &Kestrel.", 7,
            98, 275, 17},
           {IDC_TYPE_SIMULATOR_COMPUTER, "BUTTON", kTypeRadio,
            "I want to run Kestrel and Flight Simulator on separate computers.  This computer will run &Flight "
            "Simulator.",
            7, 125, 275, 17},
       }},
      {IDD_PAGE_KESTREL_DIR, kPageStyle, "", 290, 192, 0,
       {
           {IDC_KESTREL_DIR_PROMPT, "STATIC", kLeftText, "Please choose a directory in which to install Kestrel.", 7, 7,
            275, 17},
           {IDC_KESTREL_DIR_GROUP, "BUTTON", kVisibleChild | BS_GROUPBOX, "Kestrel Directory", 7, 35, 275, 38},
           {IDC_KESTREL_DIR_PATH, "STATIC", kLeftText, "C:\\Program Files\\Kestrel\\", 17, 52, 192, 8},
           {IDC_KESTREL_DIR_CHANGE, "BUTTON", kPushButton, "&Change...", 221, 49, 50, 14},
       }},
      {IDD_PAGE_PROGRESS, kPageStyle, "", 290, 192, 0,
       {
           {IDC_PROGRESS_BAR, "msctls_progress32", kVisibleChild | WS_BORDER | PBS_SMOOTH, "", 7, 92, 251, 14},
           {IDC_STATIC, "STATIC", kCentredText, "Kestrel is now installing....", 7, 48, 275, 17},
           {IDC_PROGRESS_PERCENT, "STATIC", kLeftText, "100%", 261, 95, 21, 8},
           {IDC_PROGRESS_FILE, "STATIC", kCentredText, "Static", 7, 111, 275, 32},
       }},
      {IDD_PAGE_FINISHED, kPageStyle, "", 290, 192, 0,
       {
           {IDC_STATIC, "STATIC", kLeftText,
            "Congratulations!  The installation completed successfully.  If you are running Kestrel and Flight "
            "Simulator on separate computers, ensure that you run this installer on both computers.",
            7, 7, 275, 34},
           {IDC_FINISHED_README, "BUTTON", kCheckBox, "View the Kestrel README file", 7, 82, 275, 10},
           {IDC_FINISHED_USER_GUIDE, "BUTTON", kCheckBox | BS_MULTILINE,
            "Read the Kestrel User Guide to learn how to get started flying using Kestrel 3", 7, 52, 275, 17},
       }},
      {IDD_PAGE_SIMULATOR_VERSION, kPageStyle, "", 290, 192, 0,
       {
           {IDC_SIMULATOR_VERSION_PROMPT, "STATIC", kLeftText,
            "There are multiple versions of Flight Simulator installed on this computer.  Please choose which you "
            "want to use with Kestrel.",
            7, 27, 275, 17},
           {IDC_SIMULATOR_VERSION_FS2002, "BUTTON", kVisibleChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP,
            "Microsoft Flight Simulator 200&2", 20, 54, 262, 10},
           {IDC_SIMULATOR_VERSION_FS2004, "BUTTON", kVisibleChild | BS_AUTORADIOBUTTON,
            "Microsoft Flight Simulator 200&4", 20, 70, 262, 10},
           {IDC_SIMULATOR_VERSION_BOTH, "BUTTON", kVisibleChild | BS_AUTORADIOBUTTON, "&Both", 20, 86, 262, 10},
       }},
  };
  return layouts;
}

void PrintTo(const DialogLayout& layout, std::ostream* out) { *out << "dialog " << layout.id; }

// The predefined classes that a template may name by atom instead.
std::string classFromTemplate(const std::string& stored) {
  if (stored == "#128") return "BUTTON";
  if (stored == "#129") return "EDIT";
  if (stored == "#130") return "STATIC";
  return stored;
}

bool sameClass(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class DialogTemplate : public ::testing::TestWithParam<DialogLayout> {};

TEST_P(DialogTemplate, IsStoredAsListed) {
  const DialogLayout& layout = GetParam();
  const std::string bytes = rawResource(RT_DIALOG, MAKEINTRESOURCEA(layout.id));
  ASSERT_FALSE(bytes.empty()) << "dialog " << layout.id << " in English (Canada)";
  ResourceReader reader(bytes);

  EXPECT_EQ(reader.word(), 1);       // extended template, version 1
  EXPECT_EQ(reader.word(), 0xFFFF);  // ... with its signature
  reader.dword();                    // help id
  EXPECT_EQ(reader.dword(), 0u) << "extended style";
  const DWORD style = reader.dword();
  EXPECT_EQ(style, layout.style) << std::hex << "style 0x" << style << " instead of 0x" << layout.style;
  const uint16_t controlCount = reader.word();
  EXPECT_EQ(static_cast<short>(reader.word()), 0);
  EXPECT_EQ(static_cast<short>(reader.word()), 0);
  EXPECT_EQ(static_cast<short>(reader.word()), layout.cx);
  EXPECT_EQ(static_cast<short>(reader.word()), layout.cy);
  EXPECT_EQ(reader.stringOrOrdinal(), "") << "menu";
  EXPECT_EQ(reader.stringOrOrdinal(), "") << "window class";
  EXPECT_EQ(reader.stringOrOrdinal(), layout.caption);
  EXPECT_EQ(reader.word(), 8) << "font size";
  EXPECT_EQ(reader.word(), 400) << "font weight";
  EXPECT_EQ(reader.byte(), 0) << "italic";
  EXPECT_EQ(reader.byte(), layout.charset);
  EXPECT_EQ(reader.stringOrOrdinal(), "MS Shell Dlg");

  ASSERT_EQ(controlCount, layout.controls.size());
  for (const ControlLayout& control : layout.controls) {
    SCOPED_TRACE(testing::Message() << "control " << control.id << " \"" << control.text << "\"");
    reader.alignToDword();
    reader.dword();  // help id
    EXPECT_EQ(reader.dword(), 0u) << "extended style";
    const DWORD style = reader.dword();
    EXPECT_EQ(style, control.style) << std::hex << "style 0x" << style << " instead of 0x" << control.style;
    EXPECT_EQ(static_cast<short>(reader.word()), control.x);
    EXPECT_EQ(static_cast<short>(reader.word()), control.y);
    EXPECT_EQ(static_cast<short>(reader.word()), control.cx);
    EXPECT_EQ(static_cast<short>(reader.word()), control.cy);
    EXPECT_EQ(static_cast<int32_t>(reader.dword()), control.id);
    EXPECT_TRUE(sameClass(classFromTemplate(reader.stringOrOrdinal()), control.className));
    EXPECT_EQ(reader.stringOrOrdinal(), control.text);
    reader.skip(reader.word());  // creation data
  }
}

std::string dialogName(const testing::TestParamInfo<DialogLayout>& info) {
  return "Dialog" + std::to_string(info.param.id);
}

INSTANTIATE_TEST_SUITE_P(SetupDialogs, DialogTemplate, testing::ValuesIn(dialogLayouts()), dialogName);

// Dialog windows made from the templates, as the frame makes them: the frame
// as a top-level window, the pages as its children; all stay hidden.

INT_PTR CALLBACK quietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class DialogWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The progress page's bar needs its class registered, as start-up does.
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
  }
  void SetUp() override {
    frame = createDialog(IDD_WIZARD_FRAME, nullptr);
    ASSERT_NE(frame, nullptr);
  }
  void TearDown() override { DestroyWindow(frame); }

  static HWND createDialog(unsigned id, HWND parent) {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), parent, quietDialogProc, 0);
  }

  HWND frame = nullptr;
};

std::string windowClass(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

TEST_F(DialogWindows, EveryControlIsCreatedInTemplateOrderWithItsClass) {
  for (const DialogLayout& layout : dialogLayouts()) {
    SCOPED_TRACE(testing::Message() << "dialog " << layout.id);
    HWND dialog = layout.id == IDD_WIZARD_FRAME ? frame : createDialog(layout.id, frame);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(GetWindowLongA(dialog, GWL_STYLE) & WS_VISIBLE);

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlLayout& control : layout.controls) {
      SCOPED_TRACE(testing::Message() << "control " << control.id << " \"" << control.text << "\"");
      ASSERT_NE(child, nullptr);
      EXPECT_EQ(static_cast<short>(GetDlgCtrlID(child)), control.id);
      EXPECT_TRUE(sameClass(windowClass(child), control.className)) << windowClass(child);
      EXPECT_EQ((GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0, (control.style & WS_VISIBLE) != 0);
      if (control.id != IDC_STATIC) {
        EXPECT_EQ(GetDlgItem(dialog, control.id), child);
      }
      child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than listed";
    if (dialog != frame) DestroyWindow(dialog);
  }
}

TEST_F(DialogWindows, NextAndFinishAreBothShownUntilTheFrameChooses) {
  RECT next, finish;
  GetWindowRect(GetDlgItem(frame, IDC_NEXT), &next);
  GetWindowRect(GetDlgItem(frame, IDC_FINISH), &finish);
  EXPECT_TRUE(EqualRect(&next, &finish));
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(frame, IDC_NEXT), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(frame, IDC_FINISH), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongA(GetDlgItem(frame, IDC_PAGE_ANCHOR), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(DialogWindows, PicturesShowTheirBitmaps) {
  HWND header = GetDlgItem(frame, IDC_HEADER_LOGO);
  EXPECT_NE(SendMessageA(header, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

  HWND welcome = createDialog(IDD_PAGE_WELCOME, frame);
  ASSERT_NE(welcome, nullptr);
  EXPECT_NE(SendMessageA(GetDlgItem(welcome, IDC_WELCOME_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  DestroyWindow(welcome);
}

TEST_F(DialogWindows, TypeIntroductionKeepsItsEmptyLine) {
  HWND page = createDialog(IDD_PAGE_TYPE, frame);
  ASSERT_NE(page, nullptr);
  char text[512] = "";
  GetWindowTextA(GetWindow(page, GW_CHILD), text, sizeof(text));
  EXPECT_NE(std::strstr(text, "computers.\n\nPlease select"), nullptr) << text;
  DestroyWindow(page);
}

TEST_F(DialogWindows, LicenseBoxTakesTheWholeAgreement) {
  moduleInstance = GetModuleHandleA(nullptr);
  const std::string agreement = joinedAgreement();

  HWND page = createDialog(IDD_PAGE_LICENSE, frame);
  ASSERT_NE(page, nullptr);
  HWND box = GetDlgItem(page, IDC_LICENSE_TEXT);
  ASSERT_TRUE(SetWindowTextA(box, agreement.c_str()));
  EXPECT_EQ(GetWindowTextLengthA(box), static_cast<int>(agreement.size()));
  DestroyWindow(page);
}

// Bitmaps: the stored header, not what LoadImage makes of it for the screen.

struct StoredBitmap {
  BITMAPINFOHEADER header;
  size_t size;
};

StoredBitmap storedBitmap(unsigned id) {
  StoredBitmap bitmap = {};
  const std::string bytes = rawResource(RT_BITMAP, MAKEINTRESOURCEA(id));
  bitmap.size = bytes.size();
  if (bytes.size() >= sizeof(bitmap.header)) std::memcpy(&bitmap.header, bytes.data(), sizeof(bitmap.header));
  return bitmap;
}

// Each picture at 100 % (the template's) and at 125, 150 and 200 % of that,
// halves rounded up: the welcome picture with a palette of 255 colours, the
// header logo in true colour.
struct Drawing {
  unsigned id;
  LONG width, height;
  WORD bitsPerPixel;
  DWORD coloursUsed;
};

const Drawing kDrawings[] = {
    {IDB_WELCOME_PICTURE, 250, 125, 8, 255},     {IDB_WELCOME_PICTURE_125, 313, 156, 8, 255},
    {IDB_WELCOME_PICTURE_150, 375, 188, 8, 255}, {IDB_WELCOME_PICTURE_200, 500, 250, 8, 255},
    {IDB_HEADER_LOGO, 88, 34, 24, 0},            {IDB_HEADER_LOGO_125, 110, 43, 24, 0},
    {IDB_HEADER_LOGO_150, 132, 51, 24, 0},       {IDB_HEADER_LOGO_200, 176, 68, 24, 0},
};

TEST(Bitmaps, EveryDrawingIsStoredUncompressedAtItsSizeAndDepth) {
  for (const Drawing& drawing : kDrawings) {
    SCOPED_TRACE(testing::Message() << "bitmap " << drawing.id);
    const StoredBitmap bitmap = storedBitmap(drawing.id);
    EXPECT_EQ(bitmap.header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(bitmap.header.biWidth, drawing.width);
    EXPECT_EQ(bitmap.header.biHeight, drawing.height);
    EXPECT_EQ(bitmap.header.biPlanes, 1);
    EXPECT_EQ(bitmap.header.biBitCount, drawing.bitsPerPixel);
    EXPECT_EQ(bitmap.header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(bitmap.header.biClrUsed, drawing.coloursUsed);
    EXPECT_EQ(bitmap.header.biXPelsPerMeter, 2834);
    EXPECT_EQ(bitmap.header.biYPelsPerMeter, 2834);
    // Header, palette, and rows padded to whole 32-bit words.
    const size_t stride = (static_cast<size_t>(drawing.width) * drawing.bitsPerPixel / 8 + 3) & ~size_t{3};
    EXPECT_EQ(bitmap.size, sizeof(BITMAPINFOHEADER) + drawing.coloursUsed * sizeof(RGBQUAD) + stride * drawing.height);
  }
}

TEST(Bitmaps, LoadAsSectionsOfTheirOwnDepth) {
  for (const Drawing& drawing : kDrawings) {
    HANDLE bitmap = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(drawing.id), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION);
    ASSERT_NE(bitmap, nullptr) << "bitmap " << drawing.id;
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectA(bitmap, sizeof(section), &section), static_cast<int>(sizeof(section)));
    EXPECT_EQ(section.dsBm.bmWidth, drawing.width);
    EXPECT_EQ(section.dsBm.bmHeight, drawing.height);
    EXPECT_EQ(section.dsBm.bmBitsPixel, drawing.bitsPerPixel);
    DeleteObject(bitmap);
  }
}

// Icon group 108: a 32 x 32 image at 8 bits per pixel and a 16 x 16 one at 4,
// then 48, 24 and 256 pixels at 32 with an alpha channel, the last one a PNG
// file (its size 0 in the group's one-byte fields).

TEST(Icon, GroupHoldsItsImagesAtTheListedSizesAndDepths) {
  const std::string group = rawResource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_SETUP));
  ASSERT_FALSE(group.empty());
  ResourceReader reader(group);
  EXPECT_EQ(reader.word(), 0);  // reserved
  EXPECT_EQ(reader.word(), 1);  // icons, not cursors
  ASSERT_EQ(reader.word(), 5);

  const struct {
    int size;
    uint8_t colourCount;
    uint16_t bitsPerPixel;
    bool png;
  } expected[] = {{32, 0, 8, false}, {16, 16, 4, false}, {48, 0, 32, false}, {24, 0, 32, false}, {256, 0, 32, true}};
  for (const auto& image : expected) {
    SCOPED_TRACE(testing::Message() << image.size << " x " << image.size);
    EXPECT_EQ(reader.byte(), image.size % 256);
    EXPECT_EQ(reader.byte(), image.size % 256);
    EXPECT_EQ(reader.byte(), image.colourCount);
    reader.byte();  // reserved
    EXPECT_EQ(reader.word(), 1);  // planes
    EXPECT_EQ(reader.word(), image.bitsPerPixel);
    const uint32_t bytes = reader.dword();
    const uint16_t imageId = reader.word();

    const std::string stored = rawResource(RT_ICON, MAKEINTRESOURCEA(imageId));
    ASSERT_EQ(stored.size(), bytes);
    if (image.png) {
      // Signature, then the IHDR chunk: width and height, 8 bits a channel, RGBA.
      ASSERT_GE(stored.size(), 26u);
      EXPECT_EQ(stored.substr(0, 8), "\x89PNG\r\n\x1a\n");
      EXPECT_EQ(stored.substr(12, 4), "IHDR");
      EXPECT_EQ(stored.substr(16, 10), std::string("\0\0\x01\0\0\0\x01\0\x08\x06", 10));
      continue;
    }
    // A bitmap of colour pixels and mask, hence twice the height.
    BITMAPINFOHEADER header;
    ASSERT_GE(stored.size(), sizeof(header));
    std::memcpy(&header, stored.data(), sizeof(header));
    EXPECT_EQ(header.biWidth, image.size);
    EXPECT_EQ(header.biHeight, 2 * image.size);
    EXPECT_EQ(header.biBitCount, image.bitsPerPixel);
  }
}

TEST(Icon, LoadsAtEverySize) {
  for (int size : {16, 24, 32, 48, 256}) {
    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info)) << size;
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

// A picture control given the drawing for a display scale, as the welcome
// page gives its own and the header logo theirs. At Windows' steps it shows
// that step's drawing as it is; between them the next larger one reduced to
// the scaled size; above 200 % the largest, enlarged. At 96 DPI it keeps the
// template's own bitmap.

struct ShownPicture {
  LONG width = 0, height = 0;
  bool templatesOwn = false;
  bool unchangedDrawing = false;  // the pixels of resource `expectedDrawing` exactly
};

ShownPicture showAtDpi(HWND parent, UINT expectedDrawing, int dpi) {
  HWND page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PAGE_WELCOME), parent,
                                 quietDialogProc, 0);
  HWND control = GetDlgItem(page, IDC_WELCOME_PICTURE);
  const LPARAM templatesOwn = SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0);
  ShownPicture shown;
  {
    PictureForScale picture;
    picture.show(control, GetModuleHandleA(nullptr),
                 {{WELCOME_PICTURE_PLACE},
                  {IDB_WELCOME_PICTURE, IDB_WELCOME_PICTURE_125, IDB_WELCOME_PICTURE_150, IDB_WELCOME_PICTURE_200}},
                 {dpi, dpi});
    auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size = {};
    GetObjectA(bitmap, sizeof size, &size);
    RECT client = {};
    GetClientRect(control, &client);
    EXPECT_EQ(client.right, size.bmWidth) << "the control takes the size of its bitmap";
    EXPECT_EQ(client.bottom, size.bmHeight) << "the control takes the size of its bitmap";
    shown.width = size.bmWidth;
    shown.height = size.bmHeight;
    // Its place in the template, in this dialog's pixels: the top edge kept,
    // the centre kept within the half pixel that centring rounds away.
    RECT place = {60, 7, 60 + 167, 7 + 77}, at = {};
    MapDialogRect(page, &place);
    GetWindowRect(control, &at);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&at), 2);
    EXPECT_EQ(at.top, place.top);
    EXPECT_LE(std::abs((at.left + at.right) - (place.left + place.right)), 1);
    shown.templatesOwn = reinterpret_cast<LPARAM>(bitmap) == templatesOwn;
    auto drawing = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(expectedDrawing), IMAGE_BITMAP, 0, 0, 0));
    shown.unchangedDrawing = pixelRows(drawing) == pixelRows(bitmap);
    DeleteObject(drawing);
    DestroyWindow(page);
  }
  return shown;
}

TEST_F(DialogWindows, PictureShowsTheDrawingForTheDisplayScale) {
  const struct {
    int dpi;
    UINT drawing;
    LONG width, height;
    bool templatesOwn, unchangedDrawing;
  } cases[] = {
      {96, IDB_WELCOME_PICTURE, 250, 125, true, true},        {120, IDB_WELCOME_PICTURE_125, 313, 156, false, true},
      {144, IDB_WELCOME_PICTURE_150, 375, 188, false, true},  {192, IDB_WELCOME_PICTURE_200, 500, 250, false, true},
      {110, IDB_WELCOME_PICTURE_125, 286, 143, false, false}, {168, IDB_WELCOME_PICTURE_200, 438, 219, false, false},
      {240, IDB_WELCOME_PICTURE_200, 625, 313, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " DPI");
    const ShownPicture shown = showAtDpi(frame, c.drawing, c.dpi);
    EXPECT_EQ(shown.width, c.width);
    EXPECT_EQ(shown.height, c.height);
    EXPECT_EQ(shown.templatesOwn, c.templatesOwn);
    EXPECT_EQ(shown.unchangedDrawing, c.unchangedDrawing);
  }
}

}  // namespace
