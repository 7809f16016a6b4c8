#pragma once
// Links, as Windows reports them. Under Wine a junction or a symbolic link is
// a Unix symbolic link: Wine follows it everywhere, also where Windows acts
// on the link itself, and reports only a link to a folder as a reparse point.
// The layer finds a link by what it resolves to (the final path of the name
// differs from that of its folder joined with the name), and reports a link
// to a folder as a junction and a link to a file as a symbolic link: their own
// attributes and tags where Windows gives those, the link itself opened with
// FILE_FLAG_OPEN_REPARSE_POINT, and the link itself removed or renamed where
// Windows removes or renames it. What lies beyond a link is reached through
// it, as on Windows.
#include <windows.h>

#include <string>

enum class LinkKind { None, Junction, SymbolicLink };

struct Link {
  LinkKind kind = LinkKind::None;
  std::string target;  // the full path it resolves to
};

// The link that `fullPath` itself is (not one further up its path); none
// when the layer does not report links in this run.
Link linkAt(const std::string& fullPath);

// The link's own attributes and its reparse tag, as Windows reports them.
DWORD linkAttributes(LinkKind kind);
DWORD reparseTag(LinkKind kind);

// FSCTL_GET_REPARSE_POINT's answer for the link into `buffer`: its size, or
// 0 with the last error set when it does not fit.
DWORD reparseData(const Link& link, void* buffer, DWORD size);

// The link at `fullPath` itself removed; 0 or a Windows error.
DWORD removeLinkItself(const std::string& fullPath);
// The link itself renamed to `newPath` (replacing what is there when
// `replace` says so); 0 or a Windows error.
DWORD renameLinkItself(const std::string& fullPath, const std::string& newPath, bool replace);
