// The uninstaller's working copy: where it runs, and what the program that
// started it tells whatever started that one.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "file_tree.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "strict_windows_run.h"
#include "text_format.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

std::string userProfile() {
  char profile[MAX_PATH] = "";
  check(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile)),
        "the user's profile folder is known");
  return profile;
}

bool isWithin(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() && path[folder.size()] == '\\' &&
         equalsIgnoringCase(path.substr(0, folder.size()), folder);
}

}  // namespace

// The working copy runs from a folder outside the user's profile (whose
// folders the user's own, unelevated programs may rename and refill between
// the copy and its start); and the uninstaller that was started waits for it and ends with its
// exit code, so that Windows' list of programs, or a script, sees the
// uninstall done. A file held open makes that code one of an incomplete run.
SCENARIO(strict_windows_working_copy_outside_the_profile_and_waited_for) {
  StrictWindows strict(run);
  seedSimulator(Simulator::Fs2004);
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const std::string held = defaultProgramDir() + "readme.txt";
  HeldOpen viewer(held);
  Uninstall uninstall = startUninstall(run, uninstallCommandLine());

  const std::vector<std::string> programs = strict.programsRun();
  check(programs.size() == 3, "the setup program, the uninstaller and its working copy ran; these did:" + listed(programs));
  const std::string copy = programs.back();
  std::vector<std::string> faults;
  if (isWithin(copy, userProfile())) faults.push_back("the working copy runs in the user's profile: " + copy);
  if (!uninstall.original.process().running())
    faults.push_back("the uninstaller that was started ended (exit code " +
                     std::to_string(uninstall.original.process().exitCode()) + ") before its working copy did");
  check(faults.empty(), "the working copy:" + listed(faults));

  checkEqual(nextMessage(uninstall.copy), captionAndText(kUninstallerCaption, fileInUseQuestion(held)),
             "the working copy's question");
  uninstall.copy.answerDialog(kUninstallerCaption, IDCANCEL);
  closeReport(uninstall, kUninstallIncomplete);
}
