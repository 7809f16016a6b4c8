#include "start_menu_shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "documentation_address.h"
#include "module_strings.h"
#include "recording_log.h"
#include "registry_view.h"
#include "scratch_directory.h"
#include "scratch_journal.h"
#include "setup_texts.h"
#include "shell_links.h"

// Beside LoadedShortcut, where GoogleTest looks for it.
void PrintTo(const LoadedShortcut& s, std::ostream* out) { *out << describe(s); }

namespace {

const char kProgramDir[] = "C:\\Program Files\\Kestrel 3\\";
const char kRemoving[] = "Removing start menu";

std::string folderPath(int csidl) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
  return path;
}

class StartMenuShortcuts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    moduleInstance = GetModuleHandleA(nullptr);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as the program-directory page does
  }
  static void TearDownTestSuite() { CoUninitialize(); }

  void SetUp() override {
    ASSERT_FALSE(folderPath(CSIDL_COMMON_PROGRAMS).empty());
    removeTree(folder);
    ASSERT_FALSE(directoryExists(folder));
    journal.begin();
  }
  void TearDown() override { removeTree(folder); }

  // As the run makes them, with the program's own texts.
  bool create() {
    const std::string programDir = kProgramDir;
    const InstallTexts texts = installTexts();
    return createStartMenuShortcuts(startMenuFolder(texts), programDir + "kestrel.exe",
                                    programDir + "ksuninstall.exe", kDocumentationAddress,
                                    programDir + "ksimage.dll", texts, log, *journal, failure);
  }

  const std::string folder = folderPath(CSIDL_COMMON_PROGRAMS) + "\\Kestrel 3";
  RecordingLog log;
  ScratchJournal journal;
  Failure failure;
};

TEST_F(StartMenuShortcuts, SavesThreeShortcutsWithTheirProperties) {
  ASSERT_TRUE(create());

  const std::string programDir = kProgramDir;
  const std::string icons = programDir + "ksimage.dll";
  // The user guide keeps the uninstaller's arguments: one link object makes all three.
  EXPECT_EQ(loadShortcut(folder + "\\Kestrel 3.lnk"),
            (LoadedShortcut{true, programDir + "kestrel.exe", "", "Kestrel 3", "", 0}));
  EXPECT_EQ(loadShortcut(folder + "\\Uninstall Kestrel.lnk"),
            (LoadedShortcut{true, programDir + "ksuninstall.exe", "Kestrel 3", "Uninstall Kestrel",
                            icons, 1}));
  EXPECT_EQ(loadShortcut(folder + "\\User Guide.lnk"),
            (LoadedShortcut{true, targetAsTheLinkObjectKeepsIt(kDocumentationAddress), "Kestrel 3",
                            "User Guide", icons, 0}));
  EXPECT_EQ(directoryListing(folder),
            (std::vector<std::string>{"Kestrel 3.lnk", "Uninstall Kestrel.lnk", "User Guide.lnk"}));
}

TEST_F(StartMenuShortcuts, LogsEachShortcutFileAndThenTheFolder) {
  ASSERT_TRUE(create());
  EXPECT_EQ(log.events, (std::vector<UninstallEvent>{
                            {"DeleteFile", folder + "\\Kestrel 3.lnk", kRemoving},
                            {"DeleteFile", folder + "\\Uninstall Kestrel.lnk", kRemoving},
                            {"DeleteFile", folder + "\\User Guide.lnk", kRemoving},
                            {"DeleteEmptyDirs", folder + "\\", kRemoving},
                        }));
}

TEST_F(StartMenuShortcuts, ReusesTheFolderOfAnEarlierInstallation) {
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  writeFileBytes(folder + "\\Kestrel 3.lnk", "not a shortcut");
  writeFileBytes(folder + "\\Release notes.txt", "kept");

  ASSERT_TRUE(create());

  EXPECT_EQ(loadShortcut(folder + "\\Kestrel 3.lnk").target, std::string(kProgramDir) + "kestrel.exe");
  EXPECT_EQ(readFileBytes(folder + "\\Release notes.txt"), "kept");
  EXPECT_EQ(log.events.size(), 4u);
}

// A run that fails later takes the shortcuts back: a folder it made goes, and
// an earlier installation's folder holds what it held, byte for byte.
TEST_F(StartMenuShortcuts, TakenBackTheFolderIsAsItWas) {
  ASSERT_TRUE(create());
  EXPECT_EQ(settleJournal().outcome, JournalSettlement::TakenBack);
  EXPECT_FALSE(directoryExists(folder));

  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  writeFileBytes(folder + "\\Kestrel 3.lnk", "an earlier shortcut");
  writeFileBytes(folder + "\\Release notes.txt", "kept");
  journal.begin();
  ASSERT_TRUE(create());
  EXPECT_EQ(settleJournal().outcome, JournalSettlement::TakenBack);
  EXPECT_EQ(directoryListing(folder), (std::vector<std::string>{"Kestrel 3.lnk", "Release notes.txt"}));
  EXPECT_EQ(readFileBytes(folder + "\\Kestrel 3.lnk"), "an earlier shortcut");
}

TEST_F(StartMenuShortcuts, StopsAtTheFirstShortcutThatCannotBeSaved) {
  // A directory where the uninstaller's shortcut should go cannot be saved over.
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((folder + "\\Uninstall Kestrel.lnk").c_str(), nullptr));

  EXPECT_FALSE(create());

  EXPECT_TRUE(loadShortcut(folder + "\\Kestrel 3.lnk").loaded);
  EXPECT_FALSE(fileExists(folder + "\\User Guide.lnk"));
  EXPECT_EQ(log.events,
            (std::vector<UninstallEvent>{{"DeleteFile", folder + "\\Kestrel 3.lnk", kRemoving}}));
}

TEST_F(StartMenuShortcuts, FailsWhenAnEventCannotBeLogged) {
  log.accepting = false;
  EXPECT_FALSE(create());
  EXPECT_EQ(log.events.size(), 1u);
  EXPECT_FALSE(fileExists(folder + "\\Uninstall Kestrel.lnk"));
}

// The all-users Programs folder moved to a folder that does not exist, for
// as long as the object lives: SHGetFolderPathA without CSIDL_FLAG_CREATE
// then refuses it, as on a system that has no such folder.
class MissingCommonPrograms {
 public:
  MissingCommonPrograms() : earlier(readMachineValue(kShellFolders, kCommonPrograms)) {
    // Only a setting that can be put back is moved.
    moved = earlier && seedMachineValue(kShellFolders, kCommonPrograms,
                                        registryText(uniqueScratchPath("no-common-programs")));
  }
  ~MissingCommonPrograms() {
    if (moved) seedMachineValue(kShellFolders, kCommonPrograms, *earlier);
  }
  bool moved = false;

 private:
  static constexpr const char* kShellFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  static constexpr const char* kCommonPrograms = "Common Programs";
  const std::optional<RegistryValue> earlier;
};

TEST_F(StartMenuShortcuts, UsesTheUsersProgramsFolderWithoutAnAllUsersOne) {
  const std::string userFolder = folderPath(CSIDL_PROGRAMS) + "\\Kestrel 3";
  ASSERT_NE(userFolder, folder);
  removeTree(userFolder);
  {
    MissingCommonPrograms missing;
    ASSERT_TRUE(missing.moved);
    ASSERT_EQ(folderPath(CSIDL_COMMON_PROGRAMS), "");
    EXPECT_TRUE(create());
  }
  EXPECT_TRUE(loadShortcut(userFolder + "\\Kestrel 3.lnk").loaded);
  EXPECT_FALSE(directoryExists(folder));
  ASSERT_EQ(log.events.size(), 4u);
  EXPECT_EQ(log.events[3], (UninstallEvent{"DeleteEmptyDirs", userFolder + "\\", kRemoving}));
  removeTree(userFolder);
}

}  // namespace
