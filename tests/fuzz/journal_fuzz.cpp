// Feeds arbitrary values to the installation journal's reader, as a journal
// torn or edited by hand would hold them: it must refuse what it cannot read,
// never crash, and accept only records that name what a run writes.
//
// The input is a list of values, each: a name length (1 byte), the name, a
// type (1 byte), a data length (2 bytes, little-endian) and the data.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "installable_path.h"
#include "journal_format.h"
#include "temporary_file_name.h"
#include "text_format.h"
#include "uninstall_event_rules.h"

namespace {

std::vector<SavedRegistryValue> splitValues(const uint8_t* data, size_t size) {
  std::vector<SavedRegistryValue> values;
  size_t at = 0;
  while (at < size) {
    SavedRegistryValue value;
    const size_t nameLength = data[at++];
    if (size - at < nameLength + 3) break;
    value.name.assign(reinterpret_cast<const char*>(data + at), nameLength);
    at += nameLength;
    value.type = data[at++];
    const size_t dataLength = data[at] | (size_t(data[at + 1]) << 8);
    at += 2;
    if (size - at < dataLength) break;
    value.data.assign(reinterpret_cast<const char*>(data + at), dataLength);
    at += dataLength;
    values.push_back(std::move(value));
  }
  return values;
}

void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> keys = {"Software\\Ninefold\\Kestrel\\3"};
  std::vector<JournalRecord> records;
  std::string problem;
  const JournalReading reading = readJournalRecords(splitValues(data, size), keys, records, problem);
  require((reading == JournalReading::Damaged) == !problem.empty());
  if (reading != JournalReading::Read) return 0;
  for (size_t n = 0; n < records.size(); ++n) {
    const JournalRecord& record = records[n];
    switch (record.kind) {
      case JournalRecordKind::FileReplaced:
        require(equalsIgnoringCase(parentDirectory(record.keptCopy), parentDirectory(record.path)));
        require(Escort::isKeptCopyName(record.keptCopy.substr(record.keptCopy.rfind('\\') + 1)));
        [[fallthrough]];
      case JournalRecordKind::FileCreated:
        require(installablePathProblem(record.path, PathKind::File) == PathProblem::None);
        break;
      case JournalRecordKind::DirectoryCreated:
        require(installablePathProblem(record.path, PathKind::Folder) == PathProblem::None);
        break;
      case JournalRecordKind::KeyChanged:
        require(equalsIgnoringCase(record.key.subkey, keys[0]));
        break;
      case JournalRecordKind::Committed:
        require(n + 1 == records.size());
        break;
      case JournalRecordKind::UninstallBegun:
        require(records.size() == 1 && !record.path.empty() && record.path.find('\\') == std::string::npos);
        break;
    }
    // What was read is what a writer of it would write.
    std::vector<JournalRecord> again;
    std::string none;
    require(readJournalRecords({{"0", 3, encodeJournalRecord(record)}}, keys, again, none) == JournalReading::Read);
    require(encodeJournalRecord(again[0]) == encodeJournalRecord(record));
  }
  return 0;
}
