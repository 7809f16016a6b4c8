#pragma once
// Every call through which the setup program and the uninstaller change what
// outlasts them: files, folders and the registry keys of HKEY_LOCAL_MACHINE
// (the registry view of the program's own build), and the flushes that make
// those changes survive a power cut. Nothing else in the programs makes such a
// change, so that a test can watch each one here, in order, and rebuild every
// state a crash can leave. Each function behaves as the Windows call it names
// (results and last error); the watcher hears only of what succeeded.
#include <windows.h>

#include <string>

namespace durable {

struct Change {
  enum Kind {
    FileCreated,       // `path`: a new, empty file
    FileWritten,       // `path`: `data` appended
    FileFlushed,       // `path`: its data and every earlier change of its volume are on the disk
    VolumeFlushed,     // `path`: the volume ("C:"): every change on it is on the disk
    FileMoved,         // `path` renamed to `target` (`number`: MoveFileEx's flags)
    FileDeleted,       // `path`
    AttributesSet,     // `path`: attributes `number`
    DirectoryCreated,  // `path`
    DirectoryRemoved,  // `path`
    KeyCreated,        // `path`: the key below HKEY_LOCAL_MACHINE, and the levels above it it made
    ValueSet,          // `path`, value `target`: type `number`, `data`
    ValueDeleted,      // `path`, value `target`
    KeyDeleted,        // `path` (a key without subkeys)
    RegistryFlushed,   // every registry change so far is on the disk
  };
  Kind kind;
  std::string path;
  std::string target;
  unsigned long number = 0;
  std::string data;
};

// Tells `watcher` of every change from now on (null: no one); for tests.
using ChangeWatcher = void (*)(const Change& change, void* context);
void watchChanges(ChangeWatcher watcher, void* context);

// A new file opened for writing (CREATE_NEW), shared for reading and
// deleting; INVALID_HANDLE_VALUE when it cannot be made.
HANDLE createNewFile(const std::string& path);
bool writeFile(HANDLE file, const std::string& path, const void* data, DWORD size, DWORD& written);
bool flushFile(HANDLE file, const std::string& path);
// Every change on the volume of `drive` ("C:") written to the disk: opens
// the volume, which takes an administrator.
bool flushVolume(const std::string& drive);
bool moveFile(const std::string& from, const std::string& to, DWORD flags);
// CopyFileA, never over a file that is there: told to the watcher as the new
// file made and written.
bool copyNewFile(const std::string& from, const std::string& to);
bool deleteFile(const std::string& path);
bool setFileAttributes(const std::string& path, DWORD attributes);
bool createDirectory(const std::string& path);
bool removeDirectory(const std::string& path);
// A file that another component (the shell's link object) has just written
// whole: told to the watcher as made and written.
void fileWrittenElsewhere(const std::string& path);

// The registry below HKEY_LOCAL_MACHINE; each returns the registry's error.
LONG createKey(const std::string& subkey, REGSAM access, HKEY& key, DWORD& disposition);
LONG setValue(HKEY key, const std::string& subkey, const std::string& name, DWORD type, const void* data, DWORD size);
LONG deleteValue(HKEY key, const std::string& subkey, const std::string& name);
// The key itself; it must have no subkeys.
LONG deleteKey(const std::string& subkey);
// Waits until every change of the key's hive is on the disk.
LONG flushKey(HKEY key);

}  // namespace durable
