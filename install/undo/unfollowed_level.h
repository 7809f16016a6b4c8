#pragma once
// One level of a path looked at where it stands, not where a link there leads.
#include <windows.h>

#include <string>

// Opened for its attributes only, the link itself where it is one; without
// sharing deletion, so that it can be neither renamed nor removed while held.
// INVALID_HANDLE_VALUE when it is not there or cannot be opened.
HANDLE holdUnfollowed(const std::string& level);

// Whether the level held is a link (a junction, a symbolic link: a reparse point).
bool isLink(HANDLE level);
