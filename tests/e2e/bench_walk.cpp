// The benchmark's walk, run by scripts/bench.sh and not by the tests: the
// whole setup program installing the payload it carries (the bench payload,
// there) through its progress page, timed from the click that enters the
// progress page until the finished page shows, into fresh folders and again
// over the files it has just written (a reinstall, its earlier registration
// kept). Each round then installs once more with the progress probe, for how
// far the page lags behind the worker: the time the worker posted
// WM_INSTALL_DONE (the message's own time) to the time the page took it, and
// that run split at the worker's first and last message: before the worker
// (the page's own work on entering and the worker's measuring), the worker,
// the lag, and after it (committing the registration, showing the finished
// page, the driver noticing). The probe is a message hook, which Wine calls
// through its server for every message, so it slows the page a little: the
// plain runs give the setup's time. The probed installation is repeated over
// itself, for the same parts of a reinstall. It also reports the setup
// program's peak working set once the finished page shows, and the size of
// the registration a fresh installation and a reinstall leave.
// KESTREL_BENCH_ROUNDS sets the number of rounds (default 5). With
// KESTREL_BENCH_PEER naming another installer of the same files (an NSIS one,
// installing silently where /D= says), each round also times, in turn: that
// installer into fresh folders (its whole process, start and check of its
// data included), this one into fresh folders, that one again over the files
// it has just written, and this one over its own. With KESTREL_BENCH_EARLIER
// naming an earlier revision's setup program carrying the same payload, each
// round also walks it the same way, into fresh folders and over its own, for
// the whole program's time against that revision's. Each round's folders are
// removed once it is done, so that every round meets the same disk. Figures
// only.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "expected_installation.h"
#include "file_tree.h"
#include "registry_view.h"
#include "resource_ids.h"
#include "scenario.h"
#include "setup_process.h"
#include "tree_walk.h"
#include "wizard_steps.h"

namespace {

double millisecondsBetween(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A simulator folder and a program directory of their own for each
// installation, on a computer without an earlier registration: a reinstall
// would keep the earlier installations' events, and every round would commit
// more than the one before.
std::string benchFolder(int number) { return "C:\\bench-" + std::to_string(number); }

std::string seedInstallation(int number) {
  check(deleteMachineTree(kRegistrationKey), "no earlier registration");
  const std::string base = benchFolder(number);
  for (const std::string& folder : {base, base + "\\fs9", base + "\\fs9\\modules", base + "\\fs9\\aircraft"}) {
    CreateDirectoryA(folder.c_str(), nullptr);
    check(isDirectory(folder), folder + " exists");
  }
  check(seedMachineValue(kFs2004Key, kSimulatorFolderValue, registryText(base + "\\fs9\\")), "FS2004 seeded");
  check(seedMachineValue(kSettingsKey, "KSDir", registryText(base + "\\kestrel\\")), "KSDir seeded");
  return base + "\\kestrel\\";
}

// How long either installer may take for one installation: ten times the
// files take tens of seconds under Wine, more on a busy machine.
const DWORD kInstallationLimit = 600000;

// The peer installer's whole run into `directory`, in milliseconds.
double peerInstall(const std::string& peer, const std::string& directory) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  SetupProcess installer("\"" + peer + "\" /S /D=" + directory);
  check(installer.waitForEnd(kInstallationLimit) && installer.exitCode() == 0, "the peer installs into " + directory);
  QueryPerformanceCounter(&end);
  return millisecondsBetween(start, end);
}

std::string ratios(const std::vector<double>& ours, const std::vector<double>& theirs) {
  std::vector<double> each;
  for (size_t n = 0; n < ours.size(); ++n) each.push_back(ours[n] / theirs[n]);
  char text[96];
  std::snprintf(text, sizeof text, "%.2f [%.2f-%.2f]", median(each), *std::min_element(each.begin(), each.end()),
                *std::max_element(each.begin(), each.end()));
  return text;
}

// The registration as the registry holds it: its values, and the bytes of
// their names and data.
struct RegistrationSize {
  size_t values = 0;
  size_t bytes = 0;
};

RegistrationSize registrationSize() {
  RegistrationSize size;
  for (const auto& [key, values] : machineTree(kRegistrationKey)) {
    for (const auto& [name, value] : values) {
      ++size.values;
      size.bytes += name.size() + value.data.size();
    }
  }
  check(size.values > 0, "the installation left a registration");
  return size;
}

// Everything below `folder`, and the folder, deepest first.
void removeFolder(const std::string& folder) {
  const std::vector<std::string> entries = entriesBelow(folder);
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    const std::string path = withBackslash(folder) + *entry;
    if (entry->back() == '\\')
      RemoveDirectoryA(path.c_str());
    else
      DeleteFileA(path.c_str());
  }
  RemoveDirectoryA(folder.c_str());
  check(!pathExists(folder), folder + " is removed");
}

struct Installation {
  double ms = 0;  // from the click that enters the progress page to the finished page
  DWORD clicked = 0, finished = 0;  // the same as GetTickCount values
  SIZE_T peakWorkingSet = 0;  // the program's, once the finished page shows
};

// One installation along the default route; the program is already started.
Installation install(ScenarioRun& run, UiDriver& setup, const std::string& programDir) {
  goToTypePage(setup, run.setupProgram());
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, programDir);
  Installation timed;
  LARGE_INTEGER start, end;
  timed.clicked = GetTickCount();
  QueryPerformanceCounter(&start);
  setup.click(IDC_NEXT);
  setup.waitForVisible(IDC_FINISH, kInstallationLimit);
  QueryPerformanceCounter(&end);
  timed.finished = GetTickCount();
  timed.ms = millisecondsBetween(start, end);
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  check(GetProcessMemoryInfo(setup.process().handle(), &memory, sizeof memory), "the setup program's memory is read");
  timed.peakWorkingSet = memory.PeakWorkingSetSize;
  expectFinishedPage(setup, true);
  finishAndEnd(setup);
  return timed;
}

// Installations with the progress probe, split at the worker's first and
// last message.
struct ProbedParts {
  std::vector<double> before, worker, lags, after;

  std::string add(ScenarioRun& run, const std::string& programDir, const std::string& doneRecord) {
    const Installation probed = install(run, run.startSetupWithProgressProbe("", doneRecord), programDir);
    DWORD first = 0, posted = 0, taken = 0;
    std::istringstream(fileBytes(doneRecord).value_or("")) >> first >> posted >> taken;
    check(probed.clicked <= first && first <= posted && posted <= taken && taken <= probed.finished,
          "the progress probe recorded the worker's first and last message in order");
    before.push_back(static_cast<double>(first - probed.clicked));
    worker.push_back(static_cast<double>(posted - first));
    lags.push_back(static_cast<double>(taken - posted));
    after.push_back(static_cast<double>(probed.finished - taken));
    return describe(probed.ms, before.back(), worker.back(), lags.back(), after.back());
  }

  std::string medians() const {
    return describe(-1, median(before), median(worker), median(lags), median(after));
  }

  static std::string describe(double total, double before, double worker, double lag, double after) {
    char text[160];
    std::snprintf(text, sizeof text, "click to the worker's first message %.0f ms, worker %.0f ms, page lag %.0f ms, "
                  "then to the finished page %.0f ms", before, worker, lag, after);
    return total < 0 ? text : std::to_string(static_cast<int>(total)) + " ms: " + text;
  }
};

}  // namespace

SCENARIO(bench_setup) {
  const char* roundsSetting = std::getenv("KESTREL_BENCH_ROUNDS");
  const int rounds = std::max(1, roundsSetting ? std::atoi(roundsSetting) : 5);
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  const std::string doneRecord = std::string(temp) + "kestrel-bench-done.txt";

  const char* peer = std::getenv("KESTREL_BENCH_PEER");
  if (peer && !*peer) peer = nullptr;
  const char* earlier = std::getenv("KESTREL_BENCH_EARLIER");
  if (earlier && !*earlier) earlier = nullptr;
  std::vector<double> setupFresh, setupOver, peerFresh, peerOver, earlierFresh, earlierOver;
  std::vector<double> peakWorkingSets;
  RegistrationSize freshRegistration, overRegistration;
  ProbedParts fresh, over;
  for (int round = 1; round <= rounds; ++round) {
    const std::string peerDir = "C:\\bench-peer-" + std::to_string(round);
    if (peer) peerFresh.push_back(peerInstall(peer, peerDir));
    std::string programDir = seedInstallation(2 * round - 1);
    const Installation installed = install(run, run.startSetup(), programDir);
    setupFresh.push_back(installed.ms);
    peakWorkingSets.push_back(installed.peakWorkingSet / 1024.0);
    freshRegistration = registrationSize();
    if (peer) peerOver.push_back(peerInstall(peer, peerDir));
    setupOver.push_back(install(run, run.startSetup(), programDir).ms);
    overRegistration = registrationSize();
    if (peer)
      std::printf("peer round %d: NSIS %.1f ms fresh, %.1f ms over; setup %.1f ms fresh, %.1f ms over\n", round,
                  peerFresh.back(), peerOver.back(), setupFresh.back(), setupOver.back());

    if (earlier) {
      const std::string earlierDir = seedInstallation(2 * rounds + round);
      earlierFresh.push_back(install(run, run.startOtherSetup(earlier), earlierDir).ms);
      earlierOver.push_back(install(run, run.startOtherSetup(earlier), earlierDir).ms);
      std::printf("earlier round %d: setup %.1f ms fresh, %.1f ms over; the earlier one %.1f ms fresh, %.1f ms over\n",
                  round, setupFresh.back(), setupOver.back(), earlierFresh.back(), earlierOver.back());
      removeFolder(benchFolder(2 * rounds + round));
    }

    programDir = seedInstallation(2 * round);
    // In this order: a function's arguments may be worked out in any order.
    const std::string probedFresh = fresh.add(run, programDir, doneRecord);
    const std::string probedOver = over.add(run, programDir, doneRecord);
    std::printf("setup round %d: %.1f ms from the click to the finished page, %.1f ms over it; with the probe %s; "
                "over it %s\n",
                round, setupFresh.back(), setupOver.back(), probedFresh.c_str(), probedOver.c_str());
    if (peer) removeFolder(peerDir);
    removeFolder(benchFolder(2 * round - 1));
    removeFolder(benchFolder(2 * round));
  }
  std::printf("setup best of %d: %.1f ms, median %.1f ms; over it: best %.1f ms, median %.1f ms; page lag behind the "
              "worker: least %.0f ms, median %.0f ms\n",
              rounds, *std::min_element(setupFresh.begin(), setupFresh.end()), median(setupFresh),
              *std::min_element(setupOver.begin(), setupOver.end()), median(setupOver),
              *std::min_element(fresh.lags.begin(), fresh.lags.end()), median(fresh.lags));
  std::printf("setup with the probe, medians: %s; over it %s\n", fresh.medians().c_str(), over.medians().c_str());
  std::printf("setup memory: peak working set at the finished page, median %.0f KiB (the payload's pages that it read "
              "from its own file included)\n",
              median(peakWorkingSets));
  std::printf("registration: %zu values, %zu bytes of names and data after a fresh installation; %zu values, %zu "
              "bytes over it\n",
              freshRegistration.values, freshRegistration.bytes, overRegistration.values, overRegistration.bytes);
  if (peer) {
    std::printf("NSIS against this setup, medians: fresh %.1f and %.1f ms, over %.1f and %.1f ms\n", median(peerFresh),
                median(setupFresh), median(peerOver), median(setupOver));
    std::printf("ratio: setup / NSIS per round, median [range]: fresh %s (target 0.80 or less), over %s "
                "(target 1.20 or less)\n",
                ratios(setupFresh, peerFresh).c_str(), ratios(setupOver, peerOver).c_str());
  }
  if (earlier) {
    std::printf("ratio: setup / the earlier revision's per round, median [range]: fresh %s, over %s "
                "(target 1.10 or less)\n",
                ratios(setupFresh, earlierFresh).c_str(), ratios(setupOver, earlierOver).c_str());
  }
  std::fflush(stdout);
}
