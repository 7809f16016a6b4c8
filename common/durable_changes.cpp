#include "durable_changes.h"

namespace durable {
namespace {

ChangeWatcher watcher = nullptr;
void* watcherContext = nullptr;

void tell(Change::Kind kind, const std::string& path, const std::string& target = std::string(),
          unsigned long number = 0, std::string data = std::string()) {
  if (watcher) watcher(Change{kind, path, target, number, std::move(data)}, watcherContext);
}

// The result of a Windows call that sets the last error, told when it succeeded.
bool told(BOOL succeeded, Change::Kind kind, const std::string& path, const std::string& target = std::string(),
          unsigned long number = 0) {
  if (succeeded && watcher) {
    const DWORD error = GetLastError();
    tell(kind, path, target, number);
    SetLastError(error);
  }
  return succeeded != FALSE;
}

LONG toldRegistry(LONG status, Change::Kind kind, const std::string& path, const std::string& target = std::string(),
                  unsigned long number = 0, std::string data = std::string()) {
  if (status == ERROR_SUCCESS) tell(kind, path, target, number, std::move(data));
  return status;
}

}  // namespace

void watchChanges(ChangeWatcher newWatcher, void* context) {
  watcher = newWatcher;
  watcherContext = context;
}

HANDLE createNewFile(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  told(file != INVALID_HANDLE_VALUE, Change::FileCreated, path);
  return file;
}

bool writeFile(HANDLE file, const std::string& path, const void* data, DWORD size, DWORD& written) {
  written = 0;
  const BOOL succeeded = WriteFile(file, data, size, &written, nullptr);
  if (watcher && written > 0) {
    const DWORD error = GetLastError();
    tell(Change::FileWritten, path, std::string(), 0, std::string(static_cast<const char*>(data), written));
    SetLastError(error);
  }
  return succeeded != FALSE;
}

bool flushFile(HANDLE file, const std::string& path) { return told(FlushFileBuffers(file), Change::FileFlushed, path); }

bool flushVolume(const std::string& drive) {
  // "\\.\C:", without a backslash at the end, names the volume, not its root folder.
  const HANDLE volume = CreateFileA(("\\\\.\\" + drive).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (volume == INVALID_HANDLE_VALUE) return false;
  const BOOL flushed = FlushFileBuffers(volume);
  const DWORD error = GetLastError();
  CloseHandle(volume);
  SetLastError(error);
  return told(flushed, Change::VolumeFlushed, drive);
}

bool moveFile(const std::string& from, const std::string& to, DWORD flags) {
  return told(MoveFileExA(from.c_str(), to.c_str(), flags), Change::FileMoved, from, to, flags);
}

bool copyNewFile(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), TRUE)) return false;
  fileWrittenElsewhere(to);
  return true;
}

bool deleteFile(const std::string& path) { return told(DeleteFileA(path.c_str()), Change::FileDeleted, path); }

bool setFileAttributes(const std::string& path, DWORD attributes) {
  return told(SetFileAttributesA(path.c_str(), attributes), Change::AttributesSet, path, std::string(), attributes);
}

bool createDirectory(const std::string& path) {
  return told(CreateDirectoryA(path.c_str(), nullptr), Change::DirectoryCreated, path);
}

bool removeDirectory(const std::string& path) {
  return told(RemoveDirectoryA(path.c_str()), Change::DirectoryRemoved, path);
}

void fileWrittenElsewhere(const std::string& path) {
  if (!watcher) return;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  tell(Change::FileCreated, path);
  if (!bytes.empty()) tell(Change::FileWritten, path, std::string(), 0, bytes);
}

LONG createKey(const std::string& subkey, REGSAM access, HKEY& key, DWORD& disposition) {
  char noClass[] = "";  // RegCreateKeyExA takes the class as a writable string
  disposition = 0;
  const LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, access,
                                      nullptr, &key, &disposition);
  if (status != ERROR_SUCCESS) key = nullptr;
  if (status == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY) tell(Change::KeyCreated, subkey);
  return status;
}

LONG setValue(HKEY key, const std::string& subkey, const std::string& name, DWORD type, const void* data, DWORD size) {
  return toldRegistry(RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
                      Change::ValueSet, subkey, name, type,
                      watcher && size ? std::string(static_cast<const char*>(data), size) : std::string());
}

LONG deleteValue(HKEY key, const std::string& subkey, const std::string& name) {
  return toldRegistry(RegDeleteValueA(key, name.c_str()), Change::ValueDeleted, subkey, name);
}

LONG deleteKey(const std::string& subkey) {
  return toldRegistry(RegDeleteKeyA(HKEY_LOCAL_MACHINE, subkey.c_str()), Change::KeyDeleted, subkey);
}

LONG flushKey(HKEY key) { return toldRegistry(RegFlushKey(key), Change::RegistryFlushed, std::string()); }

}  // namespace durable
