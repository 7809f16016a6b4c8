#pragma once
// The command words of the uninstall log, as the separate uninstaller program
// reads them from the registration.

inline constexpr char kDeleteFile[] = "DeleteFile";
inline constexpr char kDeleteEmptyDirs[] = "DeleteEmptyDirs";
inline constexpr char kDeleteRegTree[] = "DeleteRegTree";
