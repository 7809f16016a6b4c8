#include "install_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "extract_result.h"
#include "file_extractor.h"
#include "install_job.h"
#include "install_messages.h"
#include "progress_cb.h"
#include "recording_log.h"
#include "scratch_directory.h"
#include "scratch_journal.h"
#include "string_helpers.h"
#include "worker_message_collector.h"

using namespace Escort;

namespace {

// A hanging worker fails its test after this long instead of stalling the run.
constexpr DWORD kWorkerTimeoutMs = 60000;

const char kProgramFilesText[] = "Deleting Kestrel program files";
const char kModuleText[] = "Deleting Kestrel module DLL";
const char kTransponderText[] = "Deleting transponder DLL";
const char kAutoJoinText[] = "Deleting multiplayer auto-join DLL";
const char kDefaultModelsText[] = "Deleting Kestrel default model set";
const char kMarlinText[] = "Deleting Marlin model set";

// --- The demo tree this executable carries as its payload --------------------

void collectFiles(const std::string& directory, const std::string& relative,
                  std::vector<std::string>& files) {
  for (const std::string& name : directoryListing(directory)) {
    const std::string path = directory + "\\" + name;
    const std::string inTree = relative.empty() ? name : relative + "\\" + name;
    if (directoryExists(path))
      collectFiles(path, inTree, files);
    else
      files.push_back(inTree);
  }
}

// Files below `root` ("ks", "fs\\aircraft\\kestrel"), relative to it, in the
// catalog's key order, which is the order the extractor walks a tree in.
std::vector<std::string> demoFiles(const std::string& root) {
  std::vector<std::string> files;
  collectFiles(hostPath(DEMO_TREE) + "\\" + root, "", files);
  std::sort(files.begin(), files.end());
  return files;
}

std::string demoFile(const std::string& relative) {
  return readFileBytes(hostPath(DEMO_TREE) + "\\" + relative);
}

std::string withBackslash(std::string path) {
  ensureTrailingBackslash(path);
  return path;
}

// What a successful run announces, writes and logs, built step by step.
class ExpectedRun {
 public:
  void programFiles(const std::string& programDir) {
    tree("ks", programDir, kProgramFilesText);
  }

  // What a simulator computer gets of the program files: the uninstaller that
  // its registration names, logged as the program tree would be.
  void uninstallerAlone(const std::string& programDir) {
    files.push_back(programDir + "ksuninstall.exe");
    sources.push_back("ks\\ksuninstall.exe");
    events.push_back({"DeleteFile", files.back(), kProgramFilesText});
    events.push_back({"DeleteEmptyDirs", programDir, kProgramFilesText});
  }

  void simulator(const std::string& folder, char version, bool mainModule) {
    const std::string modules = withBackslash(folder) + "modules\\";
    const std::string aircraft = withBackslash(folder) + "aircraft\\";
    module(modules, std::string("kstrans") + version + ".dll", kTransponderText);
    module(modules, "fsuipc.dll", nullptr);
    if (mainModule) module(modules, std::string("ksmod") + version + ".dll", kModuleText);
    if (version == '9') module(modules, "ksmpjoin9.dll", kAutoJoinText);
    tree("fs\\aircraft\\kestrel", aircraft + "kestrel", kDefaultModelsText);
    tree("fs\\aircraft\\marlin", aircraft + "marlin", kMarlinText);
  }

  uint32_t bytes() const {
    uint32_t sum = 0;
    for (const std::string& source : sources) sum += static_cast<uint32_t>(demoFile(source).size());
    return sum;
  }

  size_t fileIndex(const std::string& destination) const {
    return std::find(files.begin(), files.end(), destination) - files.begin();
  }
  size_t eventIndex(const std::string& parameter) const {
    return std::find_if(events.begin(), events.end(),
                        [&](const LoggedEvent& e) { return e.parameter == parameter; }) -
           events.begin();
  }

  std::vector<std::string> files;    // destinations, in the order they are announced
  std::vector<std::string> sources;  // the demo tree file each destination holds
  std::vector<LoggedEvent> events;

 private:
  void module(const std::string& modulesDir, const std::string& name, const char* text) {
    files.push_back(modulesDir + name);
    sources.push_back("fs\\modules\\" + name);
    if (text) events.push_back({"DeleteFile", modulesDir + name, text});
  }

  void tree(const std::string& root, const std::string& destination, const char* text) {
    for (const std::string& file : demoFiles(root)) {
      files.push_back(withBackslash(destination) + file);
      sources.push_back(root + "\\" + file);
      events.push_back({"DeleteFile", files.back(), text});
    }
    events.push_back({"DeleteEmptyDirs", destination, text});
  }
};

void expectInstalled(const ExpectedRun& expected) {
  for (size_t i = 0; i < expected.files.size(); ++i)
    EXPECT_TRUE(readFileBytes(expected.files[i]) == demoFile(expected.sources[i])) << expected.files[i];
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

// What the progress page makes of a run, with the order of the messages
// checked on the way: TOTAL; per file FILE, PROGRESS..., FILE_DONE; DONE.
struct Transcript {
  uint32_t total = 0;
  std::vector<std::string> announced;
  size_t finishedFiles = 0;
  uint32_t finishedBytes = 0;  // the page's count of finished bytes at the end
  int result = -1;
};

Transcript readTranscript(const std::vector<PostedMessage>& messages) {
  Transcript transcript;
  if (messages.empty()) {
    ADD_FAILURE() << "no messages";
    return transcript;
  }
  EXPECT_EQ(messages.front().message, WM_INSTALL_TOTAL);
  bool inFile = false;
  uint32_t produced = 0, size = 0;
  for (size_t i = 0; i < messages.size(); ++i) {
    const PostedMessage& m = messages[i];
    switch (m.message) {
      case WM_INSTALL_TOTAL:
        EXPECT_EQ(i, 0u) << "a second total";
        EXPECT_EQ(m.lParam, 0);
        transcript.total = static_cast<uint32_t>(m.wParam);
        break;
      case WM_INSTALL_FILE:
        EXPECT_FALSE(inFile) << m.file << " announced before the previous file finished";
        EXPECT_EQ(m.wParam, 0u);
        inFile = true;
        produced = size = 0;
        transcript.announced.push_back(m.file);
        break;
      case WM_INSTALL_PROGRESS:
        EXPECT_TRUE(inFile) << "progress outside a file";
        EXPECT_GE(static_cast<uint32_t>(m.wParam), produced) << "progress went back";
        produced = static_cast<uint32_t>(m.wParam);
        size = static_cast<uint32_t>(m.lParam);
        break;
      case WM_INSTALL_FILE_DONE:
        EXPECT_TRUE(inFile) << "a file finished that was never announced";
        EXPECT_EQ(m.wParam, 0u);
        EXPECT_EQ(m.lParam, 0);
        EXPECT_EQ(produced, size) << transcript.announced.back() << " finished short";
        inFile = false;
        transcript.finishedBytes += produced;
        ++transcript.finishedFiles;
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
  if (transcript.result == kInstallSucceeded) {
    EXPECT_FALSE(inFile) << "a file was left unfinished";
  }
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

class InstallWorker : public ::testing::Test {
 protected:
  // The descriptions of the uninstall events come from this executable's string table.
  void SetUp() override { moduleInstance = GetModuleHandleA(nullptr); }

  InstallJob jobFor(InstallType type, bool fs2002, bool fs2004) {
    InstallJob job;
    job.instanceHandle = GetModuleHandleA(nullptr);
    job.uninstallLog = &log;
    const bool simulators = type != InstallType::KestrelComputer;
    job.installFs2002 = simulators && fs2002;
    job.installFs2004 = simulators && fs2004;
    if (job.installFs2002) job.fs2002Dir = fs2002Dir;
    if (job.installFs2004) job.fs2004Dir = fs2004Dir;
    job.installProgramFiles = type != InstallType::SimulatorComputer;
    job.programDir = programDir;
    return job;
  }

  // What a OneComputer run into both simulators writes and logs.
  ExpectedRun everythingIntoBoth() const {
    ExpectedRun expected;
    expected.programFiles(programDir);
    expected.simulator(fs2002Dir, '8', true);
    expected.simulator(fs2004Dir, '9', true);
    return expected;
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

  ExpectedRun expected;
  expected.programFiles(programDir);
  EXPECT_EQ(run.result, kInstallSucceeded);
  EXPECT_EQ(run.announced, expected.files);
  EXPECT_EQ(run.total, expected.bytes());
  EXPECT_EQ(log.events, expected.events);
  expectInstalled(expected);
  EXPECT_FALSE(directoryExists(fs2002Dir));
  EXPECT_FALSE(directoryExists(fs2004Dir));
}

TEST_F(InstallWorker, SimulatorComputerWith2004_InstallsTheUninstallerItsModulesAndBothModelSets) {
  InstallJob job = jobFor(InstallType::SimulatorComputer, false, true);
  const Transcript run = readTranscript(runWorker(job));

  ExpectedRun expected;
  expected.uninstallerAlone(programDir);
  expected.simulator(fs2004Dir, '9', false);
  EXPECT_EQ(run.result, kInstallSucceeded);
  EXPECT_EQ(run.announced, expected.files);
  EXPECT_EQ(run.total, expected.bytes());
  EXPECT_EQ(run.finishedBytes, run.total);
  EXPECT_EQ(log.events, expected.events);
  expectInstalled(expected);
  EXPECT_FALSE(fileExists(fs2004Dir + "\\modules\\ksmod9.dll"));
  EXPECT_EQ(directoryListing(programDir), std::vector<std::string>{"ksuninstall.exe"});
}

TEST_F(InstallWorker, OneComputerWithBoth_Completes2002BeforeAny2004File) {
  InstallJob job = jobFor(InstallType::OneComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedRun expected = everythingIntoBoth();
  EXPECT_EQ(run.result, kInstallSucceeded);
  EXPECT_EQ(run.announced, expected.files);
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
  for (const LoggedEvent& event : log.events)
    EXPECT_EQ(event.parameter.find("fsuipc"), std::string::npos) << event.parameter;
}

TEST_F(InstallWorker, FinishedBytesReachTheTotalThatCameFirst) {
  InstallJob job = jobFor(InstallType::OneComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  const ExpectedRun expected = everythingIntoBoth();
  EXPECT_EQ(run.finishedFiles, expected.files.size());
  EXPECT_EQ(run.total, expected.bytes());
  EXPECT_EQ(run.finishedBytes, run.total);
}

TEST_F(InstallWorker, SimulatorFolders_GetExactlyOneBackslashBeforeModulesAndAircraft) {
  // 2002 as the registry might give it, with a backslash; 2004 without.
  InstallJob job = jobFor(InstallType::SimulatorComputer, true, true);
  job.fs2002Dir = fs2002Dir + "\\";
  const Transcript run = readTranscript(runWorker(job));

  ExpectedRun expected;
  expected.uninstallerAlone(programDir);
  expected.simulator(fs2002Dir, '8', false);
  expected.simulator(fs2004Dir, '9', false);
  EXPECT_EQ(run.result, kInstallSucceeded);
  EXPECT_EQ(run.announced, expected.files);
  EXPECT_EQ(log.events, expected.events);
  for (const std::string& file : run.announced)
    EXPECT_EQ(file.find("\\\\"), std::string::npos) << file;
  for (const LoggedEvent& event : log.events)
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

    ExpectedRun expected;
    expected.uninstallerAlone(programDir);
    expected.simulator(folder, '9', false);
    ASSERT_EQ((folder + deepest).size(), longest);
    if (longest < MAX_PATH) {
      EXPECT_EQ(run.result, kInstallSucceeded);
      EXPECT_EQ(run.announced, expected.files);
      expectInstalled(expected);
    } else {
      EXPECT_EQ(run.result, kOutputFileFailed);
      auto failing = std::find_if(expected.files.begin(), expected.files.end(),
                                  [](const std::string& file) { return file.size() >= MAX_PATH; });
      ASSERT_NE(failing, expected.files.end());
      EXPECT_EQ(run.announced, std::vector<std::string>(expected.files.begin(), failing + 1))
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

  ExpectedRun expected;
  expected.uninstallerAlone(programDir);
  EXPECT_EQ(run.result, kOutputFileFailed);
  EXPECT_EQ(run.announced, (std::vector<std::string>{expected.files[0], transponder}));
  EXPECT_EQ(run.finishedFiles, 1u);
  expected.events.push_back({"DeleteFile", transponder, kTransponderText});
  EXPECT_EQ(log.events, expected.events);
  EXPECT_FALSE(fileExists(fs2004Dir + "\\modules\\fsuipc.dll"));
  EXPECT_FALSE(directoryExists(fs2004Dir + "\\aircraft"));
}

TEST_F(InstallWorker, FailingProgramFiles_NoSimulatorGroupIsAttempted) {
  const std::string blocked = programDir + "kestrel.exe";
  blockWithDirectory(blocked);
  InstallJob job = jobFor(InstallType::OneComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  ExpectedRun complete;
  complete.programFiles(programDir);
  const size_t at = complete.fileIndex(blocked);
  ASSERT_LT(at, complete.files.size());
  std::vector<LoggedEvent> events(complete.events.begin(), complete.events.begin() + at);
  events.push_back({"DeleteEmptyDirs", programDir, kProgramFilesText});

  EXPECT_EQ(run.result, kOutputFileFailed);
  EXPECT_EQ(run.announced, std::vector<std::string>(complete.files.begin(), complete.files.begin() + at + 1));
  EXPECT_EQ(log.events, events);
  EXPECT_FALSE(directoryExists(fs2002Dir));
  EXPECT_FALSE(directoryExists(fs2004Dir));
}

TEST_F(InstallWorker, FailingUninstallerOnSimulatorComputer_IsLoggedAndNoSimulatorFileIsWritten) {
  const std::string uninstaller = programDir + "ksuninstall.exe";
  blockWithDirectory(uninstaller);
  InstallJob job = jobFor(InstallType::SimulatorComputer, true, true);
  const Transcript run = readTranscript(runWorker(job));

  ExpectedRun expected;
  expected.uninstallerAlone(programDir);
  EXPECT_EQ(run.result, kOutputFileFailed);
  EXPECT_EQ(run.announced, std::vector<std::string>{uninstaller});
  EXPECT_EQ(log.events, expected.events);
  EXPECT_FALSE(directoryExists(fs2002Dir));
  EXPECT_FALSE(directoryExists(fs2004Dir));
}

TEST_F(InstallWorker, FailingDefaultModelSet_EndsTheRunBeforeMarlin) {
  const std::string kestrelDir = fs2004Dir + "\\aircraft\\kestrel";
  const std::string blocked = kestrelDir + "\\kestrel_b737\\aircraft.cfg";
  blockWithDirectory(blocked);
  InstallJob job = jobFor(InstallType::SimulatorComputer, false, true);
  const Transcript run = readTranscript(runWorker(job));

  ExpectedRun complete;
  complete.uninstallerAlone(programDir);
  complete.simulator(fs2004Dir, '9', false);
  const size_t fileAt = complete.fileIndex(blocked), eventAt = complete.eventIndex(blocked);
  ASSERT_LT(fileAt, complete.files.size());
  std::vector<LoggedEvent> events(complete.events.begin(), complete.events.begin() + eventAt);
  events.push_back({"DeleteEmptyDirs", kestrelDir, kDefaultModelsText});

  EXPECT_EQ(run.result, kOutputFileFailed);
  EXPECT_EQ(run.announced, std::vector<std::string>(complete.files.begin(), complete.files.begin() + fileAt + 1));
  EXPECT_EQ(log.events, events);
  EXPECT_FALSE(directoryExists(fs2004Dir + "\\aircraft\\marlin"));
}

// --- Taking a run back ----------------------------------------------------------

// Every file, with its bytes, below `directory`.
std::vector<std::pair<std::string, std::string>> contentsBelow(const std::string& directory) {
  std::vector<std::string> files;
  collectFiles(directory, "", files);
  std::vector<std::pair<std::string, std::string>> contents;
  for (const std::string& file : files) contents.push_back({file, readFileBytes(directory + "\\" + file)});
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

// A successful run over an earlier one keeps nothing aside once it is done,
// and logs the folders that the program directory needed above it after it,
// the deepest first.
TEST_F(InstallWorker, SuccessfulRun_LeavesNoTemporaryFileAndLogsTheParentsItMade) {
  CreateDirectoryA((fs2004Dir).c_str(), nullptr);
  CreateDirectoryA((fs2004Dir + "\\modules").c_str(), nullptr);
  writeFileBytes(fs2004Dir + "\\modules\\ksmod9.dll", "an older module");
  ScratchJournal journal;
  InstallJob job = jobFor(InstallType::OneComputer, false, true);
  job.programDir = scratch / "New\\Deeper\\Kestrel\\";
  job.journal = &journal.begin();
  ASSERT_EQ(readTranscript(runWorker(job)).result, kInstallSucceeded);
  ASSERT_TRUE(journal->markCommitted());
  EXPECT_EQ(settleJournal().outcome, JournalSettlement::Finished);

  const std::vector<std::string> modules = directoryListing(fs2004Dir + "\\modules");
  EXPECT_EQ(modules, (std::vector<std::string>{"fsuipc.dll", "ksmod9.dll", "ksmpjoin9.dll", "kstrans9.dll"}));
  EXPECT_EQ(readFileBytes(fs2004Dir + "\\modules\\ksmod9.dll"), demoFile("fs\\modules\\ksmod9.dll"));
  const size_t at = std::find(log.events.begin(), log.events.end(),
                              LoggedEvent{"DeleteEmptyDirs", job.programDir, kProgramFilesText}) -
                    log.events.begin();
  ASSERT_LT(at + 2, log.events.size());
  EXPECT_EQ(log.events[at + 1], (LoggedEvent{"DeleteEmptyDirs", scratch / "New\\Deeper\\", kProgramFilesText}));
  EXPECT_EQ(log.events[at + 2], (LoggedEvent{"DeleteEmptyDirs", scratch / "New\\", kProgramFilesText}));
}

// --- The reporter on its own --------------------------------------------------

TEST(ProgressReporting, EachReportBecomesItsMessage) {
  WorkerMessageCollector collector;
  ProgressCB status(collector.window());
  status.postTotal(3000000000u);
  status.fileStarted("/ks/readme.txt", "C:\\Kestrel\\readme.txt");
  status.fileProgress(10, 20, 2500000000u, 4000000000u);
  status.fileFinished();
  collector.collectQueued();

  const std::vector<PostedMessage>& m = collector.messages;
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0].message, WM_INSTALL_TOTAL);
  EXPECT_EQ(static_cast<uint32_t>(m[0].wParam), 3000000000u);
  EXPECT_EQ(m[0].lParam, 0);
  EXPECT_EQ(m[1].message, WM_INSTALL_FILE);
  EXPECT_EQ(m[1].wParam, 0u);
  EXPECT_EQ(m[1].file, "C:\\Kestrel\\readme.txt");
  EXPECT_EQ(m[2].message, WM_INSTALL_PROGRESS);
  EXPECT_EQ(static_cast<uint32_t>(m[2].wParam), 2500000000u);
  EXPECT_EQ(static_cast<uint32_t>(m[2].lParam), 4000000000u);
  EXPECT_EQ(m[3].message, WM_INSTALL_FILE_DONE);
  EXPECT_EQ(m[3].wParam, 0u);
  EXPECT_EQ(m[3].lParam, 0);
}

TEST(ProgressReporting, AnnouncedNamesOutliveLaterFilesAndTheReporter) {
  WorkerMessageCollector collector;
  {
    ProgressCB status(collector.window());
    status.fileStarted("/ks/a.txt", "C:\\Kestrel\\a.txt");
    status.fileStarted("/ks/docs/b.txt", "C:\\Kestrel\\docs\\b.txt");
  }
  collector.collectQueued();
  ASSERT_EQ(collector.messages.size(), 2u);
  EXPECT_EQ(collector.messages[0].file, "C:\\Kestrel\\a.txt");
  EXPECT_EQ(collector.messages[1].file, "C:\\Kestrel\\docs\\b.txt");
}

TEST(ProgressReporting, NameLongerThanMaxPathIsAnnouncedWhole) {
  const std::string path = "C:\\" + std::string(150, 'k') + "\\" + std::string(150, 'm') + "\\end.dll";
  WorkerMessageCollector collector;
  ProgressCB status(collector.window());
  status.fileStarted("/fs/modules/end.dll", path.c_str());
  collector.collectQueued();
  ASSERT_EQ(collector.messages.size(), 1u);
  EXPECT_EQ(collector.messages[0].file, path);
}

}  // namespace
