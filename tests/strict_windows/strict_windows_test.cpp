// The strict-Windows layer against a plain program of the tests' own
// (file_call_probe): each behaviour that the layer gives the programs under
// test, seen from inside a program started through it, so that a scenario
// that passes through the layer means something. The test process itself
// plays the other programs: the scanner that holds a file, the program that
// has a module loaded.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host_command.h"
#include "layer_injection.h"
#include "scratch_directory.h"
#include "shared_state.h"
#include "strict_windows_settings.h"

namespace {

const std::string kLayer = hostPath(STRICT_WINDOWS_LAYER);
const std::string kProbe = hostPath(FILE_CALL_PROBE);
const char kAll[] = "all";
const char kNone[] = "";

struct Call {
  DWORD error;
  std::string output;
};

// Another program's handle on the file, shared with everyone, as a virus
// scanner or the indexer holds a file: until it lets go.
class Scanner {
 public:
  explicit Scanner(const std::string& path)
      : file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr)) {
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << "the scanner opens " << path;
  }
  ~Scanner() { letGo(); }
  void letGo() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE file;
};

class StrictWindowsLayer : public ::testing::Test {
 protected:
  ScratchDirectory scratch{"strict"};
  const std::string state = scratch / "state.txt";

  // The probe's one call, started through the layer with these behaviours.
  Call call(const char* behaviours, const std::string& arguments) {
    SetEnvironmentVariableA(kStrictWindowsVariable, behaviours);
    SetEnvironmentVariableA(kStrictWindowsStateVariable, state.c_str());
    const std::string outputFile = scratch / "output.txt";
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE output = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inheritable,
                                CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    PROCESS_INFORMATION started = {};
    std::string commandLine = "\"" + kProbe + "\" " + arguments;
    const DWORD error = startWithLayer(kLayer, nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                       &startup, &started);
    CloseHandle(output);
    EXPECT_EQ(error, 0u) << "the probe starts through the layer: " << arguments;
    if (error) return {error, ""};
    EXPECT_EQ(WaitForSingleObject(started.hProcess, 60000), WAIT_OBJECT_0) << "the probe ends: " << arguments;
    DWORD code = 0;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    std::string printed = readFileBytes(outputFile);
    printed.erase(std::remove(printed.begin(), printed.end(), '\r'), printed.end());
    return {code, printed};
  }

  // Each call with the error it must give, through the layer with these behaviours.
  void expectErrors(const char* behaviours, const std::vector<std::pair<std::string, DWORD>>& calls) {
    for (const auto& expected : calls)
      EXPECT_EQ(call(behaviours, expected.first).error, expected.second) << expected.first;
  }

  std::string quoted(const std::string& path) const { return "\"" + path + "\""; }
};

// Its lines in byte order: Wine lists a folder in no particular order.
std::string sortedLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start + 1));
    start = end == std::string::npos ? text.size() : end + 1;
  }
  std::sort(lines.begin(), lines.end());
  std::string sorted;
  for (const std::string& line : lines) sorted += line;
  return sorted;
}

// --- Files being deleted -----------------------------------------------------

TEST_F(StrictWindowsLayer, FileDeletedWhileScannedKeepsItsNameAndRefusesAllButLooking) {
  const std::string folder = scratch / "folder";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "\\scanned.txt", other = scratch / "other.txt", copy = scratch / "copy.txt";
  writeFileBytes(file, "scanned");
  writeFileBytes(other, "other");
  Scanner scanner(file);

  EXPECT_EQ(call(kDeletePending, "delete " + quoted(file)).error, 0u);
  EXPECT_TRUE(fileExists(file)) << "the name stays while the scanner holds the file";
  expectErrors(kDeletePending, {{"open " + quoted(file), ERROR_ACCESS_DENIED},
                                {"open-write " + quoted(file), ERROR_ACCESS_DENIED},
                                {"create " + quoted(file), ERROR_ACCESS_DENIED},
                                {"delete " + quoted(file), ERROR_ACCESS_DENIED},
                                {"delete-by-handle " + quoted(file), ERROR_ACCESS_DENIED},
                                {"rename " + quoted(file) + " " + quoted(copy), ERROR_ACCESS_DENIED},
                                {"replace " + quoted(other) + " " + quoted(file), ERROR_ACCESS_DENIED},
                                {"copy " + quoted(file) + " " + quoted(copy), ERROR_ACCESS_DENIED},
                                {"copy " + quoted(other) + " " + quoted(file), ERROR_ACCESS_DENIED},
                                {"set-attributes " + quoted(file), ERROR_ACCESS_DENIED},
                                {"attributes " + quoted(file), ERROR_SUCCESS},
                                {"rmdir " + quoted(folder), ERROR_DIR_NOT_EMPTY}});
  EXPECT_EQ(call(kDeletePending, "find " + quoted(folder + "\\*")).output, "scanned.txt attributes 20 tag 0\n");
  EXPECT_EQ(readFileBytes(other), "other");

  scanner.letGo();
  EXPECT_FALSE(fileExists(file)) << "the name goes with the scanner's handle";
  // A new file by that name is no longer the one being deleted.
  expectErrors(kDeletePending, {{"create " + quoted(file), ERROR_SUCCESS}, {"open-write " + quoted(file), ERROR_SUCCESS}});
}

TEST_F(StrictWindowsLayer, FileDeletedByHandleWhileScannedIsBeingDeletedToo) {
  for (const char* deletion : {"delete-by-handle", "delete-through-ntdll"}) {
    const std::string file = scratch / (std::string(deletion) + ".txt");
    writeFileBytes(file, "scanned");
    Scanner scanner(file);
    EXPECT_EQ(call(kDeletePending, std::string(deletion) + " " + quoted(file)).error, 0u) << deletion;
    EXPECT_TRUE(fileExists(file)) << deletion;
    EXPECT_EQ(call(kDeletePending, "open " + quoted(file)).error, DWORD(ERROR_ACCESS_DENIED)) << deletion;
    scanner.letGo();
    EXPECT_FALSE(fileExists(file)) << deletion;
  }
}

TEST_F(StrictWindowsLayer, FileThatNoOtherHandleHoldsGoesAtOnce) {
  const std::string file = scratch / "alone.txt";
  writeFileBytes(file, "alone");
  EXPECT_EQ(call(kDeletePending, "delete " + quoted(file)).error, 0u);
  EXPECT_FALSE(fileExists(file));
  EXPECT_EQ(call(kDeletePending, "create " + quoted(file)).error, 0u);
}

TEST_F(StrictWindowsLayer, WithoutTheBehaviourWineDecidesAlone) {
  const std::string file = scratch / "scanned.txt";
  writeFileBytes(file, "scanned");
  Scanner scanner(file);
  EXPECT_EQ(call(kNone, "delete " + quoted(file)).error, 0u);
  EXPECT_EQ(call(kNone, "open " + quoted(file)).error, 0u) << "Wine opens a file being deleted";
}

// --- A module that another program has loaded ---------------------------------

// Windows maps a loaded module's file as an image: it can be renamed, but
// neither written nor deleted, under its old name or its new one. Wine keeps
// to that itself; the layer lets it through.
TEST_F(StrictWindowsLayer, ModuleLoadedByAnotherProgramCanOnlyBeRenamed) {
  const std::string module = scratch / "module.dll", renamed = scratch / "renamed.dll", other = scratch / "other.txt";
  ASSERT_TRUE(CopyFileA(kLayer.c_str(), module.c_str(), FALSE));
  writeFileBytes(other, "other");
  HMODULE loaded = LoadLibraryExA(module.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(loaded, nullptr);
  expectErrors(kAll, {{"delete " + quoted(module), ERROR_ACCESS_DENIED},
                      {"delete-by-handle " + quoted(module), ERROR_ACCESS_DENIED},
                      {"open-write " + quoted(module), ERROR_SHARING_VIOLATION},
                      {"open " + quoted(module), ERROR_SUCCESS},
                      {"rename " + quoted(module) + " " + quoted(renamed), ERROR_SUCCESS},
                      {"delete " + quoted(renamed), ERROR_ACCESS_DENIED},
                      {"open-write " + quoted(renamed), ERROR_SHARING_VIOLATION},
                      {"replace " + quoted(other) + " " + quoted(renamed), ERROR_ACCESS_DENIED}});
  FreeLibrary(loaded);
  EXPECT_EQ(call(kAll, "delete " + quoted(renamed)).error, 0u) << "once the program has let the module go";
}

// --- Path lengths -------------------------------------------------------------

TEST_F(StrictWindowsLayer, AnsiFunctionsRefusePathsOf260CharactersAndFoldersOf248) {
  // Padded with one long name to the length wanted.
  const auto ofLength = [&](size_t length) { return scratch / std::string(length - scratch.path().size() - 1, 'p'); };
  const std::string fits = ofLength(259), tooLong = ofLength(260);
  const std::string refused = quoted(tooLong), kept = quoted(fits);
  expectErrors(kPathLimits, {{"create " + kept, ERROR_SUCCESS},
                             {"attributes " + kept, ERROR_SUCCESS},
                             {"create " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"open " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"attributes " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"attributes-ex " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"set-attributes " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"delete " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"rmdir " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"find " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"rename " + kept + " " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"move " + kept + " " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"copy " + kept + " " + refused, ERROR_FILENAME_EXCED_RANGE},
                             {"mkdir " + quoted(ofLength(247)), ERROR_SUCCESS},
                             {"mkdir " + quoted(ofLength(248)), ERROR_FILENAME_EXCED_RANGE},
                             {"delete " + kept, ERROR_SUCCESS}});
  EXPECT_FALSE(fileExists(tooLong));
  EXPECT_FALSE(directoryExists(ofLength(248)));
  EXPECT_EQ(call(kNone, "create " + refused).error, 0u) << "Wine makes it without the behaviour";
}

// A rename that would leave the drive is refused, as between two volumes; one
// that may copy (MoveFileA) is not a rename.
TEST_F(StrictWindowsLayer, RenamesStayOnTheirDrive) {
  const std::string file = scratch / "volume.txt";
  writeFileBytes(file, "on C:");
  const std::string elsewhere = quoted("Z:\\tmp\\kestrel-strict-volumes.txt");
  expectErrors(kVolumes, {{"rename " + quoted(file) + " " + elsewhere, ERROR_NOT_SAME_DEVICE},
                          {"replace " + quoted(file) + " " + elsewhere, ERROR_NOT_SAME_DEVICE},
                          {"rename " + quoted(file) + " " + quoted(scratch / "renamed.txt"), ERROR_SUCCESS}});
  EXPECT_EQ(readFileBytes(scratch / "renamed.txt"), "on C:");
}

// --- Links ----------------------------------------------------------------------

class StrictWindowsLinks : public StrictWindowsLayer {
 protected:
  void SetUp() override {
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(target.c_str(), nullptr);
    writeFileBytes(targetFile, "beyond the link");
    ASSERT_TRUE(makeLink(junction, target));
    ASSERT_TRUE(makeLink(symbolicLink, targetFile));
  }
  // Whatever the calls did to the links, what they lead to is untouched.
  void TearDown() override {
    EXPECT_TRUE(directoryExists(target));
    EXPECT_EQ(directoryListing(target), std::vector<std::string>{"file.txt"});
  }

  const std::string folder = scratch / "links";
  const std::string target = folder + "\\target", targetFile = target + "\\file.txt";
  const std::string junction = folder + "\\junction", symbolicLink = folder + "\\link.txt";
};

TEST_F(StrictWindowsLinks, ReportedAsWindowsReportsThem) {
  EXPECT_EQ(call(kReparsePoints, "attributes " + quoted(junction)).output, "attributes 410\n");
  EXPECT_EQ(call(kReparsePoints, "attributes " + quoted(symbolicLink)).output, "attributes 420\n");
  EXPECT_EQ(call(kReparsePoints, "attributes-ex " + quoted(symbolicLink)).output, "attributes 420 size 0\n");
  EXPECT_EQ(call(kReparsePoints, "attributes " + quoted(junction + "\\file.txt")).output, "attributes 20\n")
      << "what lies beyond a link is reached through it";
  EXPECT_EQ(sortedLines(call(kReparsePoints, "find " + quoted(folder + "\\*")).output),
            "junction attributes 410 tag a0000003\n"
            "link.txt attributes 420 tag a000000c\n"
            "target attributes 10 tag 0\n");
  EXPECT_EQ(call(kNone, "attributes " + quoted(symbolicLink)).output, "attributes 20\n")
      << "Wine reports a link to a file as the file without the behaviour";
}

TEST_F(StrictWindowsLinks, OpenedThemselvesWithTheReparsePointFlag) {
  EXPECT_EQ(call(kReparsePoints, "open-link " + quoted(junction)).output,
            "attributes 410 tag a0000003 nt-tag a0000003 reparse-tag a0000003 target " + target + "\n");
  EXPECT_EQ(call(kReparsePoints, "open-link " + quoted(symbolicLink)).output,
            "attributes 420 tag a000000c nt-tag a000000c reparse-tag a000000c target " + targetFile + "\n");
  EXPECT_EQ(call(kReparsePoints, "open-link " + quoted(target)).output,
            "attributes 10 tag 0 nt-tag 0 reparse-tag 0 target \n");
}

TEST_F(StrictWindowsLinks, RemovedAndRenamedThemselves) {
  EXPECT_EQ(call(kReparsePoints, "delete " + quoted(junction)).error, DWORD(ERROR_ACCESS_DENIED)) << "a folder";
  EXPECT_EQ(call(kReparsePoints, "rmdir " + quoted(symbolicLink)).error, DWORD(ERROR_DIRECTORY)) << "a file";
  EXPECT_EQ(call(kReparsePoints, "delete " + quoted(symbolicLink)).error, 0u);
  EXPECT_FALSE(fileExists(symbolicLink));
  EXPECT_EQ(call(kReparsePoints, "rmdir " + quoted(junction)).error, 0u);
  EXPECT_FALSE(directoryExists(junction));

  ASSERT_TRUE(makeLink(junction, target));
  const std::string renamed = folder + "\\renamed";
  EXPECT_EQ(call(kReparsePoints, "rename " + quoted(junction) + " " + quoted(renamed)).error, 0u);
  EXPECT_FALSE(directoryExists(junction));
  EXPECT_EQ(call(kReparsePoints, "attributes " + quoted(renamed)).output, "attributes 410\n");
  EXPECT_EQ(call(kReparsePoints, "delete-link-by-handle " + quoted(renamed)).error, 0u);
  EXPECT_FALSE(directoryExists(renamed));
  ASSERT_TRUE(makeLink(symbolicLink, targetFile));
  EXPECT_EQ(call(kReparsePoints, "delete-link-on-close " + quoted(symbolicLink)).error, 0u);
  EXPECT_FALSE(fileExists(symbolicLink));
}

TEST_F(StrictWindowsLinks, FollowedOnTheWayToWhatLiesBeyond) {
  const std::string beyond = junction + "\\other.txt";
  writeFileBytes(target + "\\other.txt", "reached through the junction");
  EXPECT_EQ(call(kReparsePoints, "delete " + quoted(beyond)).error, 0u);
  EXPECT_FALSE(fileExists(target + "\\other.txt")) << "deleted through the junction, as Windows does";
}

// --- Programs started by a program under the layer -------------------------------

TEST_F(StrictWindowsLayer, ProgramsStartedByTheProgramRunUnderItToo) {
  const std::string tooLong = quoted(scratch / std::string(260 - scratch.path().size() - 1, 'p'));
  EXPECT_EQ(call(kPathLimits, "again create " + tooLong).error, DWORD(ERROR_FILENAME_EXCED_RANGE));
  openSharedState(state);
  EXPECT_EQ(stateEntries(kProcessLine).size(), 2u) << "the program and the one it started";
}

}  // namespace
