#include "journal_format.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "installable_path.h"
#include "product_names.h"
#include "temporary_file_name.h"
#include "text_format.h"
#include "uninstall_event_rules.h"

namespace {

constexpr uint32_t kRegBinary = 3;  // REG_BINARY

void putNumber(std::string& out, uint32_t number) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((number >> shift) & 0xFF);
}

void putText(std::string& out, const std::string& text) {
  putNumber(out, static_cast<uint32_t>(text.size()));
  out += text;
}

// Reads what putNumber and putText wrote; every read checks the bytes left.
class RecordReader {
 public:
  explicit RecordReader(const std::string& bytes) : bytes(bytes) {}

  bool number(uint32_t& value) {
    if (bytes.size() - at < 4) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    at += 4;
    return true;
  }
  // A text holds no zero byte: none of the paths, key or value names does.
  bool text(std::string& value, bool mayHoldZero = false) {
    uint32_t length = 0;
    if (!number(length) || bytes.size() - at < length) return false;
    value.assign(bytes, at, length);
    at += length;
    return mayHoldZero || value.find('\0') == std::string::npos;
  }
  bool kind(JournalRecordKind& value) {
    if (at >= bytes.size()) return false;
    value = static_cast<JournalRecordKind>(bytes[at++]);
    return true;
  }
  bool atEnd() const { return at == bytes.size(); }
  size_t left() const { return bytes.size() - at; }

 private:
  const std::string& bytes;
  size_t at = 0;
};

bool decodeKeyState(RecordReader& in, RegistryKeyState& key) {
  uint32_t count = 0;
  if (!in.text(key.subkey) || !in.text(key.firstMissing) || !in.number(count)) return false;
  // Each value takes at least 12 bytes: no count can make room for more.
  if (count > in.left() / 12) return false;
  key.values.resize(count);
  for (SavedRegistryValue& value : key.values) {
    if (!in.text(value.name) || !in.number(value.type) || !in.text(value.data, true)) return false;
  }
  return true;
}

// One record from where `in` stands.
bool decodeRecord(RecordReader& in, JournalRecord& record) {
  if (!in.kind(record.kind)) return false;
  bool read = false;
  switch (record.kind) {
    case JournalRecordKind::DirectoryCreated:
    case JournalRecordKind::FileCreated:
    case JournalRecordKind::UninstallBegun:
    case JournalRecordKind::Destination:
      read = in.text(record.path);
      break;
    case JournalRecordKind::FileReplaced:
      read = in.text(record.path) && in.text(record.keptCopy);
      break;
    case JournalRecordKind::KeyChanged:
      read = decodeKeyState(in, record.key);
      break;
    case JournalRecordKind::Committed:
      read = true;
      break;
  }
  return read;
}

bool isFilePath(const std::string& path) { return installablePathProblem(path, PathKind::File) == PathProblem::None; }

// `level` is `subkey` itself or one of its levels, and lies below Software.
bool isOwnLevelBelowSoftware(const std::string& level, const std::string& subkey) {
  const bool ownLevel = equalsIgnoringCase(level, subkey) ||
                        (level.size() < subkey.size() && subkey[level.size()] == '\\' &&
                         equalsIgnoringCase(level, subkey.substr(0, level.size())));
  return ownLevel && !machineSoftwareSubkey(machineKeyName(level)).empty();
}

// What is wrong with a record that decoded, or "".
std::string recordProblem(const JournalRecord& record, const std::vector<std::string>& allowedKeys) {
  switch (record.kind) {
    case JournalRecordKind::DirectoryCreated:
      return installablePathProblem(record.path, PathKind::Folder) == PathProblem::None ? ""
                                                                                      : "a folder no installation makes";
    case JournalRecordKind::FileCreated:
      return isFilePath(record.path) ? "" : "a file no installation writes";
    case JournalRecordKind::FileReplaced: {
      const bool besideIt = equalsIgnoringCase(parentDirectory(record.keptCopy), parentDirectory(record.path)) &&
                            Escort::isKeptCopyName(record.keptCopy.substr(lastBackslash(record.keptCopy) + 1));
      return isFilePath(record.path) && isFilePath(record.keptCopy) && besideIt ? "" : "a file no installation keeps";
    }
    case JournalRecordKind::KeyChanged: {
      const RegistryKeyState& key = record.key;
      const bool allowed = std::any_of(allowedKeys.begin(), allowedKeys.end(), [&key](const std::string& allowed) {
        return equalsIgnoringCase(allowed, key.subkey);
      });
      if (!allowed) return "a registry key no installation writes";
      if (!key.firstMissing.empty() && !isOwnLevelBelowSoftware(key.firstMissing, key.subkey))
        return "a registry key no installation makes";
      return "";
    }
    case JournalRecordKind::Committed:
      return "";
    case JournalRecordKind::Destination:
      return endsWithBackslash(record.path) &&
                     installablePathProblem(withoutTrailingBackslash(record.path), PathKind::Folder) == PathProblem::None
                 ? ""
                 : "a folder no installation chooses";
    case JournalRecordKind::UninstallBegun:
      return !record.path.empty() && findBackslash(record.path) == std::string::npos ? ""
                                                                                 : "a registration no installation makes";
  }
  return "an unknown kind";
}

// The record number a value name gives, or false for any other name: decimal,
// without sign or leading zeros, as the journal writes them.
bool recordNumber(const std::string& name, size_t& number) {
  if (name.empty() || name.size() > 9 || (name.size() > 1 && name[0] == '0')) return false;
  if (name.find_first_not_of("0123456789") != std::string::npos) return false;
  number = std::strtoul(name.c_str(), nullptr, 10);
  return true;
}

}  // namespace

std::string encodeJournalRecord(const JournalRecord& record) {
  std::string out(1, static_cast<char>(record.kind));
  switch (record.kind) {
    case JournalRecordKind::DirectoryCreated:
    case JournalRecordKind::FileCreated:
    case JournalRecordKind::UninstallBegun:
    case JournalRecordKind::Destination:
      putText(out, record.path);
      break;
    case JournalRecordKind::FileReplaced:
      putText(out, record.path);
      putText(out, record.keptCopy);
      break;
    case JournalRecordKind::KeyChanged:
      putText(out, record.key.subkey);
      putText(out, record.key.firstMissing);
      putNumber(out, static_cast<uint32_t>(record.key.values.size()));
      for (const SavedRegistryValue& value : record.key.values) {
        putText(out, value.name);
        putNumber(out, value.type);
        putText(out, value.data);
      }
      break;
    case JournalRecordKind::Committed:
      break;
  }
  return out;
}

std::string encodeJournalRecords(const std::vector<JournalRecord>& records) {
  std::string out;
  for (const JournalRecord& record : records) out += encodeJournalRecord(record);
  return out;
}

JournalReading readJournalRecords(const std::vector<SavedRegistryValue>& values, const std::vector<std::string>& allowedKeys,
                                  std::vector<JournalRecord>& records, std::string& problem) {
  const auto damaged = [&problem](const std::string& what) {
    problem = what;
    return JournalReading::Damaged;
  };
  std::map<size_t, const SavedRegistryValue*> numbered;
  for (const SavedRegistryValue& value : values) {
    size_t number = 0;
    if (!recordNumber(value.name, number) || value.type != kRegBinary)
      return damaged("the value \"" + value.name + "\" is no record");
    numbered[number] = &value;
  }
  std::vector<JournalRecord> read;
  size_t expected = 0;
  for (const auto& [number, value] : numbered) {
    if (number != expected++) return damaged("record " + std::to_string(expected - 1) + " is missing");
    const std::string name = "record " + std::to_string(number);
    RecordReader in(value->data);
    if (in.atEnd()) return damaged(name + " cannot be read");
    while (!in.atEnd()) {
      JournalRecord record;
      if (!decodeRecord(in, record)) return damaged(name + " cannot be read");
      const std::string wrong = recordProblem(record, allowedKeys);
      if (!wrong.empty()) return damaged(name + " names " + wrong);
      if (!read.empty() && read.back().kind == JournalRecordKind::Committed)
        return damaged(name + " follows the end of its run");
      const bool uninstalling = record.kind == JournalRecordKind::UninstallBegun ||
                                (!read.empty() && read.back().kind == JournalRecordKind::UninstallBegun);
      if (uninstalling && !read.empty()) return damaged(name + " mixes an uninstallation with other changes");
      read.push_back(std::move(record));
    }
  }
  records = std::move(read);
  return records.empty() ? JournalReading::Empty : JournalReading::Read;
}
