#include "installable_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal_format.h"

namespace {

constexpr uint32_t kRegBinary = 3;

// Whether the journal's reader takes a record of `kind` for `path`.
bool journalTakes(JournalRecordKind kind, const std::string& path) {
  JournalRecord record;
  record.kind = kind;
  record.path = path;
  std::vector<JournalRecord> records;
  std::string problem;
  return readJournalRecords({{"0", kRegBinary, encodeJournalRecord(record)}}, {}, records, problem) ==
         JournalReading::Read;
}

std::string folderOfLength(size_t length) {
  std::string folder = "C:\\";
  while (folder.size() < length) folder += folder.size() % 20 == 19 ? '\\' : 'k';
  if (folder.back() == '\\') folder.back() = 'k';
  return folder;
}

}  // namespace

// One set of rules for every path an installation changes: what the checks
// before a run let through is what the journal's reader takes back, file by
// file and folder by folder, so that a run never records what no later run
// could settle.
TEST(InstallablePath, TheChecksAndTheJournalsReaderAgreeOnEveryPath) {
  const std::string longest = folderOfLength(kMaxFilePath - 1 - kLongestNameBesideAFile);
  const struct {
    std::string path;
    PathKind kind;
    PathProblem problem;
  } cases[] = {
      {"C:\\Kestrel3\\kestrel.exe", PathKind::File, PathProblem::None},
      {"e:\\FS9\\modules\\ksmod9.dll", PathKind::File, PathProblem::None},
      {"C:\\Kestrel3\\", PathKind::Folder, PathProblem::None},
      {"C:\\Kestrel3", PathKind::Folder, PathProblem::None},
      {"\\\\server\\share\\Kestrel3\\a.dll", PathKind::File, PathProblem::NotOnLocalDrive},
      {"\\\\?\\C:\\Kestrel3\\a.dll", PathKind::File, PathProblem::NotOnLocalDrive},
      {"Kestrel3\\a.dll", PathKind::File, PathProblem::NotOnLocalDrive},
      {"C:Kestrel3\\a.dll", PathKind::File, PathProblem::NotOnLocalDrive},
      {"C:\\", PathKind::Folder, PathProblem::NotOnLocalDrive},
      {"C:\\Kestrel3\\..\\boot.ini", PathKind::File, PathProblem::NotOnLocalDrive},
      {"C:\\Kestrel3\\a.dll:stream", PathKind::File, PathProblem::NotOnLocalDrive},
      {"C:\\Kestrel3\\a.dll\\", PathKind::File, PathProblem::NotOnLocalDrive},
      // The longest file that leaves room for a kept copy beside it, and one more.
      {longest + "\\" + std::string(kLongestNameBesideAFile, 'a'), PathKind::File, PathProblem::None},
      {longest + "k\\" + std::string(kLongestNameBesideAFile, 'a'), PathKind::File, PathProblem::TooLong},
      // A short name in a folder with no room for "~kp0000.kept".
      {longest + "kk\\a", PathKind::File, PathProblem::TooLong},
      {folderOfLength(kMaxDirectoryPath), PathKind::Folder, PathProblem::None},
      {folderOfLength(kMaxDirectoryPath + 1), PathKind::Folder, PathProblem::TooLong},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(installablePathProblem(c.path, c.kind), c.problem) << c.path;
    const JournalRecordKind kind = c.kind == PathKind::File ? JournalRecordKind::FileCreated : JournalRecordKind::DirectoryCreated;
    EXPECT_EQ(journalTakes(kind, c.path), c.problem == PathProblem::None) << c.path;
  }
}
