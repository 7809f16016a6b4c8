#include "prefix_seed.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <sstream>

#include "expected_installation.h"
#include "file_tree.h"
#include "registry_view.h"
#include "scenario.h"

const char kFs2002Folder[] = "C:\\Program Files\\Microsoft Games\\Flight Simulator 8";
const char kFs2004Folder[] = "C:\\Program Files\\Microsoft Games\\Flight Simulator 9\\";

namespace {

bool recorderRunning() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  check(snapshot != INVALID_HANDLE_VALUE, "the processes can be listed");
  PROCESSENTRY32 process = {};
  process.dwSize = sizeof process;
  bool running = false;
  for (BOOL more = Process32First(snapshot, &process); more && !running; more = Process32Next(snapshot, &process))
    running = lstrcmpiA(process.szExeFile, "open_recorder.exe") == 0;
  CloseHandle(snapshot);
  return running;
}

void makeDirectory(const std::string& path) {
  CreateDirectoryA(path.c_str(), nullptr);
  check(isDirectory(path), "the folder " + path + " exists");
}

}  // namespace

std::string simulatorFolder(Simulator simulator) {
  return simulator == Simulator::Fs2002 ? kFs2002Folder : kFs2004Folder;
}

std::vector<std::string> seededSimulatorEntries() { return {"aircraft\\", "modules\\"}; }

void seedSimulator(Simulator simulator) { seedSimulatorAt(simulator, simulatorFolder(simulator)); }

void seedSimulatorAt(Simulator simulator, const std::string& folder) {
  const std::string base = withBackslash(folder);
  for (size_t cut = base.find('\\', 3); cut != std::string::npos; cut = base.find('\\', cut + 1))
    makeDirectory(base.substr(0, cut));
  for (const std::string& entry : seededSimulatorEntries()) makeDirectory(base + entry);
  check(seedMachineValue(simulator == Simulator::Fs2002 ? kFs2002Key : kFs2004Key, kSimulatorFolderValue,
                         registryText(folder)),
        "the simulator's EXE Path is seeded");
}

void seedProgramDirSetting(const std::string& directory) {
  check(seedMachineValue(kSettingsKey, "KSDir", registryText(directory)), "KSDir is seeded");
}

std::string recordWhatIsOpened(const ScenarioRun& run, bool textFiles) {
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  const std::string record = std::string(temp) + "kestrel-opened.txt";
  DeleteFileA(record.c_str());
  const std::string command = "\"" + run.testFile("open_recorder.exe") + "\" \"" + record + "\" \"%1\"";
  check(seedMachineValue("Software\\Classes\\https\\shell\\open\\command", "", registryText(command)),
        "the open recorder opens web addresses");
  if (!textFiles) return record;
  check(seedMachineValue("Software\\Classes\\txtfile\\shell\\open\\command", "", registryText(command)),
        "the open recorder opens text files");
  // A fresh Wine prefix has no program for text files at all.
  check(seedMachineValue("Software\\Classes\\.txt", "", registryText("txtfile")), ".txt files are text files");
  return record;
}

std::vector<OpenedDocument> documentsOpened(const std::string& record) {
  for (const DWORD start = GetTickCount(); recorderRunning(); Sleep(50))
    check(GetTickCount() - start < 30000, "the open recorders end within 30 s");
  std::vector<std::string> lines;
  std::istringstream in(fileBytes(record).value_or(""));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  // Each line starts with the recorder's creation time in fixed-width hex.
  std::sort(lines.begin(), lines.end());
  std::vector<OpenedDocument> opened;
  for (const std::string& line : lines) {
    std::vector<std::string> fields;
    std::istringstream fieldsOf(line);
    for (std::string field; std::getline(fieldsOf, field, '\t');) fields.push_back(field);
    check(fields.size() >= 4, "the open recorder wrote a whole line: " + line);
    opened.push_back({fields[1], fields[2], std::stoul(fields[3]), fields.size() > 4 ? fields[4] : ""});
  }
  return opened;
}

void makeDesktopShellUnreachable() {
  const char kShellWindows[] = "Software\\Classes\\CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\\TreatAs";
  check(seedMachineValue(kShellWindows, "", registryText("{4B657374-7265-6C20-6E6F-207368656C6C}")),
        "the desktop's shell windows stand for a class nobody serves");
}
