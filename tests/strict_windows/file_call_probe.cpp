// The layer's tests' own plain program: it makes one file call, or the few
// calls of one step, as the programs under test make them (the functions of
// XP through its imports, later ones and ntdll's looked up at run time), and
// ends with the Windows error that the call gave (0: it succeeded). What it
// found it writes to its standard output.
//   file_call_probe OPERATION PATH [PATH]
#include <windows.h>
#include <winioctl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "file_info_classes.h"

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

template <typename Call>
Call lookedUp(const char* dll, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name)));
}

DWORD result(BOOL succeeded) { return succeeded ? ERROR_SUCCESS : GetLastError(); }

DWORD opened(const char* path, DWORD access, DWORD disposition, DWORD flags = 0) {
  HANDLE file = CreateFileA(path, access, kShareAll, nullptr, disposition, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(file);
  return ERROR_SUCCESS;
}

// Opened for deleting, marked, closed: the way that deletes by handle.
DWORD deletedByHandle(const char* path, DWORD flags, bool throughNtdll) {
  HANDLE file = CreateFileA(path, DELETE, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD error = ERROR_SUCCESS;
  FileDispositionInfo disposition = {TRUE};
  if (throughNtdll) {
    NtIoStatusBlock status = {};
    if (lookedUp<NtFileInformationCall>("ntdll.dll", "NtSetInformationFile")(
            file, &status, &disposition, sizeof disposition, kNtFileDispositionInformation) < 0)
      error = ERROR_ACCESS_DENIED;
  } else if (!lookedUp<SetFileInformationByHandleCall>("kernel32.dll", "SetFileInformationByHandle")(
                 file, kFileDispositionInfo, &disposition, sizeof disposition)) {
    error = GetLastError();
  }
  CloseHandle(file);
  return error;
}

DWORD attributes(const char* path) {
  const DWORD found = GetFileAttributesA(path);
  if (found == INVALID_FILE_ATTRIBUTES) return GetLastError();
  std::printf("attributes %lx\n", found);
  return ERROR_SUCCESS;
}

DWORD attributesEx(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return GetLastError();
  std::printf("attributes %lx size %lu\n", data.dwFileAttributes, data.nFileSizeLow);
  return ERROR_SUCCESS;
}

// Every entry but . and ..: its name, attributes and (for a reparse point) tag.
DWORD found(const char* pattern) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return GetLastError();
  do {
    if (std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0) continue;
    std::printf("%s attributes %lx tag %lx\n", entry.cFileName, entry.dwFileAttributes,
                entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT ? entry.dwReserved0 : 0);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return ERROR_SUCCESS;
}

// The link itself, opened as the code that must not follow links opens it,
// and what each way of asking says of it.
DWORD linkOpened(const char* path) {
  HANDLE file = CreateFileA(path, FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  BY_HANDLE_FILE_INFORMATION information = {};
  GetFileInformationByHandle(file, &information);
  FileAttributeTagInfo tag = {};
  lookedUp<GetFileInformationByHandleExCall>("kernel32.dll", "GetFileInformationByHandleEx")(
      file, kFileAttributeTagInfo, &tag, sizeof tag);
  FileAttributeTagInfo ntTag = {};
  NtIoStatusBlock status = {};
  lookedUp<NtFileInformationCall>("ntdll.dll", "NtQueryInformationFile")(file, &status, &ntTag, sizeof ntTag,
                                                                          kNtFileAttributeTagInformation);
  union {
    ReparseDataHeader header;
    unsigned char bytes[16384];
  } reparse = {};
  DWORD returned = 0;
  const bool reparsed =
      DeviceIoControl(file, FSCTL_GET_REPARSE_POINT, nullptr, 0, &reparse, sizeof reparse, &returned, nullptr) != FALSE;
  std::string target;
  if (reparsed) {
    const size_t flags = reparse.header.reparseTag == IO_REPARSE_TAG_SYMLINK ? sizeof(ULONG) : 0;
    const auto* names = reinterpret_cast<const WCHAR*>(reparse.bytes + sizeof reparse.header + flags);
    for (size_t i = 0; i < reparse.header.printNameLength / sizeof(WCHAR); ++i)
      target += static_cast<char>(names[reparse.header.printNameOffset / sizeof(WCHAR) + i]);
  }
  CloseHandle(file);
  std::printf("attributes %lx tag %lx nt-tag %lx reparse-tag %lx target %s\n", information.dwFileAttributes,
              tag.reparseTag, ntTag.reparseTag, reparsed ? reparse.header.reparseTag : 0, target.c_str());
  return ERROR_SUCCESS;
}

// Starts this program again with the rest of the command line, and ends as it does.
DWORD startedAgain(const char* arguments) {
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string commandLine = std::string("\"") + self + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return GetLastError();
  WaitForSingleObject(started.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(started.hProcess, &code);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return code;
}

DWORD call(const std::string& operation, const char* path, const char* other) {
  if (operation == "open") return opened(path, GENERIC_READ, OPEN_EXISTING);
  if (operation == "open-write") return opened(path, GENERIC_WRITE, OPEN_EXISTING);
  if (operation == "create") return opened(path, GENERIC_WRITE, CREATE_NEW);
  if (operation == "delete") return result(DeleteFileA(path));
  if (operation == "delete-by-handle") return deletedByHandle(path, 0, false);
  if (operation == "delete-through-ntdll") return deletedByHandle(path, 0, true);
  if (operation == "delete-link-by-handle")
    return deletedByHandle(path, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, false);
  if (operation == "delete-link-on-close")
    return opened(path, DELETE, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_DELETE_ON_CLOSE);
  if (operation == "rmdir") return result(RemoveDirectoryA(path));
  if (operation == "mkdir") return result(CreateDirectoryA(path, nullptr));
  if (operation == "attributes") return attributes(path);
  if (operation == "attributes-ex") return attributesEx(path);
  if (operation == "set-attributes") return result(SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL));
  if (operation == "find") return found(path);
  if (operation == "open-link") return linkOpened(path);
  if (other != nullptr) {
    if (operation == "rename") return result(MoveFileExA(path, other, 0));
    if (operation == "replace") return result(MoveFileExA(path, other, MOVEFILE_REPLACE_EXISTING));
    if (operation == "move") return result(MoveFileA(path, other));
    if (operation == "copy") return result(CopyFileA(path, other, FALSE));
  }
  return ERROR_INVALID_FUNCTION;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "again") {
    // Everything after "again", as it was given.
    const char* rest = std::strstr(GetCommandLineA(), " again ");
    return rest ? static_cast<int>(startedAgain(rest + 7)) : ERROR_INVALID_FUNCTION;
  }
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: file_call_probe OPERATION PATH [PATH] | again ARGUMENTS...\n");
    return ERROR_INVALID_FUNCTION;
  }
  const DWORD error = call(argv[1], argv[2], argc == 4 ? argv[3] : nullptr);
  std::fflush(stdout);
  return static_cast<int>(error);
}
