// The default route at 125, 150 and 200 % display scale. Each scenario first
// measures the wizard at 96 DPI, then sets the display's DPI as Windows'
// display setting does and walks the route in a new run, saving a screenshot
// of every page. On every page, for every page of the wizard and the frame,
// it checks what the program itself measures (the layout probe): that it
// sees that DPI; that the frame and the pages grew with it; that no static
// text needs more room than its control has, in the control's own font; and
// that each picture shows a bitmap of exactly its size, the one drawn for
// that scale, pixel for pixel, clear of every other control. The
// uninstaller's question and report are saved as well. Wine runs every
// program DPI aware, declared or not (it scales none), so the declaration in
// the manifests is checked where Windows reads it, in the programs' files
// (check-manifests.py).
#include <windows.h>

#include <iostream>
#include <map>

#include "file_tree.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "uninstaller_steps.h"
#include "window_text.h"
#include "wizard_layout.h"
#include "wizard_steps.h"

namespace {

// Sets the display's DPI where Windows' display setting keeps it. Windows
// takes it up at the next sign-in; Wine in every program started after it.
void setDisplayDpi(int dpi) {
  HKEY desktop = nullptr;
  check(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_SET_VALUE, &desktop) == ERROR_SUCCESS,
        "HKCU\\Control Panel\\Desktop opens");
  const DWORD value = static_cast<DWORD>(dpi);
  const LONG written =
      RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(desktop);
  check(written == ERROR_SUCCESS, "LogPixels is written");
}

// The bitmap resources of the drawing made for each DPI the scenarios use,
// by picture control.
const std::map<int, std::map<int, UINT>> kDrawingAtDpi = {
    {IDC_WELCOME_PICTURE,
     {{96, IDB_WELCOME_PICTURE}, {120, IDB_WELCOME_PICTURE_125}, {144, IDB_WELCOME_PICTURE_150},
      {192, IDB_WELCOME_PICTURE_200}}},
    {IDC_HEADER_LOGO,
     {{96, IDB_HEADER_LOGO}, {120, IDB_HEADER_LOGO_125}, {144, IDB_HEADER_LOGO_150}, {192, IDB_HEADER_LOGO_200}}},
};

// pixelChecksum of each picture control's drawing for `dpi`, from the program file's resources.
std::map<int, uint32_t> drawingChecksums(const std::string& setupProgram, int dpi) {
  HMODULE module = LoadLibraryExA(setupProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  check(module != nullptr, "the resources of " + setupProgram + " can be read");
  std::map<int, uint32_t> checksums;
  for (const auto& [control, drawings] : kDrawingAtDpi) {
    auto bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(drawings.at(dpi)), IMAGE_BITMAP, 0, 0, 0));
    check(bitmap != nullptr, "bitmap " + std::to_string(drawings.at(dpi)) + " loads");
    checksums[control] = pixelChecksum(bitmap);
    DeleteObject(bitmap);
  }
  FreeLibrary(module);
  return checksums;
}

std::string sizeText(SIZE size) { return std::to_string(size.cx) + " x " + std::to_string(size.cy); }

SIZE sizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

bool overlap(const RECT& a, const RECT& b) {
  RECT both = {};
  return IntersectRect(&both, &a, &b) != FALSE;
}

// Grown with the DPI: within a tenth of the size at 96 DPI scaled to `dpi`
// (dialog units follow the font, whose sizes round to whole pixels).
void checkGrown(SIZE at96, SIZE now, int dpi, const std::string& what) {
  for (const auto& [was, is] : {std::pair<LONG, LONG>{at96.cx, now.cx}, std::pair<LONG, LONG>{at96.cy, now.cy}}) {
    const double expected = was * dpi / 96.0;
    check(is >= 0.9 * expected && is <= 1.1 * expected,
          what + " is " + sizeText(now) + " at " + std::to_string(dpi) + " DPI, " + sizeText(at96) + " at 96");
  }
}

std::string describe(const ControlLayout& control) {
  return (control.page < 0 ? std::string("the frame's") : "page " + std::to_string(control.page) + "'s") +
         " control " + std::to_string(control.id) + " \"" + escapedLine(control.text.substr(0, 50)) + "\"";
}

void checkLayout(const WizardLayout& layout, const WizardLayout& at96, int dpi,
                 const std::map<int, uint32_t>& drawings, const std::string& where) {
  const std::string on = " (" + where + ")";
  checkEqual(static_cast<long long>(layout.dpi), dpi, "the DPI the program sees" + on);
  checkGrown(at96.frame, layout.frame, dpi, "the frame" + on);
  checkEqual(static_cast<long long>(layout.pages.size()), static_cast<long long>(at96.pages.size()), "pages" + on);
  for (size_t i = 0; i < layout.pages.size(); ++i)
    checkGrown(sizeOf(at96.pages[i]), sizeOf(layout.pages[i]), dpi, "page " + std::to_string(i) + on);

  int pictures = 0;
  for (const ControlLayout& control : layout.controls) {
    if (control.needed.cx > control.room.cx || control.needed.cy > control.room.cy) {
      if (control.style & WS_VISIBLE)
        throw ScenarioFailure(describe(control) + " needs " + sizeText(control.needed) + " and has " +
                              sizeText(control.room) + on);
    }
    // The header logo too, which pages hide and show.
    if ((control.style & SS_TYPEMASK) != SS_BITMAP || lstrcmpiA(control.className.c_str(), "Static") != 0) continue;
    ++pictures;
    check(control.bitmap.cx == control.room.cx && control.bitmap.cy == control.room.cy,
          describe(control) + " shows a bitmap of " + sizeText(control.bitmap) + " in " + sizeText(control.room) + on);
    const auto drawing = drawings.find(control.id);
    check(drawing != drawings.end() && drawing->second == control.bitmapPixels,
          describe(control) + " shows the drawing made for " + std::to_string(dpi) + " DPI" + on);
    // A picture grows with the DPI, its dialog with the font: it must still
    // keep clear of the controls around it, and the frame's of the pages.
    for (const ControlLayout& other : layout.controls) {
      if (other.page == control.page && other.id != control.id && (other.style & WS_VISIBLE))
        check(!overlap(control.bounds, other.bounds), describe(control) + " keeps clear of " + describe(other) + on);
    }
    if (control.page < 0) {
      for (const RECT& page : layout.pages)
        check(!overlap(control.bounds, page), describe(control) + " keeps clear of the pages" + on);
    }
  }
  checkEqual(static_cast<long long>(pictures), 2, "pictures in the wizard" + on);
}

void walkDefaultRouteAt(ScenarioRun& run, int dpi) {
  seedSimulator(Simulator::Fs2004);
  UiDriver& first = run.startSetupWithLayoutProbe("");
  expectWelcomePage(first);
  const WizardLayout at96 = run.wizardLayout(first);
  checkLayout(at96, at96, 96, drawingChecksums(run.setupProgram(), 96), "on the welcome page at 96 DPI");
  cancelAndConfirm(first);

  setDisplayDpi(dpi);
  const std::map<int, uint32_t> drawings = drawingChecksums(run.setupProgram(), dpi);
  UiDriver& setup = run.startSetupWithLayoutProbe(run.screenshotPath("progress"));
  const auto shootAndCheck = [&](const std::string& page) {
    setup.screenshot(page);
    checkLayout(run.wizardLayout(setup), at96, dpi, drawings, "on the " + page + " page");
  };
  expectWelcomePage(setup);
  shootAndCheck("welcome");
  setup.click(IDC_NEXT);
  expectLicensePage(setup, run.setupProgram(), false);
  setup.setChecked(IDC_LICENSE_ACCEPT, true);
  shootAndCheck("license");
  setup.click(IDC_NEXT);
  setup.waitForPage(IDC_TYPE_ONE_COMPUTER);
  shootAndCheck("type");
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, defaultProgramDir());
  shootAndCheck("program_dir");
  setup.click(IDC_NEXT);
  expectFinishedPage(setup, true);
  check(pathExists(run.screenshotPath("progress")), "the progress page was caught mid-run");
  std::cout << "Screenshot progress: " << run.screenshotPath("progress") << std::endl;
  shootAndCheck("finished");
  finishAndEnd(setup);

  checkEqual(uninstallWithYes(run, uninstallCommandLine(), "", kUninstallDone, true), kUninstalledReport, "the uninstaller's report");
}

}  // namespace

SCENARIO(default_route_at_120_dpi) { walkDefaultRouteAt(run, 120); }
SCENARIO(default_route_at_144_dpi) { walkDefaultRouteAt(run, 144); }
SCENARIO(default_route_at_192_dpi) { walkDefaultRouteAt(run, 192); }
