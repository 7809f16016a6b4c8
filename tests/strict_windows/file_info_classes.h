#pragma once
// The by-handle file information of Windows Vista and later, and ntdll's
// equivalents that XP already has, as far as the layer and its test program
// use them. The build declares XP's API only, so these are spelt out here;
// every function that takes them is looked up at run time.
#include <windows.h>

// GetFileInformationByHandleEx / SetFileInformationByHandle classes.
enum ByHandleInfoClass : int {
  kFileBasicInfo = 0,
  kFileStandardInfo = 1,
  kFileRenameInfo = 3,
  kFileDispositionInfo = 4,
  kFileAttributeTagInfo = 9,
};

struct FileBasicInfo {
  LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;
  DWORD fileAttributes;
};

struct FileStandardInfo {
  LARGE_INTEGER allocationSize, endOfFile;
  DWORD numberOfLinks;
  BOOLEAN deletePending, directory;
};

struct FileRenameInfo {
  BOOLEAN replaceIfExists;
  HANDLE rootDirectory;
  DWORD fileNameLength;  // bytes
  WCHAR fileName[1];
};

struct FileDispositionInfo {
  BOOLEAN deleteFile;
};

struct FileAttributeTagInfo {
  DWORD fileAttributes, reparseTag;
};

using GetFileInformationByHandleExCall = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
using SetFileInformationByHandleCall = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

// ntdll: NtQueryInformationFile / NtSetInformationFile classes.
enum NtFileInfoClass : int {
  kNtFileBasicInformation = 4,
  kNtFileRenameInformation = 10,
  kNtFileDispositionInformation = 13,
  kNtFileAttributeTagInformation = 35,
};

struct NtIoStatusBlock {
  union {
    LONG status;
    void* pointer;
  };
  ULONG_PTR information;
};

// FILE_BASIC_INFORMATION, FILE_RENAME_INFORMATION and the others have the
// layouts of the structures above.
using NtFileInformationCall = LONG(NTAPI*)(HANDLE, NtIoStatusBlock*, void*, ULONG, int);

constexpr LONG kStatusSuccess = 0;
constexpr LONG kStatusAccessDenied = static_cast<LONG>(0xC0000022);
constexpr LONG kStatusObjectNameInvalid = static_cast<LONG>(0xC0000033);
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

// What FSCTL_GET_REPARSE_POINT gives for a junction (a mount point) or a
// symbolic link: the tag, then the names as wide characters in PathBuffer.
struct ReparseDataHeader {
  DWORD reparseTag;
  WORD reparseDataLength;
  WORD reserved;
  WORD substituteNameOffset, substituteNameLength, printNameOffset, printNameLength;
  // Symbolic links only: then ULONG flags, and PathBuffer after it.
};

using GetFinalPathNameByHandleCall = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
