#include "file_hooks.h"

#include <windows.h>
#include <winioctl.h>

#include <string>

#include "delete_pending.h"
#include "file_info_classes.h"
#include "file_paths.h"
#include "opened_files.h"
#include "path_limits.h"
#include "reparse_points.h"
#include "text_conversion.h"
#include "text_format.h"

namespace {

// Sets the last error and gives the value that tells a failure.
template <typename T>
T failing(DWORD error, T failure) {
  SetLastError(error);
  return failure;
}

// The system's own functions of Vista and later and of ntdll, looked up as
// the programs would.
template <typename Call>
Call systemFunction(const char* dll, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name)));
}

// A file that Windows would not open, delete or rename as asked: too long a
// path, or a file being deleted. The last error says why.
bool refusedPath(const char* given, const std::string& path, size_t limit = kPathLimit) {
  return refusedAsTooLong(given, path, limit) || refusedAsDeletePending(path);
}

// The link's own information in place of what it leads to.
void asLinkFound(const Link& link, WIN32_FIND_DATAA& found) {
  found.dwFileAttributes = linkAttributes(link.kind);
  found.dwReserved0 = reparseTag(link.kind);
  if (link.kind == LinkKind::SymbolicLink) found.nFileSizeHigh = found.nFileSizeLow = 0;
}

void reportLinksFound(const std::string& folder, WIN32_FIND_DATAA& found) {
  const std::string name = found.cFileName;
  if (folder.empty() || name == "." || name == "..") return;
  const Link link = linkAt((folder.back() == '\\' ? folder : folder + '\\') + name);
  if (link.kind != LinkKind::None) asLinkFound(link, found);
}

// The link whose own handle this is; kind None for any other handle.
Link linkOfHandle(HANDLE handle) {
  OpenedFile file;
  return openedFile(handle, file) ? file.link : Link();
}

// A rename's new name, as the program gave it by handle: a Win32 or an NT path.
std::string renameTarget(const FileRenameInfo& rename) {
  std::string name = ansiText(std::wstring(rename.fileName, rename.fileNameLength / sizeof(WCHAR)));
  if (name.compare(0, 4, "\\??\\") == 0) name.erase(0, 4);
  return fullPath(name.c_str());
}

// A deletion or a rename asked for by handle, before the system is asked:
// 0 to go on, else the error that ends it. `done` is set when the layer did
// it itself, for a link's own handle: the link goes (when the handle closes)
// or is renamed, never what it leads to.
DWORD beforeChangeByHandle(HANDLE handle, int informationClass, const void* information, DWORD size, bool& done) {
  done = false;
  OpenedFile file;
  const bool linkHandle = openedFile(handle, file) && file.link.kind != LinkKind::None;
  if (informationClass == kFileDispositionInfo && size >= sizeof(FileDispositionInfo) && linkHandle) {
    file.deletedOnClose = static_cast<const FileDispositionInfo*>(information)->deleteFile != FALSE;
    updateFile(handle, file);
    done = true;
  } else if (informationClass == kFileRenameInfo && size >= sizeof(FileRenameInfo)) {
    const auto* rename = static_cast<const FileRenameInfo*>(information);
    const std::string target = renameTarget(*rename);
    if (rename->replaceIfExists && refusedAsDeletePending(target)) return ERROR_ACCESS_DENIED;
    if (!linkHandle) return ERROR_SUCCESS;
    done = true;
    if (DWORD error = renameLinkItself(file.path, target, rename->replaceIfExists != FALSE)) return error;
    file.path = target;
    updateFile(handle, file);
  }
  return ERROR_SUCCESS;
}

// After a deletion or a rename by handle that the system did: the file goes
// when the handle closes, or has its new name.
void afterChangeByHandle(HANDLE handle, int informationClass, const void* information) {
  OpenedFile file;
  if (!openedFile(handle, file)) return;
  if (informationClass == kFileDispositionInfo)
    file.deletedOnClose = static_cast<const FileDispositionInfo*>(information)->deleteFile != FALSE;
  else if (informationClass == kFileRenameInfo)
    file.path = renameTarget(*static_cast<const FileRenameInfo*>(information));
  else
    return;
  updateFile(handle, file);
}

// The attributes by handle, for a link's own handle.
void asLinkInformation(const Link& link, int informationClass, void* information) {
  if (informationClass == kFileBasicInfo) {
    static_cast<FileBasicInfo*>(information)->fileAttributes = linkAttributes(link.kind);
  } else if (informationClass == kFileStandardInfo) {
    auto* standard = static_cast<FileStandardInfo*>(information);
    standard->directory = link.kind == LinkKind::Junction;
    if (link.kind == LinkKind::SymbolicLink) standard->endOfFile.QuadPart = standard->allocationSize.QuadPart = 0;
  } else if (informationClass == kFileAttributeTagInfo) {
    *static_cast<FileAttributeTagInfo*>(information) = {linkAttributes(link.kind), reparseTag(link.kind)};
  }
}

// --- kernel32 --------------------------------------------------------------

HANDLE WINAPI strictCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE templateFile) {
  const std::string path = fullPath(name);
  if (refusedPath(name, path)) return INVALID_HANDLE_VALUE;
  const Link link = flags & FILE_FLAG_OPEN_REPARSE_POINT ? linkAt(path) : Link();
  // What the link leads to is opened (Wine would open that anyway), and the
  // handle answers for the link: deleted on closing, it is the link that goes.
  const DWORD opening = link.kind == LinkKind::None ? flags : flags & ~FILE_FLAG_DELETE_ON_CLOSE;
  HANDLE handle = CreateFileA(name, access, share, security, disposition, opening, templateFile);
  if (handle != INVALID_HANDLE_VALUE) rememberFile(handle, {path, (flags & FILE_FLAG_DELETE_ON_CLOSE) != 0, link});
  return handle;
}

BOOL WINAPI strictCloseHandle(HANDLE handle) {
  OpenedFile file;
  if (!forgetFile(handle, file)) return CloseHandle(handle);
  const BOOL closed = CloseHandle(handle);
  const DWORD error = GetLastError();
  if (closed && file.deletedOnClose) {
    if (file.link.kind != LinkKind::None)
      removeLinkItself(file.path);
    else
      noteDeletion(file.path);
  }
  SetLastError(error);
  return closed;
}

BOOL WINAPI strictDeleteFileA(LPCSTR name) {
  const std::string path = fullPath(name);
  if (refusedPath(name, path)) return FALSE;
  const Link link = linkAt(path);
  if (link.kind == LinkKind::Junction) return failing(ERROR_ACCESS_DENIED, FALSE);  // a folder
  if (link.kind == LinkKind::SymbolicLink) {
    const DWORD error = removeLinkItself(path);
    return error ? failing(error, FALSE) : TRUE;
  }
  const BOOL deleted = DeleteFileA(name);
  const DWORD error = GetLastError();
  if (deleted) noteDeletion(path);
  SetLastError(error);
  return deleted;
}

BOOL WINAPI strictRemoveDirectoryA(LPCSTR name) {
  const std::string path = fullPath(name);
  if (refusedAsTooLong(name, path, kPathLimit)) return FALSE;
  const Link link = linkAt(path);
  if (link.kind == LinkKind::SymbolicLink) return failing(ERROR_DIRECTORY, FALSE);
  if (link.kind == LinkKind::Junction) {
    const DWORD error = removeLinkItself(path);
    return error ? failing(error, FALSE) : TRUE;
  }
  return RemoveDirectoryA(name);
}

BOOL WINAPI strictMoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  const std::string source = fullPath(from);
  const std::string target = fullPath(to);
  if (refusedAsTooLong(from, source, kPathLimit) || (to && refusedAsTooLong(to, target, kPathLimit))) return FALSE;
  // Only recorded for the next restart: nothing is opened now.
  if (flags & MOVEFILE_DELAY_UNTIL_REBOOT) return MoveFileExA(from, to, flags);
  if (to && !(flags & MOVEFILE_COPY_ALLOWED) && refusedAcrossVolumes(source, target)) return FALSE;
  if (refusedAsDeletePending(source)) return FALSE;
  const bool replacing = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
  if (to && replacing && refusedAsDeletePending(target)) return FALSE;
  if (to && linkAt(source).kind != LinkKind::None) {
    const DWORD error = renameLinkItself(source, target, replacing);
    return error ? failing(error, FALSE) : TRUE;
  }
  return MoveFileExA(from, to, flags);
}

BOOL WINAPI strictMoveFileA(LPCSTR from, LPCSTR to) { return strictMoveFileExA(from, to, MOVEFILE_COPY_ALLOWED); }

BOOL WINAPI strictCopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) {
  const std::string source = fullPath(from);
  const std::string target = fullPath(to);
  if (refusedPath(from, source) || refusedAsTooLong(to, target, kPathLimit)) return FALSE;
  if (!failIfExists && refusedAsDeletePending(target)) return FALSE;
  return CopyFileA(from, to, failIfExists);
}

BOOL WINAPI strictCreateDirectoryA(LPCSTR name, LPSECURITY_ATTRIBUTES security) {
  if (refusedAsTooLong(name, fullPath(name), kDirectoryPathLimit)) return FALSE;
  return CreateDirectoryA(name, security);
}

DWORD WINAPI strictGetFileAttributesA(LPCSTR name) {
  const std::string path = fullPath(name);
  if (refusedAsTooLong(name, path, kPathLimit)) return INVALID_FILE_ATTRIBUTES;
  const DWORD attributes = GetFileAttributesA(name);
  if (attributes == INVALID_FILE_ATTRIBUTES) return attributes;
  const Link link = linkAt(path);
  return link.kind == LinkKind::None ? attributes : linkAttributes(link.kind);
}

BOOL WINAPI strictGetFileAttributesExA(LPCSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID information) {
  const std::string path = fullPath(name);
  if (refusedAsTooLong(name, path, kPathLimit)) return FALSE;
  if (!GetFileAttributesExA(name, level, information)) return FALSE;
  const Link link = linkAt(path);
  if (link.kind != LinkKind::None && level == GetFileExInfoStandard) {
    auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(information);
    data->dwFileAttributes = linkAttributes(link.kind);
    if (link.kind == LinkKind::SymbolicLink) data->nFileSizeHigh = data->nFileSizeLow = 0;
  }
  return TRUE;
}

BOOL WINAPI strictSetFileAttributesA(LPCSTR name, DWORD attributes) {
  if (refusedPath(name, fullPath(name))) return FALSE;
  return SetFileAttributesA(name, attributes);
}

HANDLE WINAPI strictFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
  const std::string path = fullPath(pattern);
  if (refusedAsTooLong(pattern, path, kPathLimit)) return INVALID_HANDLE_VALUE;
  HANDLE search = FindFirstFileA(pattern, found);
  if (search == INVALID_HANDLE_VALUE) return search;
  const std::string folder = parentDirectory(path);
  rememberSearch(search, folder);
  reportLinksFound(folder, *found);
  return search;
}

BOOL WINAPI strictFindNextFileA(HANDLE search, LPWIN32_FIND_DATAA found) {
  if (!FindNextFileA(search, found)) return FALSE;
  reportLinksFound(searchedFolder(search), *found);
  return TRUE;
}

BOOL WINAPI strictFindClose(HANDLE search) {
  forgetSearch(search);
  return FindClose(search);
}

BOOL WINAPI strictGetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION information) {
  if (!GetFileInformationByHandle(handle, information)) return FALSE;
  const Link link = linkOfHandle(handle);
  if (link.kind != LinkKind::None) {
    information->dwFileAttributes = linkAttributes(link.kind);
    if (link.kind == LinkKind::SymbolicLink) information->nFileSizeHigh = information->nFileSizeLow = 0;
  }
  return TRUE;
}

BOOL WINAPI strictDeviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                                  LPDWORD returned, LPOVERLAPPED overlapped) {
  const Link link = code == FSCTL_GET_REPARSE_POINT ? linkOfHandle(handle) : Link();
  if (link.kind == LinkKind::None) return DeviceIoControl(handle, code, in, inSize, out, outSize, returned, overlapped);
  const DWORD size = reparseData(link, out, outSize);
  if (returned) *returned = size;
  return size != 0;
}

BOOL WINAPI strictGetFileInformationByHandleEx(HANDLE handle, int informationClass, LPVOID information, DWORD size) {
  static const auto system =
      systemFunction<GetFileInformationByHandleExCall>("kernel32.dll", "GetFileInformationByHandleEx");
  const Link link = linkOfHandle(handle);
  if (link.kind != LinkKind::None && informationClass == kFileAttributeTagInfo) {
    if (size < sizeof(FileAttributeTagInfo)) return failing(ERROR_BAD_LENGTH, FALSE);
    asLinkInformation(link, informationClass, information);
    return TRUE;
  }
  if (!system(handle, informationClass, information, size)) return FALSE;
  if (link.kind != LinkKind::None) asLinkInformation(link, informationClass, information);
  return TRUE;
}

BOOL WINAPI strictSetFileInformationByHandle(HANDLE handle, int informationClass, LPVOID information, DWORD size) {
  static const auto system =
      systemFunction<SetFileInformationByHandleCall>("kernel32.dll", "SetFileInformationByHandle");
  bool done = false;
  if (DWORD error = beforeChangeByHandle(handle, informationClass, information, size, done)) return failing(error, FALSE);
  if (done) return TRUE;
  if (!system(handle, informationClass, information, size)) return FALSE;
  afterChangeByHandle(handle, informationClass, information);
  return TRUE;
}

// --- ntdll -----------------------------------------------------------------

// The Win32 class that an ntdll class of the same meaning has.
int byHandleClass(int ntClass) {
  switch (ntClass) {
    case kNtFileBasicInformation:
      return kFileBasicInfo;
    case kNtFileRenameInformation:
      return kFileRenameInfo;
    case kNtFileDispositionInformation:
      return kFileDispositionInfo;
    case kNtFileAttributeTagInformation:
      return kFileAttributeTagInfo;
  }
  return -1;
}

LONG finished(NtIoStatusBlock* status, LONG code, ULONG_PTR information = 0) {
  if (status) {
    status->status = code;
    status->information = information;
  }
  return code;
}

LONG NTAPI strictNtQueryInformationFile(HANDLE handle, NtIoStatusBlock* status, void* information, ULONG size,
                                        int informationClass) {
  static const auto system = systemFunction<NtFileInformationCall>("ntdll.dll", "NtQueryInformationFile");
  const Link link = linkOfHandle(handle);
  const int byHandle = byHandleClass(informationClass);
  if (link.kind != LinkKind::None && byHandle == kFileAttributeTagInfo) {
    if (size < sizeof(FileAttributeTagInfo)) return finished(status, kStatusInfoLengthMismatch);
    asLinkInformation(link, byHandle, information);
    return finished(status, kStatusSuccess, sizeof(FileAttributeTagInfo));
  }
  const LONG result = system(handle, status, information, size, informationClass);
  if (result >= 0 && link.kind != LinkKind::None && byHandle == kFileBasicInfo)
    asLinkInformation(link, byHandle, information);
  return result;
}

LONG NTAPI strictNtSetInformationFile(HANDLE handle, NtIoStatusBlock* status, void* information, ULONG size,
                                      int informationClass) {
  static const auto system = systemFunction<NtFileInformationCall>("ntdll.dll", "NtSetInformationFile");
  const int byHandle = byHandleClass(informationClass);
  bool done = false;
  if (DWORD error = beforeChangeByHandle(handle, byHandle, information, size, done))
    return finished(status, error == ERROR_ALREADY_EXISTS ? static_cast<LONG>(0xC0000035) : kStatusAccessDenied);
  if (done) return finished(status, kStatusSuccess);
  const LONG result = system(handle, status, information, size, informationClass);
  if (result >= 0) afterChangeByHandle(handle, byHandle, information);
  return result;
}

#define REDIRECT(dll, name) \
  { dll, #name, reinterpret_cast<void*>(strict##name) }

const Redirection kRedirections[] = {
    REDIRECT("kernel32.dll", CreateFileA),
    REDIRECT("kernel32.dll", CloseHandle),
    REDIRECT("kernel32.dll", DeleteFileA),
    REDIRECT("kernel32.dll", RemoveDirectoryA),
    REDIRECT("kernel32.dll", MoveFileExA),
    REDIRECT("kernel32.dll", MoveFileA),
    REDIRECT("kernel32.dll", CopyFileA),
    REDIRECT("kernel32.dll", CreateDirectoryA),
    REDIRECT("kernel32.dll", GetFileAttributesA),
    REDIRECT("kernel32.dll", GetFileAttributesExA),
    REDIRECT("kernel32.dll", SetFileAttributesA),
    REDIRECT("kernel32.dll", FindFirstFileA),
    REDIRECT("kernel32.dll", FindNextFileA),
    REDIRECT("kernel32.dll", FindClose),
    REDIRECT("kernel32.dll", GetFileInformationByHandle),
    REDIRECT("kernel32.dll", DeviceIoControl),
    REDIRECT("kernel32.dll", GetFileInformationByHandleEx),
    REDIRECT("kernel32.dll", SetFileInformationByHandle),
    REDIRECT("ntdll.dll", NtQueryInformationFile),
    REDIRECT("ntdll.dll", NtSetInformationFile),
};

}  // namespace

const Redirection* fileRedirections(size_t& count) {
  count = sizeof kRedirections / sizeof kRedirections[0];
  return kRedirections;
}
