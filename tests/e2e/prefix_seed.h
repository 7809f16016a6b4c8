#pragma once
// What a scenario puts into its own Wine prefix before it starts the program:
// simulators, an earlier installation's setting, and a stand-in for the
// programs that open documents.
#include <string>
#include <vector>

#include "scenario_run.h"

// Flight Simulator folders as the scenarios install them: 2004's "EXE Path"
// with a trailing backslash, 2002's without, as either may stand.
extern const char kFs2002Folder[];
extern const char kFs2004Folder[];

enum class Simulator { Fs2002, Fs2004 };

// The simulator's registry entry and its folder, with the modules\ and
// aircraft\ folders that real installations have.
void seedSimulator(Simulator simulator);
// The same with the folder elsewhere (with a backslash at its end).
void seedSimulatorAt(Simulator simulator, const std::string& folder);
// The folder of a seeded simulator.
std::string simulatorFolder(Simulator simulator);
// The entries that seedSimulator makes inside the folder, for checkFolderHolds.
std::vector<std::string> seededSimulatorEntries();
// "KSDir" of an earlier installation.
void seedProgramDirSetting(const std::string& directory);

// Registers the open recorder (beside the driver) as the program that opens
// web addresses and (unless `textFiles` is false) text files, and gives the
// file it records into. Without it, a fresh prefix opens web addresses with
// Wine's browser stand-in (which hands them to the host) and has no program
// for text files.
std::string recordWhatIsOpened(const ScenarioRun& run, bool textFiles = true);

struct OpenedDocument {
  std::string document;   // as the recorder was given it
  std::string directory;  // the working directory it was opened in
  unsigned long openedByProcess;  // the process id of the program that started the recorder
  std::string openedBy;   // its file name, or "" when it had ended by then
};
// The documents opened, in the order they were started, once every recorder
// has ended. A program that opens something has started its recorder before
// it ends, so after its end this sees all it opened.
std::vector<OpenedDocument> documentsOpened(const std::string& record);

// The desktop's shell cannot be reached, as where no Explorer runs: the
// class through which programs find its windows (ShellWindows) is made to
// stand for a class nobody serves.
void makeDesktopShellUnreachable();
