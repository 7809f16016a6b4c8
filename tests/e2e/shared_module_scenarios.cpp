// The simulator interface module, shared with other add-ons: an installed
// copy is replaced only by a strictly newer one, and never logged for removal.
#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "wizard_steps.h"

SCENARIO(shared_module_replaced_only_by_a_newer_one) {
  seedSimulator(Simulator::Fs2004);
  const Route route{defaultProgramDir(), false, "", kFs2004Folder};
  const ExpectedInstallation expected = expectedInstallation(run.payloadTree(), route);
  const std::string installed = withBackslash(kFs2004Folder) + "modules\\fsuipc.dll";
  const std::string payloadCopy = fileBytes(withBackslash(run.payloadTree()) + "fs\\modules\\fsuipc.dll").value();
  const struct {
    const char* age;  // of the copy installed before, against the payload's
    bool replaced;
  } cases[] = {{"older", true}, {"equal", false}, {"newer", false}};
  for (const auto& c : cases) {
    const std::string before = fileBytes(run.testFile(std::string("installed_fsuipc\\") + c.age + "\\fsuipc.dll")).value();
    check(before != payloadCopy, std::string("the ") + c.age + " copy differs from the payload's");
    writeBytes(installed, before);

    UiDriver& setup = run.startSetup();
    goToTypePage(setup, run.setupProgram());
    setup.setChecked(IDC_TYPE_SIMULATOR_COMPUTER, true);
    setup.click(IDC_NEXT);
    expectFinishedPage(setup, false);
    finishAndEnd(setup);

    check(fileBytes(installed) == (c.replaced ? payloadCopy : before),
          std::string("an installed copy ") + c.age + " than the payload's is " + (c.replaced ? "replaced" : "kept"));
    checkUninstallRegistration(route, expected);
  }
}
