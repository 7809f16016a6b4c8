#pragma once
// The names this product gives to what it puts on a machine, each spelled
// once: the setup program, the uninstaller and the tests all take them from
// here.
#include <string>

// The name the product registers under in Windows' list of programs, which
// its uninstaller is also started with.
inline constexpr char kProductName[] = "Kestrel 3";
// The program and the uninstaller in the program directory.
inline constexpr char kProgramFile[] = "kestrel.exe";
inline constexpr char kUninstallerFile[] = "ksuninstall.exe";
// The program's icons, which the shortcuts show.
inline constexpr char kIconFile[] = "ksimage.dll";

// Keys below HKEY_LOCAL_MACHINE, in the registry view of the program's build.
inline constexpr char kMachineRoot[] = "HKEY_LOCAL_MACHINE\\";
// The program's settings.
inline constexpr char kProgramSettingsKey[] = "Software\\Ninefold\\Kestrel\\3";
inline constexpr char kProgramDirValue[] = "KSDir";
// The journal of a run that is changing the machine (journal_store.h): one
// level below Software, which is always there, so that the journal's key is
// made, and goes, in one step, with no level above it to make or remove.
inline constexpr char kJournalKey[] = "Software\\Ninefold Kestrel 3 Setup Journal";

// `subkey` as the user reads it: "HKEY_LOCAL_MACHINE\Software\...".
inline std::string machineKeyName(const std::string& subkey) { return kMachineRoot + subkey; }
