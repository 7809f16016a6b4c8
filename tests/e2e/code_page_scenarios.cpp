// Japanese, Chinese and Korean Windows: the ANSI code page writes many
// characters in two bytes, the second of which may be '\', '|' or a capital
// letter. Each scenario runs under Wine in that code page (run-scenario.sh
// sets the locale) and installs into a program directory whose names hold
// such characters, as a user there would type them: the default route, a
// reinstall over it and an uninstall, each read back.
#include <windows.h>

#include <string>

#include "expected_installation.h"
#include "installation_checks.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

// `programDir`, in the code page, is the earlier installation's setting
// (without its backslash, which the program adds): it proposes it, and the
// program installs there, making the two folders above it, reinstalls there
// and uninstalls from there. `above` and `top` are those folders.
void installReinstallUninstall(ScenarioRun& run, UINT codePage, const std::string& top, const std::string& above,
                               const std::string& name) {
  checkEqual(static_cast<long long>(GetACP()), codePage, "the ANSI code page the programs run with");
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  const std::string programDir = "C:\\" + top + "\\" + above + "\\" + name;
  seedProgramDirSetting(programDir);
  const Route route{programDir + "\\", true, "", kFs2004Folder,
                    {"C:\\" + top + "\\" + above + "\\", "C:\\" + top + "\\"}};
  const ExpectedInstallation expected = expectedInstallation(run.payloadTree(), route);

  installAs(run, IDC_TYPE_ONE_COMPUTER, route.programDir);
  checkInstallation(route, expected);
  installAs(run, IDC_TYPE_ONE_COMPUTER, route.programDir);
  checkInstallation(route, expected);

  checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  // The folders above the program directory went too: the installation made them.
  checkSameMachine(before, isSharedModule);
}

}  // namespace

// ソフト\ポータル\表: the second bytes of ソ and 表 are '\', of ポ '|'.
SCENARIO(code_page_932_install_reinstall_uninstall) {
  installReinstallUninstall(run, 932, "\x83\x5c\x83\x74\x83\x67", "\x83\x7c\x81\x5b\x83\x5e\x83\x8b", "\x95\x5c");
}

// 游戏\億\誠運: of 誠 and 運 '\', of 億 '|'.
SCENARIO(code_page_936_install_reinstall_uninstall) {
  installReinstallUninstall(run, 936, "\xd3\xce\xcf\xb7", "\x83\x7c", "\xd5\x5c\xdf\x5c");
}

// 게임\Kestrel\똎똏: no character of 949 has a second byte '\' or '|'; of 똎
// and 똏 it is a capital letter, O and P.
SCENARIO(code_page_949_install_reinstall_uninstall) {
  installReinstallUninstall(run, 949, "\xb0\xd4\xc0\xd3", "Kestrel", "\x8c\x4f\x8c\x50");
}

// 軟體\會\許功: of 許 and 功 '\', of 會 '|'.
SCENARIO(code_page_950_install_reinstall_uninstall) {
  installReinstallUninstall(run, 950, "\xb3\x6e\xc5\xe9", "\xb7\x7c", "\xb3\x5c\xa5\x5c");
}
