#pragma once
// One level of a path looked at where it stands, not where a link there leads.
#include <windows.h>

#include <string>

// Opened for its attributes only, the link itself where it is one; without
// sharing deletion, so that it can be neither renamed nor removed while held.
// INVALID_HANDLE_VALUE when it is not there or cannot be opened.
HANDLE holdUnfollowed(const std::string& level);

// Whether `level`, held by holdUnfollowed with every level above it, is a
// link (a junction, a symbolic link: a reparse point). Looked at by its name,
// which while held can lead to nothing else: by its handle,
// GetFileInformationByHandle also asks for the volume's serial number, which
// Wine 8.0 fetches from its mount manager, a millisecond a folder (as observed).
bool isLink(const std::string& level);
