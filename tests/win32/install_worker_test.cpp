#include "install_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "durable_changes.h"
#include "extract_result.h"
#include "file_extractor.h"
#include "install_job.h"
#include "installation_run.h"
#include "product_names.h"
#include "registration_reader.h"
#include "registry_key.h"
#include "expected_installation.h"
#include "install_messages.h"
#include "progress_cb.h"
#include "recording_log.h"
#include "scratch_directory.h"
#include "scratch_journal.h"
#include "setup_texts.h"
#include "module_strings.h"
#include "text_format.h"
#include "tree_walk.h"
#include "waiting.h"
#include "worker_message_collector.h"

using namespace Escort;

namespace {

// A hanging worker fails its test after this long instead of stalling the run.
constexpr DWORD kWorkerTimeoutMs = 60000;

const char kProgramFilesText[] = "Deleting Kestrel program files";
const char kDefaultModelsText[] = "Deleting Kestrel default model set";

// --- The demo tree this executable carries as its payload --------------------

std::string demoFile(const std::string& relative) {
  return readFileBytes(hostPath(DEMO_TREE) + "\\" + relative);
}

// What a successful run along `route` writes and logs, by the model the
// scenarios check the real program with.
ExpectedInstallation expectedRun(const Route& route) { return expectedWorkerRun(hostPath(DEMO_TREE), route); }

// The destinations, in the order the run announces them.
std::vector<std::string> destinations(const ExpectedInstallation& expected) {
  std::vector<std::string> files;
  for (const ExpectedFile& file : expected.files) files.push_back(file.installed);
  return files;
}

uint32_t bytesOf(const ExpectedInstallation& expected) {
  uint32_t sum = 0;
  for (const ExpectedFile& file : expected.files) sum += static_cast<uint32_t>(readFileBytes(file.source).size());
  return sum;
}

size_t fileIndex(const ExpectedInstallation& expected, const std::string& destination) {
  const std::vector<std::string> files = destinations(expected);
  return std::find(files.begin(), files.end(), destination) - files.begin();
}

size_t eventIndex(const ExpectedInstallation& expected, const std::string& parameter) {
  return std::find_if(expected.events.begin(), expected.events.end(),
                      [&](const ::UninstallEvent& e) { return e.parameter == parameter; }) -
         expected.events.begin();
}

void expectInstalled(const ExpectedInstallation& expected) {
  for (const ExpectedFile& file : expected.files)
    EXPECT_TRUE(readFileBytes(file.installed) == readFileBytes(file.source)) << file.installed;
}

// --- Running the worker and reading its messages -----------------------------

// Runs the worker on a thread of its own, as the progress page does, and
// collects its messages on this thread until WM_INSTALL_DONE.
std::vector<PostedMessage> runWorker(InstallJob& job) {
  WorkerMessageCollector collector;
  job.progressWindow = collector.window();
  HANDLE thread = CreateThread(nullptr, 0, installWorker, &job, 0, nullptr);
  EXPECT_NE(thread, nullptr);
  EXPECT_TRUE(collector.collectUntilDone(kWorkerTimeoutMs)) << "the worker never posted WM_INSTALL_DONE";
  EXPECT_EQ(WaitForSingleObject(thread, kWorkerTimeoutMs), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeThread(thread, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(thread);
  collector.collectQueued();  // anything after WM_INSTALL_DONE is out of place
  return collector.messages;
}

// What the progress page makes of a run that reports every step (a report
// interval of 0), with the order of the messages checked on the way: TOTAL;
// per file FILE, then PROGRESS with the run's bytes so far; a failure's
// FAILED; PROGRESS once more at the end; DONE.
struct Transcript {
  uint32_t total = 0;
  std::vector<std::string> announced;
  uint32_t written = 0;  // the run's bytes, as the last report gives them
  int result = -1;
  Failure failed;  // what a failure names, where and why
};

Transcript readTranscript(const std::vector<PostedMessage>& messages) {
  Transcript transcript;
  if (messages.empty()) {
    ADD_FAILURE() << "no messages";
    return transcript;
  }
  EXPECT_EQ(messages.front().message, WM_INSTALL_TOTAL);
  for (size_t i = 0; i < messages.size(); ++i) {
    const PostedMessage& m = messages[i];
    switch (m.message) {
      case WM_INSTALL_TOTAL:
        EXPECT_EQ(i, 0u) << "a second total";
        EXPECT_EQ(m.lParam, 0);
        transcript.total = static_cast<uint32_t>(m.wParam);
        break;
      case WM_INSTALL_FILE:
        EXPECT_EQ(m.wParam, 0u);
        transcript.announced.push_back(m.file);
        break;
      case WM_INSTALL_PROGRESS:
        EXPECT_FALSE(transcript.announced.empty()) << "progress before any file";
        EXPECT_GE(static_cast<uint32_t>(m.wParam), transcript.written) << "progress went back";
        EXPECT_EQ(m.lParam, 0);
        transcript.written = static_cast<uint32_t>(m.wParam);
        break;
      case WM_INSTALL_FAILED:
        EXPECT_EQ(i + 3, messages.size()) << "the failure is told before the last report and WM_INSTALL_DONE";
        EXPECT_EQ(m.wParam, 0u);
        transcript.failed = m.failure;
        break;
      case WM_INSTALL_DONE:
        EXPECT_EQ(i, messages.size() - 1) << "messages after WM_INSTALL_DONE";
        EXPECT_EQ(m.lParam, 0);
        transcript.result = static_cast<int>(m.wParam);
        break;
      default:
        ADD_FAILURE() << "unexpected message " << m.message;
    }
  }
  EXPECT_EQ(messages.back().message, WM_INSTALL_DONE);
  return transcript;
}

// Makes `path` and every missing level above it a directory, so that no file
// can be written there.
void blockWithDirectory(const std::string& path) {
  for (size_t end = path.find('\\', 3); end != std::string::npos; end = path.find('\\', end + 1))
    CreateDirectoryA(path.substr(0, end).c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr) || directoryExists(path)) << path;
}

// The installation types as the progress page turns them into jobs.
enum class InstallType { OneComputer, KestrelComputer, SimulatorComputer };

// The events of the registration that the run wrote; the registration goes.
std::vector<::UninstallEvent> takeRegisteredEvents() {
  Registration registration;
  std::string damaged;
  EXPECT_EQ(readRegistration(kProductName, registration, damaged), RegistrationStatus::Found);
  deleteKeyTree(registrationKey(kProductName));
  std::vector<::UninstallEvent> events;
  for (const Escort::UninstallEvent& e : registration.events) events.push_back({e.command, e.parameter, e.description});
  return events;
}

class InstallWorker : public ::testing::Test {
 protected:
  // The descriptions of the uninstall events come from this executable's string table.
  void SetUp() override { moduleInstance = GetModuleHandleA(nullptr); }

  InstallJob jobFor(InstallType type, bool fs2002, bool fs2004) {
    InstallJob job;
    job.instanceHandle = GetModuleHandleA(nullptr);
    job.uninstallLog = &log;
    job.texts = installTexts();
    job.reportInterval = 0;  // every file and every block told
    const bool simulators = type != InstallType::KestrelComputer;
    job.installFs2002 = simulators && fs2002;
    job.installFs2004 = simulators && fs2004;
    if (job.installFs2002) job.fs2002Dir = fs2002Dir;
    if (job.installFs2004) job.fs2004Dir = fs2004Dir;
    job.installProgramFiles = type != InstallType::SimulatorComputer;
    job.programDir = programDir;
    return job;
  }

  // The route of jobFor(type, fs2002, fs2004).
  Route routeFor(InstallType type, bool fs2002, bool fs2004) const {
    const bool simulators = type != InstallType::KestrelComputer;
    return Route{programDir, type != InstallType::SimulatorComputer, simulators && fs2002 ? fs2002Dir : "",
                 simulators && fs2004 ? fs2004Dir : ""};
  }

  ScratchDirectory scratch{"worker"};
  RecordingLog log;
  const std::string programDir = scratch / "Kestrel\\";
  const std::string fs2002Dir = scratch / "FS2002";
  const std::string fs2004Dir = scratch / "FS2004";
};

// --- Successful runs ----------------------------------------------------------

TEST_F(InstallWorker, KestrelComputer_InstallsEveryProgramFileThenLogsTheirDirectory) {
  InstallJob job = jobFor(InstallType::KestrelComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedInstallation expected = expectedRun(routeFor(InstallType::KestrelComputer, true, true));
  EXPECT_EQ(run.result, kInstallSucceeded);
  EXPECT_EQ(run.announced, destinations(expected));
  EXPECT_EQ(run.total, bytesOf(expected));
  EXPECT_EQ(log.events, expected.events);
  expectInstalled(expected);
  EXPECT_FALSE(directoryExists(fs2002Dir));
  EXPECT_FALSE(directoryExists(fs2004Dir));
}

TEST_F(InstallWorker, SimulatorComputerWith2004_InstallsTheUninstallerItsModulesAndBothModelSets) {
  InstallJob job = jobFor(InstallType::SimulatorComputer, false, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedInstallation expected = expectedRun(routeFor(InstallType::SimulatorComputer, false, true));
  EXPECT_EQ(run.result, kInstallSucceeded);
  EXPECT_EQ(run.announced, destinations(expected));
  EXPECT_EQ(run.total, bytesOf(expected));
  EXPECT_EQ(run.written, run.total);
  EXPECT_EQ(log.events, expected.events);
  expectInstalled(expected);
  EXPECT_FALSE(fileExists(fs2004Dir + "\\modules\\ksmod9.dll"));
  EXPECT_EQ(directoryListing(programDir), std::vector<std::string>{"ksuninstall.exe"});
}

TEST_F(InstallWorker, OneComputerWithBoth_Completes2002BeforeAny2004File) {
  InstallJob job = jobFor(InstallType::OneComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedInstallation expected = expectedRun(routeFor(InstallType::OneComputer, true, true));
  EXPECT_EQ(run.result, kInstallSucceeded);
  EXPECT_EQ(run.announced, destinations(expected));
  EXPECT_EQ(log.events, expected.events);
  expectInstalled(expected);
}

TEST_F(InstallWorker, SharedModule_IsWrittenIntoEachSimulatorAndNeverLogged) {
  InstallJob job = jobFor(InstallType::OneComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  for (const std::string& folder : {fs2002Dir, fs2004Dir}) {
    const std::string shared = folder + "\\modules\\fsuipc.dll";
    EXPECT_EQ(std::count(run.announced.begin(), run.announced.end(), shared), 1) << shared;
    EXPECT_TRUE(readFileBytes(shared) == demoFile("fs\\modules\\fsuipc.dll")) << shared;
  }
  for (const ::UninstallEvent& event : log.events)
    EXPECT_EQ(event.parameter.find("fsuipc"), std::string::npos) << event.parameter;
}

TEST_F(InstallWorker, WrittenBytesReachTheTotalThatCameFirst) {
  InstallJob job = jobFor(InstallType::OneComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedInstallation expected = expectedRun(routeFor(InstallType::OneComputer, true, true));
  EXPECT_EQ(run.announced.size(), expected.files.size());
  EXPECT_EQ(run.total, bytesOf(expected));
  EXPECT_EQ(run.written, run.total);
}

TEST_F(InstallWorker, SimulatorFolders_GetExactlyOneBackslashBeforeModulesAndAircraft) {
  // 2002 as the registry might give it, with a backslash; 2004 without.
  InstallJob job = jobFor(InstallType::SimulatorComputer, true, true);
  job.fs2002Dir = fs2002Dir + "\\";
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedInstallation expected = expectedRun(routeFor(InstallType::SimulatorComputer, true, true));
  EXPECT_EQ(run.result, kInstallSucceeded);
  EXPECT_EQ(run.announced, destinations(expected));
  EXPECT_EQ(log.events, expected.events);
  for (const std::string& file : run.announced)
    EXPECT_EQ(file.find("\\\\"), std::string::npos) << file;
  for (const ::UninstallEvent& event : log.events)
    EXPECT_EQ(event.parameter.find("\\\\"), std::string::npos) << event.parameter;
}

TEST_F(InstallWorker, WorkerClosesTheCatalogWhenItEnds) {
  InstallJob job = jobFor(InstallType::KestrelComputer, false, false);
  runWorker(job);
  uint32_t compressed = 0, uncompressed = 0;
  EXPECT_EQ(getFileExtractor()->entrySize("/ks/readme.txt", &compressed, &uncompressed), kEntryMissing);
}

TEST_F(InstallWorker, PageMayFreeTheJobAndTheLogAsSoonAsDoneArrives) {
  WorkerMessageCollector collector;
  std::optional<RecordingLog> pageLog(std::in_place);
  std::optional<InstallJob> job(jobFor(InstallType::OneComputer, true, true));
  job->uninstallLog = &*pageLog;
  job->progressWindow = collector.window();
  HANDLE thread = CreateThread(nullptr, 0, installWorker, &*job, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(collector.collectUntilDone(kWorkerTimeoutMs));
  // What the page does on WM_INSTALL_DONE. Cleared first, so that a worker
  // still reading the job would meet null handles rather than stale ones.
  *job = InstallJob();
  job.reset();
  pageLog.reset();

  EXPECT_EQ(collector.messages.back().wParam, WPARAM(kInstallSucceeded));
  EXPECT_EQ(WaitForSingleObject(thread, kWorkerTimeoutMs), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeThread(thread, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(thread);
  collector.collectQueued();
  EXPECT_EQ(collector.messages.back().message, WM_INSTALL_DONE) << "a message after WM_INSTALL_DONE";
}

// The worker hands the extractor and the page the whole destination path. The
// ANSI file functions of Windows stop at MAX_PATH; Wine's C runtime opens longer
// paths, but the extractor applies Windows' limit itself, so a destination one
// character past it fails with 3 here as on a user's machine. The directory
// stays under 246 characters: GetTempFileNameA needs room for a name.
TEST_F(InstallWorker, DestinationsUpToMaxPath_AreExtractedAndAnnouncedWhole_OnePastFailsWith3) {
  const std::string deepest = "\\aircraft\\kestrel\\kestrel_b737\\texture.nfa\\kestrel_b737_t.bmp";
  for (size_t longest : {MAX_PATH - 1, MAX_PATH}) {
    SCOPED_TRACE(longest);
    const std::string padding = "padding" + std::to_string(longest);
    const std::string folder =
        scratch / (padding + std::string(longest - deepest.size() - scratch.path().size() - 1 -
                                             padding.size(), 'p'));
    InstallJob job = jobFor(InstallType::SimulatorComputer, false, true);
    job.fs2004Dir = folder;
    RecordingLog runLog;
    job.uninstallLog = &runLog;
    const Transcript run = readTranscript(runWorker(job));

    const std::vector<std::string> expected = destinations(expectedRun(Route{programDir, false, "", folder}));
    ASSERT_EQ((folder + deepest).size(), longest);
    if (longest < MAX_PATH) {
      EXPECT_EQ(run.result, kInstallSucceeded);
      EXPECT_EQ(run.announced, expected);
      expectInstalled(expectedRun(Route{programDir, false, "", folder}));
    } else {
      EXPECT_EQ(run.result, kOutputFileFailed);
      auto failing = std::find_if(expected.begin(), expected.end(),
                                  [](const std::string& file) { return file.size() >= MAX_PATH; });
      ASSERT_NE(failing, expected.end());
      EXPECT_EQ(run.announced, std::vector<std::string>(expected.begin(), failing + 1))
          << "the run stops at the first file that does not fit";
    }
    // The scratch directory is removed with ANSI calls, which need short paths.
    MoveFileA(folder.c_str(), (scratch / padding).c_str());
  }
}

// --- Failures -----------------------------------------------------------------

TEST_F(InstallWorker, UnreadableCatalog_DoneWith4IsTheOnlyMessage) {
  InstallJob job = jobFor(InstallType::OneComputer, true, true);
  job.instanceHandle = LoadLibraryA("payload_bad_catalog.dll");
  ASSERT_NE(job.instanceHandle, nullptr);
  const std::vector<PostedMessage> messages = runWorker(job);

  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, WM_INSTALL_DONE);
  EXPECT_EQ(messages[0].wParam, WPARAM(kPayloadNotOpened));
  EXPECT_EQ(messages[0].lParam, 0);
  EXPECT_TRUE(log.events.empty());
  EXPECT_FALSE(directoryExists(programDir));
}

TEST_F(InstallWorker, FailingTransponderModule_IsLoggedAndNothingAfterItIsAttempted) {
  const std::string transponder = fs2004Dir + "\\modules\\kstrans9.dll";
  blockWithDirectory(transponder);
  InstallJob job = jobFor(InstallType::SimulatorComputer, false, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedInstallation complete = expectedRun(routeFor(InstallType::SimulatorComputer, false, true));
  EXPECT_EQ(run.result, kOutputFileFailed);
  EXPECT_EQ(run.failed.item, transponder) << "the page can say what failed";
  EXPECT_EQ(run.failed.systemError, DWORD(ERROR_ALREADY_EXISTS)) << "a folder stands in its place";
  EXPECT_EQ(run.failed.site, FailureSite::FolderInTheWay);
  const std::vector<std::string> files = destinations(complete);
  EXPECT_EQ(run.announced, std::vector<std::string>(files.begin(), files.begin() + fileIndex(complete, transponder) + 1));
  EXPECT_EQ(run.written, demoFile("ks\\ksuninstall.exe").size()) << "the uninstaller alone was written";
  EXPECT_EQ(log.events, std::vector<::UninstallEvent>(complete.events.begin(),
                                                    complete.events.begin() + eventIndex(complete, transponder) + 1));
  EXPECT_FALSE(fileExists(fs2004Dir + "\\modules\\fsuipc.dll"));
  EXPECT_FALSE(directoryExists(fs2004Dir + "\\aircraft"));
}

TEST_F(InstallWorker, FailingProgramFiles_NoSimulatorGroupIsAttempted) {
  const std::string blocked = programDir + "kestrel.exe";
  blockWithDirectory(blocked);
  InstallJob job = jobFor(InstallType::OneComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedInstallation complete = expectedRun(routeFor(InstallType::KestrelComputer, false, false));
  const std::vector<std::string> files = destinations(complete);
  const size_t at = fileIndex(complete, blocked);
  ASSERT_LT(at, files.size());
  std::vector<::UninstallEvent> events(complete.events.begin(), complete.events.begin() + at);
  events.push_back({"DeleteEmptyDirs", programDir, kProgramFilesText});

  EXPECT_EQ(run.result, kOutputFileFailed);
  EXPECT_EQ(run.announced, std::vector<std::string>(files.begin(), files.begin() + at + 1));
  EXPECT_EQ(log.events, events);
  EXPECT_FALSE(directoryExists(fs2002Dir));
  EXPECT_FALSE(directoryExists(fs2004Dir));
}

TEST_F(InstallWorker, FailingUninstallerOnSimulatorComputer_IsLoggedAndNoSimulatorFileIsWritten) {
  const std::string uninstaller = programDir + "ksuninstall.exe";
  blockWithDirectory(uninstaller);
  InstallJob job = jobFor(InstallType::SimulatorComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedInstallation complete = expectedRun(routeFor(InstallType::SimulatorComputer, true, true));
  EXPECT_EQ(run.result, kOutputFileFailed);
  EXPECT_EQ(run.announced, std::vector<std::string>{uninstaller});
  // The uninstaller's events, and none of the simulators'.
  EXPECT_EQ(log.events, std::vector<::UninstallEvent>(complete.events.begin(),
                                                    complete.events.begin() + eventIndex(complete, programDir) + 1));
  EXPECT_FALSE(directoryExists(fs2002Dir));
  EXPECT_FALSE(directoryExists(fs2004Dir));
}

TEST_F(InstallWorker, FailingDefaultModelSet_EndsTheRunBeforeMarlin) {
  const std::string kestrelDir = fs2004Dir + "\\aircraft\\kestrel";
  const std::string blocked = kestrelDir + "\\kestrel_b737\\aircraft.cfg";
  blockWithDirectory(blocked);
  InstallJob job = jobFor(InstallType::SimulatorComputer, false, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedInstallation complete = expectedRun(routeFor(InstallType::SimulatorComputer, false, true));
  const std::vector<std::string> files = destinations(complete);
  const size_t fileAt = fileIndex(complete, blocked), eventAt = eventIndex(complete, blocked);
  ASSERT_LT(fileAt, files.size());
  std::vector<::UninstallEvent> events(complete.events.begin(), complete.events.begin() + eventAt);
  events.push_back({"DeleteEmptyDirs", kestrelDir, kDefaultModelsText});

  EXPECT_EQ(run.result, kOutputFileFailed);
  EXPECT_EQ(run.announced, std::vector<std::string>(files.begin(), files.begin() + fileAt + 1));
  EXPECT_EQ(log.events, events);
  EXPECT_FALSE(directoryExists(fs2004Dir + "\\aircraft\\marlin"));
}

// --- Taking a run back ----------------------------------------------------------

// Every file, with its bytes, below `directory`.
std::vector<std::pair<std::string, std::string>> contentsBelow(const std::string& directory) {
  std::vector<std::pair<std::string, std::string>> contents;
  for (const std::string& file : filesBelow(directory)) contents.push_back({file, readFileBytes(directory + "\\" + file)});
  return contents;
}

// A run that fails late, over an earlier installation and a user's file, is
// taken back whole: every file it created or replaced, every folder it made.
TEST_F(InstallWorker, FailedRunOverAnEarlierInstallation_IsTakenBackWhole) {
  CreateDirectoryA(programDir.c_str(), nullptr);
  writeFileBytes(programDir + "readme.txt", "an earlier readme");
  writeFileBytes(programDir + "my notes.txt", "the user's own");
  CreateDirectoryA((fs2004Dir).c_str(), nullptr);
  CreateDirectoryA((fs2004Dir + "\\modules").c_str(), nullptr);
  writeFileBytes(fs2004Dir + "\\modules\\ksmod9.dll", "an older module");
  blockWithDirectory(fs2004Dir + "\\aircraft\\marlin\\marlin_b738\\aircraft.cfg");
  const auto programBefore = contentsBelow(programDir), simulatorBefore = contentsBelow(fs2004Dir);

  ScratchJournal journal;
  InstallJob job = jobFor(InstallType::OneComputer, false, true);
  job.journal = &journal.begin();
  ASSERT_EQ(readTranscript(runWorker(job)).result, kOutputFileFailed);
  ASSERT_NE(contentsBelow(programDir), programBefore);
  EXPECT_EQ(settleJournal().outcome, JournalSettlement::TakenBack);

  EXPECT_EQ(contentsBelow(programDir), programBefore);
  EXPECT_EQ(contentsBelow(fs2004Dir), simulatorBefore);
  EXPECT_EQ(directoryListing(fs2004Dir + "\\aircraft"), std::vector<std::string>{"marlin"});
  EXPECT_EQ(directoryListing(programDir), (std::vector<std::string>{"my notes.txt", "readme.txt"}));
}

// Runs `run` as the progress page does, as far as the worker's end, for a
// computer that runs only the simulator (no settings, no shortcuts): the
// worker's result.
int runUntilTheFilesAreDone(InstallationRun& run, const std::function<void()>& beforeTheWorker = [] {}) {
  WorkerMessageCollector collector;
  EXPECT_TRUE(run.plan() && run.begin());
  beforeTheWorker();
  EXPECT_TRUE(run.startWorker(collector.window()));
  EXPECT_TRUE(collector.collectUntilDone(kWorkerTimeoutMs));
  int result = -1;
  for (const PostedMessage& m : collector.messages) {
    if (m.message == WM_INSTALL_FAILED) run.workerFailed(m.failure);
    if (m.message == WM_INSTALL_DONE) result = static_cast<int>(m.wParam);
  }
  run.workerEnded(result);
  return result;
}

// A file that another program puts where the plan saw none is kept aside
// like any earlier file, never deleted: a run taken back gives it back.
TEST_F(InstallWorker, AFileThatAppearsAfterThePlanIsKeptAsideAndGivenBack) {
  ScratchJournal::discard();
  const std::string appeared = fs2004Dir + "\\modules\\kstrans9.dll";
  InstallationRun run(jobFor(InstallType::SimulatorComputer, false, true));
  ASSERT_EQ(runUntilTheFilesAreDone(run, [&] {
              CreateDirectoryA(fs2004Dir.c_str(), nullptr);
              CreateDirectoryA((fs2004Dir + "\\modules").c_str(), nullptr);
              writeFileBytes(appeared, "another program's");
            }),
            kInstallSucceeded);
  EXPECT_EQ(readFileBytes(appeared), demoFile("fs\\modules\\kstrans9.dll"));
  EXPECT_EQ(run.takeBack().outcome, JournalSettlement::TakenBack);
  EXPECT_EQ(readFileBytes(appeared), "another program's");
  EXPECT_EQ(directoryListing(fs2004Dir + "\\modules"), std::vector<std::string>{"kstrans9.dll"});
}

// An earlier file that the plan saw and that cannot be found when its turn
// comes may only be out of sight (its drive unplugged): the run goes no
// further with it, and is taken back whole.
TEST_F(InstallWorker, AnEarlierFileNoLongerFoundStopsTheRun) {
  ScratchJournal::discard();
  const std::string earlier = fs2004Dir + "\\modules\\kstrans9.dll";
  CreateDirectoryA(fs2004Dir.c_str(), nullptr);
  CreateDirectoryA((fs2004Dir + "\\modules").c_str(), nullptr);
  writeFileBytes(earlier, "an earlier transponder");
  InstallationRun run(jobFor(InstallType::SimulatorComputer, false, true));
  ASSERT_EQ(runUntilTheFilesAreDone(run, [&] { DeleteFileA(earlier.c_str()); }), kOutputFileFailed);
  EXPECT_EQ(run.failure().item, earlier);
  EXPECT_EQ(run.failure().site, FailureSite::EarlierFileGone);
  EXPECT_EQ(run.takeBack().outcome, JournalSettlement::TakenBack);
  EXPECT_EQ(directoryListing(fs2004Dir + "\\modules"), std::vector<std::string>{});
  EXPECT_FALSE(directoryExists(programDir));
}

// Flushes held back while `held` is set: a flushing thread meanwhile keeps
// open the file it flushes, and those queued behind it.
class FlushesHeld {
 public:
  FlushesHeld() { durable::watchChanges(watch, this); }
  ~FlushesHeld() {
    join();
    durable::watchChanges(nullptr, nullptr);
  }
  FlushesHeld(const FlushesHeld&) = delete;
  FlushesHeld& operator=(const FlushesHeld&) = delete;
  // Lets the flushes go `ms` from now, on a thread of its own.
  void letGoAfter(DWORD ms) {
    delay = ms;
    letGo = CreateThread(nullptr, 0, letGoLater, this, 0, nullptr);
  }

 private:
  void join() {
    if (!letGo) return;
    WaitForSingleObject(letGo, INFINITE);
    CloseHandle(letGo);
  }
  static DWORD WINAPI letGoLater(void* self) {
    Sleep(static_cast<FlushesHeld*>(self)->delay);
    InterlockedExchange(&static_cast<FlushesHeld*>(self)->held, 0);
    return 0;
  }
  static void watch(const durable::Change& change, void* self) {
    if (change.kind != durable::Change::FileFlushed) return;
    while (InterlockedCompareExchange(&static_cast<FlushesHeld*>(self)->held, 1, 1)) Sleep(1);
  }
  volatile LONG held = 1;
  DWORD delay = 0;
  HANDLE letGo = nullptr;
};

// What a take-back waited for.
class RecordedWaiting final : public Waiting {
 public:
  void waitFor(const std::string& path, unsigned long ms) override {
    paths.push_back(path);
    Sleep(ms);
  }
  std::vector<std::string> paths;
};

// A run taken back while the files it wrote are still being flushed: the
// flushes end first, so that no file of the run is open when it is deleted
// (Windows, and Wine 8.0, keep the name of a file deleted while open, and
// its folder cannot go): the take-back never waits for the run itself.
TEST_F(InstallWorker, ATakeBackLetsTheRunsOwnFlushesEndFirst) {
  ScratchJournal::discard();
  FlushesHeld flushes;
  InstallationRun run(jobFor(InstallType::SimulatorComputer, false, true));
  const int result = runUntilTheFilesAreDone(run);
  flushes.letGoAfter(500);
  ASSERT_EQ(result, kInstallSucceeded);
  RecordedWaiting waiting;
  const JournalSettlement settlement = run.takeBack(waiting);
  EXPECT_EQ(settlement.outcome, JournalSettlement::TakenBack);
  EXPECT_EQ(waiting.paths, std::vector<std::string>{});
  EXPECT_FALSE(directoryExists(fs2004Dir + "\\modules"));
}

// Both simulators registered in one folder, under two spellings of its name:
// each file goes there once, and the registration names each once.
TEST_F(InstallWorker, BothSimulatorsInOneFolderGetEachFileOnce) {
  ScratchJournal::discard();
  CreateDirectoryA(fs2004Dir.c_str(), nullptr);
  InstallJob job = jobFor(InstallType::SimulatorComputer, true, true);
  job.fs2002Dir = asciiLowerCase(fs2004Dir) + "\\";
  InstallationRun run(job);
  ASSERT_EQ(runUntilTheFilesAreDone(run), kInstallSucceeded);
  ASSERT_TRUE(run.commit());
  const ExpectedInstallation expected = expectedRun(Route{programDir, false, fs2004Dir, fs2004Dir});
  expectInstalled(expected);
  const std::vector<::UninstallEvent> events = takeRegisteredEvents();
  EXPECT_EQ(events, expected.events);
}

// A successful run over an earlier one keeps nothing aside once it is done,
// and logs the folders that the program directory needed above it after it,
// the deepest first: the run as the progress page runs it, its registration
// read back.
TEST_F(InstallWorker, SuccessfulRun_LeavesNoTemporaryFileAndLogsTheParentsItMade) {
  CreateDirectoryA((fs2004Dir).c_str(), nullptr);
  CreateDirectoryA((fs2004Dir + "\\modules").c_str(), nullptr);
  writeFileBytes(fs2004Dir + "\\modules\\ksmpjoin9.dll", "an older module");
  ScratchJournal::discard();
  InstallJob job = jobFor(InstallType::SimulatorComputer, false, true);
  job.programDir = scratch / "New\\Deeper\\Kestrel\\";
  job.uninstallLog = nullptr;
  InstallationRun run(job);
  WorkerMessageCollector collector;
  ASSERT_TRUE(run.plan() && run.begin() && run.startWorker(collector.window()));
  ASSERT_TRUE(collector.collectUntilDone(kWorkerTimeoutMs));
  ASSERT_TRUE(run.workerEnded(static_cast<int>(collector.messages.back().wParam)));
  ASSERT_TRUE(run.commit());
  EXPECT_FALSE(journalExists());

  const std::vector<std::string> modules = directoryListing(fs2004Dir + "\\modules");
  EXPECT_EQ(modules, (std::vector<std::string>{"fsuipc.dll", "ksmpjoin9.dll", "kstrans9.dll"}));
  EXPECT_EQ(readFileBytes(fs2004Dir + "\\modules\\ksmpjoin9.dll"), demoFile("fs\\modules\\ksmpjoin9.dll"));
  const std::vector<::UninstallEvent> events = takeRegisteredEvents();
  const size_t at = std::find(events.begin(), events.end(),
                              ::UninstallEvent{"DeleteEmptyDirs", job.programDir, kProgramFilesText}) -
                    events.begin();
  ASSERT_LT(at + 2, events.size());
  EXPECT_EQ(events[at + 1], (::UninstallEvent{"DeleteEmptyDirs", scratch / "New\\Deeper\\", kProgramFilesText}));
  EXPECT_EQ(events[at + 2], (::UninstallEvent{"DeleteEmptyDirs", scratch / "New\\", kProgramFilesText}));
}

// --- The reporter on its own --------------------------------------------------

// Reporting every step: each file is named, and each report gives the bytes
// of the whole run so far, counted on across files in 32 bits.
TEST(ProgressReporting, EveryReportTellsTheRunsBytesSoFar) {
  WorkerMessageCollector collector;
  ProgressCB status(collector.window(), 0);
  status.postTotal(4000000000u);
  status.fileStarted("/ks/readme.txt", "C:\\Kestrel\\readme.txt");
  status.fileProgress(10, 20, 2500000000u, 2500000000u);
  status.fileFinished();
  status.fileStarted("/ks/big.bin", "C:\\Kestrel\\big.bin");
  status.fileProgress(10, 20, 1000000000u, 1500000000u);
  collector.collectQueued();

  const struct {
    UINT message;
    uint32_t bytes;
    const char* file;
  } expected[] = {{WM_INSTALL_TOTAL, 4000000000u, ""},
                  {WM_INSTALL_FILE, 0, "C:\\Kestrel\\readme.txt"},
                  {WM_INSTALL_PROGRESS, 0, ""},
                  {WM_INSTALL_PROGRESS, 2500000000u, ""},
                  {WM_INSTALL_FILE, 0, "C:\\Kestrel\\big.bin"},
                  {WM_INSTALL_PROGRESS, 2500000000u, ""},
                  {WM_INSTALL_PROGRESS, 3500000000u, ""}};
  ASSERT_EQ(collector.messages.size(), std::size(expected));
  for (size_t n = 0; n < std::size(expected); ++n) {
    const PostedMessage& m = collector.messages[n];
    EXPECT_EQ(m.message, expected[n].message) << n;
    EXPECT_EQ(m.message == WM_INSTALL_FILE ? 0u : static_cast<uint32_t>(m.wParam), expected[n].bytes) << n;
    EXPECT_EQ(m.file, expected[n].file) << n;
  }
}

// At the page's own rate: within one interval nothing more is posted, but a
// file that fails is named before its failure, and the end tells the bytes.
TEST(ProgressReporting, ReportsAtMostOncePerIntervalAndNamesAFailingFile) {
  WorkerMessageCollector collector;
  ProgressCB status(collector.window(), 60000);
  status.fileStarted("/ks/a.txt", "C:\\Kestrel\\a.txt");
  status.fileProgress(1, 1, 100, 100);
  status.fileFinished();
  status.fileStarted("/ks/b.txt", "C:\\Kestrel\\b.txt");
  status.fileProgress(1, 1, 50, 100);
  status.fileFailed({"C:\\Kestrel\\b.txt", ERROR_DISK_FULL, FailureSite::Write, "WriteFile"});
  status.postWritten();
  collector.collectQueued();

  const std::vector<PostedMessage>& m = collector.messages;
  ASSERT_EQ(m.size(), 5u);
  EXPECT_EQ(m[0].message, WM_INSTALL_FILE);
  EXPECT_EQ(m[0].file, "C:\\Kestrel\\a.txt");
  EXPECT_EQ(m[1].message, WM_INSTALL_PROGRESS);
  EXPECT_EQ(m[2].message, WM_INSTALL_FILE);
  EXPECT_EQ(m[2].file, "C:\\Kestrel\\b.txt");
  EXPECT_EQ(m[3].message, WM_INSTALL_FAILED);
  EXPECT_EQ(m[3].failure.item, "C:\\Kestrel\\b.txt");
  EXPECT_EQ(m[3].failure.systemError, DWORD(ERROR_DISK_FULL));
  EXPECT_EQ(m[3].failure.site, FailureSite::Write);
  EXPECT_EQ(m[4].message, WM_INSTALL_PROGRESS);
  EXPECT_EQ(m[4].wParam, WPARAM(150));
}

TEST(ProgressReporting, AnnouncedNamesOutliveLaterFilesAndTheReporter) {
  WorkerMessageCollector collector;
  {
    ProgressCB status(collector.window(), 0);
    status.fileStarted("/ks/a.txt", "C:\\Kestrel\\a.txt");
    status.fileStarted("/ks/docs/b.txt", "C:\\Kestrel\\docs\\b.txt");
  }
  collector.collectQueued();
  ASSERT_EQ(collector.messages.size(), 4u);
  EXPECT_EQ(collector.messages[0].file, "C:\\Kestrel\\a.txt");
  EXPECT_EQ(collector.messages[2].file, "C:\\Kestrel\\docs\\b.txt");
}

TEST(ProgressReporting, NameLongerThanMaxPathIsAnnouncedWhole) {
  const std::string path = "C:\\" + std::string(150, 'k') + "\\" + std::string(150, 'm') + "\\end.dll";
  WorkerMessageCollector collector;
  ProgressCB status(collector.window(), 0);
  status.fileStarted("/fs/modules/end.dll", path.c_str());
  collector.collectQueued();
  ASSERT_EQ(collector.messages.size(), 2u);
  EXPECT_EQ(collector.messages[0].file, path);
}

}  // namespace
