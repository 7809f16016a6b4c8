// install_bench: times the installation as the progress page runs it (the
// room check, the check for files in use, then the worker with the journal
// of everything it changes) writing the benchmark payload into a fresh
// directory, against the minimal inflate-and-write loop writing the same
// files, and reports the worker's memory. Not a test: figures only.
// Usage: install_bench PAYLOAD_DLL [ROUNDS]   (a bench_payload.dll; 5 rounds by default)
//        install_bench PAYLOAD_DLL calls      one installation into a fresh directory and one over it, each
//                                             with the page's commit, every part marked by an
//                                             OutputDebugStringA "kestrel-bench: <part>", for counting the
//                                             calls each part makes (scripts/bench.sh runs it under Wine's
//                                             relay trace)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "install_messages.h"
#include "installation_run.h"
#include "plain_install.h"
#include "process_memory.h"
#include "product_names.h"
#include "registration_reader.h"
#include "registry_key.h"
#include "scratch_directory.h"

namespace {

double millisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// One run on a thread of its own that posts to a window of this thread.
struct ThreadRun {
  int result = -1;
  double ms = 0;
  uint32_t total = 0;
  uint32_t messages = 0;
};

// Committed private bytes over one worker run: when it starts, once the
// catalog is read (WM_INSTALL_TOTAL), and the most seen while it extracts.
struct MemoryTrace {
  uint64_t atStart = 0;
  uint64_t atTotal = 0;
  uint64_t peak = 0;
};

// Starts the run's worker, handing it a message-only window of this thread,
// and handles what it posts there as the progress page would (taking each
// announced name and failure) until WM_INSTALL_DONE, which it passes on to the
// run. With a trace, memory is sampled between messages; that walk costs
// time, so timed runs go without.
ThreadRun runWorker(InstallationRun& installation, MemoryTrace* trace) {
  const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ThreadRun run;
  if (trace) trace->atStart = trace->peak = committedPrivateBytes();
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  for (bool done = !installation.startWorker(window); !done;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_POSTMESSAGE);
    MSG msg;
    while (!done && PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
      ++run.messages;
      if (msg.message == WM_INSTALL_TOTAL) {
        run.total = static_cast<uint32_t>(msg.wParam);
        if (trace) trace->peak = std::max(trace->peak, trace->atTotal = committedPrivateBytes());
      }
      if (msg.message == WM_INSTALL_FILE) takeAnnouncedFile(msg.lParam);
      if (msg.message == WM_INSTALL_FAILED) installation.workerFailed(takeAnnouncedFailure(msg.lParam));
      if (msg.message == WM_INSTALL_DONE) {
        run.result = installation.workerEnded(static_cast<int>(msg.wParam)) ? 0 : static_cast<int>(msg.wParam);
        done = true;
      }
    }
    if (trace) trace->peak = std::max(trace->peak, committedPrivateBytes());
  }
  run.ms = millisecondsSince(start);
  DestroyWindow(window);
  return run;
}

InstallTexts benchTexts() {
  InstallTexts texts;
  texts.programFiles = texts.mainModule = texts.transponder = texts.autoJoin = texts.defaultModels =
      texts.marlinModels = texts.settings = texts.startMenu = "Deleting Kestrel files";
  texts.startMenuFolder = "Kestrel 3";
  texts.uninstallShortcut = "Uninstall Kestrel";
  texts.userGuideShortcut = "User Guide";
  return texts;
}

InstallJob benchJob(HMODULE payload, const std::string& directory) {
  InstallJob job;
  job.instanceHandle = payload;
  job.texts = benchTexts();
  job.installFs2004 = true;
  job.fs2004Dir = directory + "\\FS9";
  job.installProgramFiles = true;
  job.programDir = directory + "\\Kestrel\\";
  return job;
}

// What the progress page does before its first change: the plan, its
// destinations, room and files that another program holds; then the journal
// begins. The settings and the shortcuts are left to the whole setup's walk
// (bench_walk.cpp), which times them with everything else.
bool checkAndBegin(InstallationRun& installation) {
  DestinationProblem destination;
  RoomShortage shortage;
  if (!installation.plan() || installation.findDestinationProblem(destination) ||
      installation.findRoomShortage(shortage) || !installation.heldFiles().empty() || !installation.begin()) {
    std::fprintf(stderr, "install_bench: the checks before the run failed, or the journal cannot be begun\n");
    return false;
  }
  return true;
}

// Times the checks and then the worker with its journal as the progress page
// runs them; then, untimed, commits as a successful run does, and removes the
// registration again, so that no round merges the one before it.
ThreadRun runInstallation(HMODULE payload, const std::string& directory, MemoryTrace* trace) {
  InstallationRun installation(benchJob(payload, directory));
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!checkAndBegin(installation)) return ThreadRun();
  const double checkMs = millisecondsSince(start);
  ThreadRun run = runWorker(installation, trace);
  run.ms += checkMs;
  if (run.result == 0 && !installation.commit()) run.result = -1;
  deleteKeyTree(registrationKey(kProductName));
  return run;
}

void mark(const char* part) { OutputDebugStringA((std::string("kestrel-bench: ") + part).c_str()); }

// One installation as the progress page runs it, its commit included, each
// part marked for the count of its calls.
bool installMarked(HMODULE payload, const std::string& directory, const char* run) {
  InstallationRun installation(benchJob(payload, directory));
  mark((std::string(run) + " checks").c_str());
  if (!checkAndBegin(installation)) return false;
  mark((std::string(run) + " worker").c_str());
  if (runWorker(installation, nullptr).result != 0) return false;
  mark((std::string(run) + " commit").c_str());
  const bool committed = installation.commit();
  mark("end");
  return committed;
}

struct PlainRun {
  PlainInstallResult result;
  double ms = 0;
};

PlainRun runPlain(HMODULE payload, const std::string& directory) {
  PlainRun run;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  run.result = plainInstall(payload, directory + "\\Kestrel\\", directory + "\\FS9\\");
  run.ms = millisecondsSince(start);
  return run;
}

double kib(uint64_t bytes) { return bytes / 1024.0; }

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: install_bench PAYLOAD_DLL [ROUNDS | calls]\n");
    return 2;
  }
  const bool countingCalls = argc == 3 && std::string(argv[2]) == "calls";
  const int rounds = argc == 3 && !countingCalls ? std::max(1, std::atoi(argv[2])) : 5;
  HMODULE payload = LoadLibraryA(argv[1]);
  if (!payload) {
    std::fprintf(stderr, "install_bench: cannot load the payload DLL %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  const std::string base = uniqueScratchPath("bench");
  CreateDirectoryA(base.c_str(), nullptr);
  if (countingCalls) {
    const bool installed = installMarked(payload, base + "\\calls", "fresh") &&
                           installMarked(payload, base + "\\calls", "over");
    removeTree(base);
    return installed ? 0 : 1;
  }

  // An untimed pass first, so that every run finds the payload's pages
  // mapped and the file system warm.
  const PlainRun warmUp = runPlain(payload, base + "\\warm-up");
  removeTree(base + "\\warm-up");
  if (!warmUp.result.ok) {
    std::fprintf(stderr, "install_bench: the plain loop failed\n");
    return 1;
  }

  // Memory, in a run of its own.
  const ProcessMemory before = processMemory();
  MemoryTrace trace;
  const ThreadRun traced = runInstallation(payload, base + "\\memory", &trace);
  const ProcessMemory after = processMemory();
  removeTree(base + "\\memory");
  if (traced.result != 0) {
    std::fprintf(stderr, "install_bench: the worker failed with %d\n", traced.result);
    return 1;
  }
  std::printf("payload: worker wrote %u bytes (%u messages); plain loop %u files, %llu bytes\n", traced.total,
              traced.messages, warmUp.result.files, static_cast<unsigned long long>(warmUp.result.bytes));

  // Each round runs both, the first of them changing from round to round, so
  // that neither always meets the other's dirty pages.
  std::vector<double> workerTimes, plainTimes;
  for (int round = 1; round <= rounds; ++round) {
    const std::string workerDir = base + "\\worker" + std::to_string(round);
    const std::string plainDir = base + "\\plain" + std::to_string(round);
    ThreadRun worker;
    PlainRun plain;
    if (round % 2) plain = runPlain(payload, plainDir);
    worker = runInstallation(payload, workerDir, nullptr);
    if (!(round % 2)) plain = runPlain(payload, plainDir);
    removeTree(workerDir);
    removeTree(plainDir);
    if (worker.result != 0 || !plain.result.ok) {
      std::fprintf(stderr, "install_bench: round %d failed (worker result %d, plain %s)\n", round,
                   worker.result, plain.result.ok ? "ok" : "failed");
      return 1;
    }
    std::printf("round %d: worker %.1f ms (%u messages), plain loop %.1f ms\n", round, worker.ms,
                worker.messages, plain.ms);
    workerTimes.push_back(worker.ms);
    plainTimes.push_back(plain.ms);
  }
  removeTree(base);

  const double bestWorker = *std::min_element(workerTimes.begin(), workerTimes.end());
  const double bestPlain = *std::min_element(plainTimes.begin(), plainTimes.end());
  std::printf("best of %d: plain loop %.1f ms, worker %.1f ms; medians %.1f and %.1f ms\n", rounds, bestPlain,
              bestWorker, median(plainTimes), median(workerTimes));
  std::printf("ratio: worker / plain loop %.2f on the best times, %.2f on the medians (target 1.50 or less)\n",
              bestWorker / bestPlain, median(workerTimes) / median(plainTimes));
  // The untimed pass before has read the whole payload, so the growth leaves
  // out its mapped pages: it is what the worker itself takes.
  std::printf("memory, worker run: peak working set %.0f -> %.0f KiB (growth %.0f KiB), peak pagefile usage %.0f -> "
              "%.0f KiB\n",
              kib(before.peakWorkingSet), kib(after.peakWorkingSet), kib(after.peakWorkingSet - before.peakWorkingSet),
              kib(before.peakPagefileUsage), kib(after.peakPagefileUsage));
  std::printf("memory, worker run: committed private %.0f KiB at start, +%.0f KiB once the worker had its thread and catalog, "
              "+%.0f KiB at most while extracting\n",
              kib(trace.atStart), kib(trace.atTotal - trace.atStart), kib(trace.peak - trace.atTotal));
  return 0;
}
