// Every state that a crash (a kill, a power cut) can leave at any instant of an
// installation, of a reinstall over it and of an uninstallation, rebuilt from
// the changes each real run made (crash_model.h), and settled by the
// settlement that the next run of the setup program and of the uninstaller
// both carry out first: each must end with the machine as it was before the
// run or as the run left it, byte for byte, with nothing stranded and nothing
// refused.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "crash_model.h"
#include "installation_run.h"
#include "module_strings.h"
#include "product_names.h"
#include "registration_reader.h"
#include "scratch_directory.h"
#include "setup_texts.h"
#include "start_menu_shortcuts.h"
#include "uninstall_run.h"
#include "worker_message_collector.h"

namespace {

constexpr DWORD kWorkerTimeoutMs = 60000;

// How many states of each run the test command checks: an even spread over
// all of them, the first and the last among them. KESTREL_CRASH_STATES=all
// checks every one (scripts/bench.sh does, beside the benchmark).
constexpr size_t kStatesPerRun = 330;

bool everyState() {
  const char* all = std::getenv("KESTREL_CRASH_STATES");
  return all && std::string(all) == "all";
}

std::vector<std::pair<size_t, size_t>> spread(const std::vector<std::pair<size_t, size_t>>& states, size_t most) {
  if (everyState() || states.size() <= most) return states;
  std::vector<std::pair<size_t, size_t>> picked;
  for (size_t n = 0; n < most; ++n) picked.push_back(states[n * (states.size() - 1) / (most - 1)]);
  return picked;
}

// The first lines of a list, each on its own line.
std::string listed(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t n = 0; n < lines.size() && n < 12; ++n) text += "\n  " + lines[n];
  if (lines.size() > 12) text += "\n  ... and " + std::to_string(lines.size() - 12) + " more";
  return text;
}

class QuietObserver final : public UninstallObserver {
 public:
  void progress(size_t, size_t, const std::string&) override {}
  bool fileInUse(const std::string&) override { return false; }
};

class CrashStates : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    moduleInstance = GetModuleHandleA(nullptr);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for the shortcuts, as the program-directory page does
  }
  static void TearDownTestSuite() {
    std::printf("%zu crash states checked\n", checked);
    CoUninitialize();
  }

  void SetUp() override {
    roots.folders = {scratch.path(), startMenu.substr(0, startMenu.size() - 1)};
    roots.keys = {"Software\\Ninefold", kJournalKey, registrationKey(kProductName)};
    writeMachine(roots, Machine());
    ASSERT_TRUE(CreateDirectoryA(scratch.path().c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(simulator.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((simulator + "modules").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((simulator + "aircraft").c_str(), nullptr));
  }
  void TearDown() override { writeMachine(roots, Machine()); }

  InstallJob job() const {
    InstallJob job;
    job.instanceHandle = GetModuleHandleA(nullptr);
    job.texts = installTexts();
    job.installProgramFiles = true;
    job.installFs2004 = true;
    job.fs2004Dir = simulator;
    job.programDir = programDir;
    return job;
  }

  // An installation as the progress page runs it, every step succeeding.
  void install() {
    InstallationRun run(job());
    WorkerMessageCollector collector;
    ASSERT_TRUE(run.plan() && run.begin() && run.writeSettings() && run.createShortcuts() &&
                run.startWorker(collector.window()));
    ASSERT_TRUE(collector.collectUntilDone(kWorkerTimeoutMs));
    ASSERT_TRUE(run.workerEnded(static_cast<int>(collector.messages.back().wParam)));
    ASSERT_TRUE(run.commit());
  }

  // An uninstallation as the uninstaller's working copy carries it out.
  void uninstall() {
    Registration registration;
    std::string damaged;
    ASSERT_EQ(readRegistration(kProductName, registration, damaged), RegistrationStatus::Found);
    QuietObserver observer;
    UninstallSummary summary;
    ASSERT_TRUE(uninstallRecorded(kProductName, registration, observer, "", "", [] { return std::string(); }, summary));
    ASSERT_TRUE(summary.complete());
  }

  // Runs `act` from the machine as it stands and checks the states a crash
  // in it can leave: each settled, the machine as before `act` or as after.
  void checkRun(const char* what, const std::function<void()>& act) {
    const Machine before = readMachine(roots);
    std::vector<durable::Change> changes;
    {
      ChangeRecorder recorder;
      act();
      changes = recorder.changes();
    }
    ASSERT_FALSE(HasFatalFailure());
    const Machine after = readMachine(roots);
    const RecordedRun run(changes, roots);
    std::string outside;
    ASSERT_TRUE(run.within(outside)) << what << " changed " << outside << ", which the model does not cover";
    for (const auto& [registry, files] : spread(run.crashStates(), kStatesPerRun)) {
      for (const bool dataLost : {false, true}) {
        bool unflushed = false;
        const Machine state = run.stateAfter(before, registry, files, dataLost, unflushed);
        if (dataLost && !unflushed) continue;
        writeMachine(roots, state);
        const JournalSettlement settlement = settleJournal();
        const Machine settled = readMachine(roots);
        ++checked;
        const std::string where = std::string(what) + " cut off with " + std::to_string(registry) +
                                  " registry and " + std::to_string(files) + " file changes kept" +
                                  (dataLost ? ", data not flushed lost" : "");
        ASSERT_TRUE(settlement.outcome != JournalSettlement::NotSettled &&
                    settlement.outcome != JournalSettlement::Damaged)
            << where << ": settled " << settlement.outcome << " " << settlement.problem
            << (settlement.left.empty() ? "" : " " + settlement.left.front().item);
        if (settled == before || settled == after) continue;
        FAIL() << where << ": the machine is neither as before the run nor as after it; from before:"
               << listed(machineDifferences(before, settled)) << "\nand from the machine after it:"
               << listed(machineDifferences(after, settled)) << "\nThe last changes kept:"
               << run.lastChangesKept(registry, files, 6);
      }
    }
    writeMachine(roots, after);
  }

  ScratchDirectory scratch{"crash"};
  const std::string programDir = scratch / "Kestrel 3\\";
  const std::string simulator = scratch / "Flight Simulator 9\\";
  const std::string startMenu = startMenuFolder(installTexts());
  ModelRoots roots;
  static size_t checked;
};

size_t CrashStates::checked = 0;

TEST_F(CrashStates, InstallationReinstallationAndUninstallationAreEachSettledWhole) {
  checkRun("the installation", [&] { install(); });
  // The reinstall finds an earlier version of one program file and the user's own file beside them.
  writeFileBytes(programDir + "readme.txt", "an earlier readme");
  writeFileBytes(programDir + "my notes.txt", "the user's own");
  checkRun("the reinstallation", [&] { install(); });
  checkRun("the uninstallation", [&] { uninstall(); });
}

}  // namespace
