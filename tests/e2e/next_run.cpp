#include "next_run.h"

#include "journal_view.h"
#include "scenario.h"
#include "wizard_steps.h"

UiDriver& expectSettledByTheNextRun(ScenarioRun& run, const MachineSnapshot& expected,
                                    bool (*alsoChanged)(const std::string& entry)) {
  UiDriver& next = run.startSetup();
  expectWelcomePage(next);
  check(!runJournal(), "the journal is gone");
  checkSameMachine(expected, alsoChanged);
  return next;
}
