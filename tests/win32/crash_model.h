#pragma once
// A model of what outlasts a crash: the files, folders and registry keys
// below a few roots, and the changes a run made to them (durable_changes.h),
// from which every state that a crash at any instant can leave is rebuilt
// under the rules the journal's design rests on:
//   - registry changes since the last RegFlushKey may be lost, the latest
//     first (the hive is written whole or not at all at each flush);
//   - file-system changes (made, renamed, deleted) persist in the order made,
//     any suffix lost, until a flush of a file or its volume;
//   - data written to a file since its last flush may be lost or zero-filled.
// A state is written into the real machine for the real settlement to
// settle, and the machine read back to compare.
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "durable_changes.h"

struct ModelValue {
  std::string name;  // as spelled
  DWORD type = REG_NONE;
  std::string data;
  bool operator==(const ModelValue& o) const { return name == o.name && type == o.type && data == o.data; }
};

struct ModelKey {
  std::string name;  // as spelled
  std::map<std::string, ModelValue> values;  // by name in lower case
  bool operator==(const ModelKey& o) const { return name == o.name && values == o.values; }
};

struct ModelEntry {
  std::string name;  // the path as spelled
  bool folder = false;
  std::string content;
  size_t durableBytes = 0;  // how much of `content` a flush has put on the disk
  // Compared by what a later run finds: names may differ in case only.
  bool operator==(const ModelEntry& o) const { return folder == o.folder && content == o.content; }
};

// The files and registry keys below the roots, by their names in lower case.
struct Machine {
  std::map<std::string, ModelEntry> files;
  std::map<std::string, ModelKey> keys;
  bool operator==(const Machine& other) const;
};

// The roots the model covers: folders (without a trailing backslash) and
// registry keys below HKEY_LOCAL_MACHINE.
struct ModelRoots {
  std::vector<std::string> folders;
  std::vector<std::string> keys;
};

// The machine below the roots as it is now; every file flushed.
Machine readMachine(const ModelRoots& roots);
// Makes the machine below the roots exactly `machine`: what is not in it goes.
void writeMachine(const ModelRoots& roots, const Machine& machine);
// One line for each difference, for a failure's message.
std::vector<std::string> machineDifferences(const Machine& expected, const Machine& actual);

// The changes of one run, in order, with what each means for a crash.
class RecordedRun {
 public:
  RecordedRun(std::vector<durable::Change> changes, ModelRoots roots);

  // Every pair (registry changes kept, file-system changes kept) that a crash
  // at some instant of the run can leave, in order.
  std::vector<std::pair<size_t, size_t>> crashStates() const;
  // `before` with the first `registry` registry changes and the first `files`
  // file-system changes of the run; with `dataLost`, every byte not flushed by
  // then zero-filled. False in `anyUnflushed` when all data was on the disk.
  Machine stateAfter(const Machine& before, size_t registry, size_t files, bool dataLost, bool& anyUnflushed) const;
  // Whether every change lies below the roots; the first that does not in `outside`.
  bool within(std::string& outside) const;
  // The last `count` changes of each kind that a state with `registry` and
  // `files` changes kept, one a line, for a failure's message.
  std::string lastChangesKept(size_t registry, size_t files, size_t count) const;

 private:
  ModelRoots roots;
  std::vector<durable::Change> registryChanges;
  std::vector<durable::Change> fileChanges;
  // For each instant (before change n of the whole run): how many of each kind
  // were made, and how many of each were surely on the disk.
  struct Instant {
    size_t registry, registryDurable, files, filesDurable;
  };
  std::vector<Instant> instants;
};

// Records the changes made through durable_changes.h while it lives, from
// whichever thread makes them (the worker, the flusher of written files), in
// the order they were made.
class ChangeRecorder {
 public:
  ChangeRecorder();
  ~ChangeRecorder();
  ChangeRecorder(const ChangeRecorder&) = delete;
  ChangeRecorder& operator=(const ChangeRecorder&) = delete;
  // What it recorded; call once the run has ended.
  std::vector<durable::Change> changes() const { return recorded; }

 private:
  static void record(const durable::Change& change, void* self);

  CRITICAL_SECTION lock;
  std::vector<durable::Change> recorded;
};
