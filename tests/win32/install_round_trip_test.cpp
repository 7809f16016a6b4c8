// What the installation worker logs is what it puts on disk: a worker run,
// committed through the real uninstall log and undone by the uninstaller's own
// logic, leaves the folders as they were, but for the shared module, which the
// design keeps. For every installation type.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "install_job.h"
#include "install_messages.h"
#include "install_worker.h"
#include "module_strings.h"
#include "registry_view.h"
#include "scratch_directory.h"
#include "tree_walk.h"
#include "uninstall_run.h"
#include "uninstaller_setup_factory.h"
#include "worker_message_collector.h"

namespace {

constexpr DWORD kWorkerTimeoutMs = 60000;

class IgnoringObserver : public UninstallObserver {
 public:
  void progress(size_t, size_t, const std::string&) override {}
  bool fileInUse(const std::string&) override { return false; }
};

struct RoundTrip {
  const char* name;
  bool programFiles, fs2002, fs2004;
};

class InstallRoundTrip : public ::testing::TestWithParam<RoundTrip> {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandleA(nullptr);
    // Simulator folders as a real installation has them, with files of their own.
    for (const std::string& folder : {fs2002Dir, fs2004Dir}) {
      CreateDirectoryA(folder.c_str(), nullptr);
      CreateDirectoryA((folder + "\\modules").c_str(), nullptr);
      CreateDirectoryA((folder + "\\aircraft").c_str(), nullptr);
      CreateDirectoryA((folder + "\\aircraft\\default").c_str(), nullptr);
      writeFileBytes(folder + "\\modules\\other.dll", "another add-on");
      writeFileBytes(folder + "\\aircraft\\default\\aircraft.cfg", "the simulator's own");
    }
    CreateDirectoryA((scratch / "Program Files").c_str(), nullptr);
  }
  void TearDown() override { deleteMachineTree(registrationKey(productName)); }

  ScratchDirectory scratch{"round-trip"};
  const std::string programDir = scratch / "Program Files\\Kestrel 3\\";
  const std::string fs2002Dir = scratch / "FS2002";
  const std::string fs2004Dir = scratch / "FS2004";
  const std::string productName = std::string("Kestrel 3 round trip ") + GetParam().name;
};

TEST_P(InstallRoundTrip, UninstallingWhatTheWorkerLoggedLeavesOnlyTheSharedModule) {
  const RoundTrip& type = GetParam();
  const std::vector<std::string> before = entriesBelow(scratch.path());

  Escort::UninstallerSetup* log =
      Escort::createUninstallerSetup(productName.c_str(), "", (programDir + "ksuninstall.exe").c_str());
  ASSERT_NE(log, nullptr);
  InstallJob job;
  job.instanceHandle = GetModuleHandleA(nullptr);
  job.uninstallLog = log;
  job.installProgramFiles = type.programFiles;
  job.installFs2002 = type.fs2002;
  job.installFs2004 = type.fs2004;
  if (type.fs2002) job.fs2002Dir = fs2002Dir;
  if (type.fs2004) job.fs2004Dir = fs2004Dir;
  job.programDir = programDir;
  WorkerMessageCollector collector;
  job.progressWindow = collector.window();
  HANDLE thread = CreateThread(nullptr, 0, installWorker, &job, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(collector.collectUntilDone(kWorkerTimeoutMs));
  EXPECT_EQ(WaitForSingleObject(thread, kWorkerTimeoutMs), WAIT_OBJECT_0);
  CloseHandle(thread);
  ASSERT_EQ(collector.messages.back().wParam, WPARAM(kInstallSucceeded));
  ASSERT_TRUE(log->commit());
  EXPECT_TRUE(fileExists(programDir + "ksuninstall.exe")) << "every installation can be undone";

  Registration registration;
  std::string damaged;
  ASSERT_EQ(readRegistration(productName, registration, damaged), RegistrationStatus::Found) << damaged;
  IgnoringObserver observer;
  const UninstallSummary summary = runUninstall(productName, registration, observer);
  EXPECT_TRUE(summary.complete());
  EXPECT_TRUE(summary.refused.empty());
  EXPECT_TRUE(summary.kept.empty());
  EXPECT_FALSE(machineKeyExists(registrationKey(productName)));

  std::vector<std::string> expected = before;
  if (type.fs2002) expected.push_back("FS2002\\modules\\fsuipc.dll");
  if (type.fs2004) expected.push_back("FS2004\\modules\\fsuipc.dll");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(entriesBelow(scratch.path()), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryInstallationType, InstallRoundTrip,
                         ::testing::Values(RoundTrip{"OneComputerWithBoth", true, true, true},
                                           RoundTrip{"KestrelComputer", true, false, false},
                                           RoundTrip{"SimulatorComputerWith2004", false, false, true},
                                           RoundTrip{"SimulatorComputerWithBoth", false, true, true}),
                         [](const ::testing::TestParamInfo<RoundTrip>& info) { return info.param.name; });

}  // namespace
