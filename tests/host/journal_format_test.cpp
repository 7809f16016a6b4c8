#include "journal_format.h"

#include <gtest/gtest.h>

#include "host_code_page.h"

namespace {

constexpr uint32_t kRegBinary = 3, kRegSz = 1;
const std::vector<std::string> kRunKeys = {"Software\\Ninefold\\Kestrel\\3"};

JournalRecord fileRecord(JournalRecordKind kind, const std::string& path, const std::string& kept = "") {
  JournalRecord record;
  record.kind = kind;
  record.path = path;
  record.keptCopy = kept;
  return record;
}

JournalRecord keyRecord(const std::string& subkey, const std::string& firstMissing) {
  JournalRecord record;
  record.kind = JournalRecordKind::KeyChanged;
  record.key = {subkey, firstMissing, {{"KSDir", kRegSz, std::string("C:\\K\\\0", 6)}, {"", 4, "\x01\x02\x03\x04"}}};
  return record;
}

// The journal's values as the store hands them over: record n as value "n".
std::vector<SavedRegistryValue> valuesOf(const std::vector<JournalRecord>& records) {
  std::vector<SavedRegistryValue> values;
  for (size_t n = 0; n < records.size(); ++n)
    values.push_back({std::to_string(n), kRegBinary, encodeJournalRecord(records[n])});
  return values;
}

JournalReading read(const std::vector<SavedRegistryValue>& values, std::vector<JournalRecord>& records,
                    std::string& problem) {
  return readJournalRecords(values, kRunKeys, records, problem);
}

}  // namespace

TEST(JournalFormat, EveryKindOfRecordReadsBackAsWritten) {
  const std::vector<JournalRecord> written = {
      fileRecord(JournalRecordKind::Destination, "E:\\FS9\\modules\\"),
      keyRecord("software\\ninefold\\kestrel\\3", "Software\\Ninefold"),
      fileRecord(JournalRecordKind::DirectoryCreated, "C:\\Program Files\\Kestrel3\\"),
      fileRecord(JournalRecordKind::FileCreated, "C:\\Program Files\\Kestrel3\\readme.txt"),
      fileRecord(JournalRecordKind::FileReplaced, "E:\\FS9\\modules\\ksmod9.dll", "e:\\fs9\\MODULES\\~kp1F.kept"),
      fileRecord(JournalRecordKind::Committed, ""),
  };
  std::vector<JournalRecord> records;
  std::string problem;
  ASSERT_EQ(read(valuesOf(written), records, problem), JournalReading::Read) << problem;
  ASSERT_EQ(records.size(), written.size());
  for (size_t n = 0; n < written.size(); ++n) {
    EXPECT_EQ(encodeJournalRecord(records[n]), encodeJournalRecord(written[n])) << n;
    EXPECT_EQ(records[n].path, written[n].path) << n;
  }
  EXPECT_EQ(records[1].key.values[0].data, std::string("C:\\K\\\0", 6));
  EXPECT_EQ(records[4].keptCopy, "e:\\fs9\\MODULES\\~kp1F.kept");
}

// A run ended right after it made its key recorded nothing, and changed nothing.
TEST(JournalFormat, NoRecordIsAnEmptyJournal) {
  std::vector<JournalRecord> records;
  std::string problem;
  EXPECT_EQ(read({}, records, problem), JournalReading::Empty);
}

// Whatever no run of the setup program writes is refused whole, with what is wrong.
TEST(JournalFormat, RefusesWhatNoRunWrites) {
  const std::string file = "C:\\Kestrel3\\a.dll";
  const JournalRecord good = fileRecord(JournalRecordKind::FileCreated, file);
  std::string truncated = encodeJournalRecord(good);
  truncated.pop_back();
  std::string longer = encodeJournalRecord(good) + "x";
  std::string hugeCount = encodeJournalRecord(keyRecord(kRunKeys[0], ""));
  hugeCount.replace(1 + 4 + kRunKeys[0].size() + 4, 4, "\xff\xff\xff\x7f");
  const struct {
    const char* what;
    std::vector<SavedRegistryValue> values;
    const char* problem;
  } cases[] = {
      {"a gap", {{"0", kRegBinary, encodeJournalRecord(good)}, {"2", kRegBinary, encodeJournalRecord(good)}},
       "record 1 is missing"},
      {"a foreign value", {{"Notes", kRegSz, "x"}}, "the value \"Notes\" is no record"},
      {"a leading zero", {{"00", kRegBinary, encodeJournalRecord(good)}}, "the value \"00\" is no record"},
      {"text, not bytes", {{"0", kRegSz, encodeJournalRecord(good)}}, "the value \"0\" is no record"},
      {"cut short", {{"0", kRegBinary, truncated}}, "record 0 cannot be read"},
      {"bytes after it", {{"0", kRegBinary, longer}}, "record 0 cannot be read"},
      {"an unknown kind", {{"0", kRegBinary, std::string(1, '\x09')}}, "record 0 cannot be read"},
      {"a count beyond its bytes", {{"0", kRegBinary, hugeCount}}, "record 0 cannot be read"},
      {"a relative path", valuesOf({fileRecord(JournalRecordKind::FileCreated, "Kestrel3\\a.dll")}),
       "record 0 names a file no installation writes"},
      {"a network path", valuesOf({fileRecord(JournalRecordKind::DirectoryCreated, "\\\\server\\share\\K")}),
       "record 0 names a folder no installation makes"},
      {"a parent level", valuesOf({fileRecord(JournalRecordKind::FileCreated, "C:\\Kestrel3\\..\\boot.ini")}),
       "record 0 names a file no installation writes"},
      {"a kept copy elsewhere", valuesOf({fileRecord(JournalRecordKind::FileReplaced, file, "C:\\~kp1.kept")}),
       "record 0 names a file no installation keeps"},
      {"a kept copy by another name", valuesOf({fileRecord(JournalRecordKind::FileReplaced, file, file + ".bak")}),
       "record 0 names a file no installation keeps"},
      {"another key", valuesOf({keyRecord("Software\\Microsoft\\Windows", "")}),
       "record 0 names a registry key no installation writes"},
      {"a missing level not its own", valuesOf({keyRecord(kRunKeys[0], "Software\\Ninefold\\Kest")}),
       "record 0 names a registry key no installation makes"},
      {"Software itself missing", valuesOf({keyRecord(kRunKeys[0], "Software")}),
       "record 0 names a registry key no installation makes"},
      {"a record after the end", valuesOf({fileRecord(JournalRecordKind::Committed, ""), good}),
       "record 1 follows the end of its run"},
      {"a path too long to settle",
       valuesOf({fileRecord(JournalRecordKind::FileCreated, "C:\\" + std::string(250, 'k') + "\\a.dll")}),
       "record 0 names a file no installation writes"},
      {"a chosen folder without its backslash", valuesOf({fileRecord(JournalRecordKind::Destination, "E:\\FS9")}),
       "record 0 names a folder no installation chooses"},
      {"a chosen folder on the network",
       valuesOf({fileRecord(JournalRecordKind::Destination, "\\\\server\\FS9\\")}),
       "record 0 names a folder no installation chooses"},
      {"an uninstallation among changes",
       valuesOf({fileRecord(JournalRecordKind::UninstallBegun, "Kestrel 3"), good}),
       "record 1 mixes an uninstallation with other changes"},
      {"an uninstallation of no registration", valuesOf({fileRecord(JournalRecordKind::UninstallBegun, "A\\B")}),
       "record 0 names a registration no installation makes"},
  };
  for (const auto& c : cases) {
    std::vector<JournalRecord> records = {good};
    std::string problem;
    EXPECT_EQ(read(c.values, records, problem), JournalReading::Damaged) << c.what;
    EXPECT_EQ(problem, c.problem) << c.what;
    EXPECT_EQ(records.size(), 1u) << c.what << ": the records given are left as they were";
  }
}

// The plan of a run is a few values, each holding many records back to back;
// they read as one list, in order, and the end of a value is no record's end.
TEST(JournalFormat, RecordsBackToBackInOneValueReadInOrder) {
  const std::vector<JournalRecord> plan = {
      keyRecord(kRunKeys[0], "Software\\Ninefold\\Kestrel"),
      fileRecord(JournalRecordKind::DirectoryCreated, "C:\\Kestrel3"),
      fileRecord(JournalRecordKind::FileCreated, "C:\\Kestrel3\\a.dll"),
      fileRecord(JournalRecordKind::FileReplaced, "C:\\Kestrel3\\b.dll", "C:\\Kestrel3\\~kp00A1.kept"),
  };
  const std::vector<SavedRegistryValue> values = {
      {"0", kRegBinary, encodeJournalRecords({plan[0], plan[1]})},
      {"1", kRegBinary, encodeJournalRecords({plan[2], plan[3]})},
      {"2", kRegBinary, encodeJournalRecord(fileRecord(JournalRecordKind::Committed, ""))},
  };
  std::vector<JournalRecord> records;
  std::string problem;
  ASSERT_EQ(read(values, records, problem), JournalReading::Read) << problem;
  ASSERT_EQ(records.size(), 5u);
  for (size_t n = 0; n < plan.size(); ++n) EXPECT_EQ(encodeJournalRecord(records[n]), encodeJournalRecord(plan[n])) << n;
  EXPECT_EQ(records[4].kind, JournalRecordKind::Committed);

  std::string cut = values[1].data;
  cut.pop_back();
  EXPECT_EQ(read({values[0], {"1", kRegBinary, cut}}, records, problem), JournalReading::Damaged);
  EXPECT_EQ(problem, "record 1 cannot be read");
}

// The uninstaller's journal: one record, naming the registration it removes.
TEST(JournalFormat, AnUninstallationReadsAlone) {
  std::vector<JournalRecord> records;
  std::string problem;
  ASSERT_EQ(read(valuesOf({fileRecord(JournalRecordKind::UninstallBegun, "Kestrel 3")}), records, problem),
            JournalReading::Read)
      << problem;
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].path, "Kestrel 3");
}

// A program directory of Japanese Windows, ソフト\表 (second bytes '\'): the
// records name files and kept copies in it, not in ソ or 表's halves.
TEST(JournalFormat, ReadsPathsOfTwoByteCharacters) {
  HostCodePage japanese(kJapaneseLeadBytes);
  const std::string folder = "C:\\\x83\x5c\x83\x74\x83\x67\\\x95\x5c";
  const std::vector<JournalRecord> written = {
      fileRecord(JournalRecordKind::DirectoryCreated, folder + "\\"),
      fileRecord(JournalRecordKind::FileCreated, folder + "\\\x95\x5c"),
      fileRecord(JournalRecordKind::FileReplaced, folder + "\\ksmod9.dll", folder + "\\~kp1F.kept"),
  };
  std::vector<JournalRecord> records;
  std::string problem;
  EXPECT_EQ(read(valuesOf(written), records, problem), JournalReading::Read) << problem;
  EXPECT_EQ(records.size(), written.size());
}
