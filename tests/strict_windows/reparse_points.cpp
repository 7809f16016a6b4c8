#include "reparse_points.h"

#include <cstring>
#include <vector>

#include "file_info_classes.h"
#include "file_paths.h"
#include "host_command.h"
#include "layer_settings.h"
#include "text_conversion.h"
#include "text_format.h"

namespace {

// Where the path leads once every link on the way is followed; empty when
// it leads nowhere.
std::string finalPath(const std::string& path) {
  static const auto finalName = reinterpret_cast<GetFinalPathNameByHandleCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
  if (finalName == nullptr) return std::string();
  HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char buffer[32768];
  const DWORD length = finalName(file, buffer, sizeof buffer, 0);
  CloseHandle(file);
  if (length == 0 || length >= sizeof buffer) return std::string();
  std::string resolved(buffer, length);
  if (resolved.compare(0, 4, "\\\\?\\") == 0) resolved.erase(0, 4);
  return withoutFinalBackslash(resolved);
}

std::string joined(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + '\\' + name;
}

bool gone(const std::string& path) { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }

}  // namespace

Link linkAt(const std::string& fullPathGiven) {
  if (!layerSettings().reparsePoints) return {};
  const std::string path = withoutFinalBackslash(fullPathGiven);
  const size_t last = path.find_last_of('\\');
  if (last == std::string::npos || last + 1 == path.size() || path.size() <= 3) return {};  // a drive's root
  const std::string folder = path.substr(0, last == 2 ? 3 : last);
  const std::string resolved = finalPath(path);
  const std::string folderResolved = finalPath(folder);
  if (resolved.empty() || folderResolved.empty() ||
      equalsIgnoringCase(joined(folderResolved, path.substr(last + 1)), resolved))
    return {};
  const DWORD attributes = GetFileAttributesA(path.c_str());  // of what it leads to
  return {attributes & FILE_ATTRIBUTE_DIRECTORY ? LinkKind::Junction : LinkKind::SymbolicLink, resolved};
}

DWORD linkAttributes(LinkKind kind) {
  return (kind == LinkKind::Junction ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE) | FILE_ATTRIBUTE_REPARSE_POINT;
}

DWORD reparseTag(LinkKind kind) {
  return kind == LinkKind::Junction ? IO_REPARSE_TAG_MOUNT_POINT : IO_REPARSE_TAG_SYMLINK;
}

DWORD reparseData(const Link& link, void* buffer, DWORD size) {
  const std::wstring substitute = wideText("\\??\\" + link.target);
  const std::wstring print = wideText(link.target);
  const bool symbolic = link.kind == LinkKind::SymbolicLink;
  const WORD substituteBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
  const WORD printBytes = static_cast<WORD>(print.size() * sizeof(wchar_t));
  // Each name with its terminating zero, as Windows writes them.
  const DWORD flagsBytes = symbolic ? sizeof(ULONG) : 0;
  const DWORD namesBytes = substituteBytes + printBytes + 2 * sizeof(wchar_t);
  const DWORD total = sizeof(ReparseDataHeader) + flagsBytes + namesBytes;
  if (buffer == nullptr || size < total) {
    SetLastError(ERROR_MORE_DATA);
    return 0;
  }
  std::vector<unsigned char> data(total, 0);
  ReparseDataHeader header = {};
  header.reparseTag = reparseTag(link.kind);
  header.reparseDataLength = static_cast<WORD>(total - 8);
  header.substituteNameOffset = 0;
  header.substituteNameLength = substituteBytes;
  header.printNameOffset = static_cast<WORD>(substituteBytes + sizeof(wchar_t));
  header.printNameLength = printBytes;
  std::memcpy(data.data(), &header, sizeof header);
  unsigned char* names = data.data() + sizeof header + flagsBytes;
  std::memcpy(names, substitute.data(), substituteBytes);
  std::memcpy(names + header.printNameOffset, print.data(), printBytes);
  std::memcpy(buffer, data.data(), total);
  return total;
}

DWORD removeLinkItself(const std::string& fullPath) {
  const std::string link = unixPath(withoutFinalBackslash(fullPath));
  if (link.empty() || !startHostCommand({"/bin/rm", "-f", link})) return ERROR_ACCESS_DENIED;
  return waitForEffect([&] { return gone(fullPath); }) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

DWORD renameLinkItself(const std::string& fullPath, const std::string& newPath, bool replace) {
  if (!replace && !gone(newPath)) return ERROR_ALREADY_EXISTS;
  const std::string from = unixPath(withoutFinalBackslash(fullPath));
  const std::string to = unixPath(withoutFinalBackslash(newPath));
  if (from.empty() || to.empty()) return ERROR_PATH_NOT_FOUND;
  if (!startHostCommand({"/bin/mv", "-f", "-T", from, to})) return ERROR_ACCESS_DENIED;
  return waitForEffect([&] { return gone(fullPath) && linkAt(newPath).kind != LinkKind::None; }) ? ERROR_SUCCESS
                                                                                                 : ERROR_ACCESS_DENIED;
}
