#include "start_menu_shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "durable_changes.h"
#include "file_placement.h"
#include "product_names.h"
#include "text_format.h"
#include "uninstall_commands.h"

namespace {

// The Programs folder of all users, or the user's own when that has none.
// Empty when neither can be had.
std::string programsFolder() {
  for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
    char path[MAX_PATH] = "";
    if (SUCCEEDED(SHGetFolderPathA(nullptr, folder, nullptr, 0, path)) && path[0]) return path;
  }
  return std::string();
}

// Holds one interface of the shell link object and releases it on every way
// out, a failed Save included.
template <typename Interface>
class Held {
 public:
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (pointer_) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  void** out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// Makes room for a shortcut file about to be saved, telling `undo` first
// whether it is new or what it replaces: an earlier one is kept aside, since
// saving writes into the file it finds.
bool prepareShortcutFile(const std::string& path, Escort::UndoLog& undo) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return undo.fileWillBeCreated(path.c_str());
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    SetLastError(ERROR_ALREADY_EXISTS);  // no shortcut can be saved over it
    return false;
  }
  std::string kept;
  return undo.fileWillBeReplaced(path.c_str(), kept) && Escort::renameAside(path, kept);
}

// One shortcut as it is saved. The link object is shared, so what a shortcut
// leaves unset keeps the value of the one before it: the user guide is saved
// with the uninstaller's arguments.
struct Shortcut {
  const std::string& name;  // file name without ".lnk", and the description
  const std::string& target;
  const char* arguments;  // null: left as it is
  const std::string* iconFile;  // null: left as it is
  int iconIndex;
};

}  // namespace

std::string startMenuFolder(const InstallTexts& texts) {
  std::string folder = programsFolder();
  if (folder.empty()) return folder;
  ensureTrailingBackslash(folder);
  return folder + texts.startMenuFolder + '\\';
}

std::vector<std::string> shortcutFiles(const std::string& folder, const InstallTexts& texts) {
  std::vector<std::string> files;
  for (const std::string* name : {&texts.startMenuFolder, &texts.uninstallShortcut, &texts.userGuideShortcut})
    files.push_back(folder + *name + ".lnk");
  return files;
}

bool createStartMenuShortcuts(const std::string& folder, const std::string& programPath,
                              const std::string& uninstallerPath, const std::string& documentationAddress,
                              const std::string& iconFile, const InstallTexts& texts,
                              Escort::UninstallerSetup& uninstallLog, Escort::UndoLog& undo, Failure& failure) {
  const auto fail = [&failure](const std::string& item, unsigned long error, FailureSite site, const char* call) {
    failure = {item, error, site, call};
    return false;
  };
  if (folder.empty()) return fail("", ERROR_PATH_NOT_FOUND, FailureSite::ShortcutsFolder, "SHGetFolderPathA");
  // Only the last level is made; the Programs folder exists on every system.
  const std::string folderName = withoutTrailingBackslash(folder);
  const DWORD attributes = GetFileAttributesA(folderName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (!undo.directoryWillBeCreated(folderName.c_str()) || !durable::createDirectory(folderName))
      return fail(folderName, GetLastError(), FailureSite::ShortcutsFolder, "CreateDirectoryA");
  } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return fail(folderName, ERROR_ALREADY_EXISTS, FailureSite::ShortcutsFolder, "CreateDirectoryA");
  }

  {
    Held<IShellLinkA> link;
    Held<IPersistFile> file;
    HRESULT made = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out());
    if (SUCCEEDED(made)) made = link->QueryInterface(IID_IPersistFile, file.out());
    if (FAILED(made)) return fail("", static_cast<unsigned long>(made), FailureSite::ShortcutsLinkObject, "CoCreateInstance");

    const Shortcut shortcuts[] = {
        {texts.startMenuFolder, programPath, nullptr, nullptr, 0},
        // The uninstaller is told which registration to undo.
        {texts.uninstallShortcut, uninstallerPath, kProductName, &iconFile, 1},
        {texts.userGuideShortcut, documentationAddress, nullptr, &iconFile, 0},
    };
    const std::vector<std::string> paths = shortcutFiles(folder, texts);
    for (size_t n = 0; n < paths.size(); ++n) {
      const Shortcut& shortcut = shortcuts[n];
      const std::string& path = paths[n];
      // The setters' results are not examined: Save tells whether the
      // shortcut was made.
      link->SetPath(shortcut.target.c_str());
      if (shortcut.arguments) link->SetArguments(shortcut.arguments);
      link->SetDescription(shortcut.name.c_str());
      if (shortcut.iconFile) link->SetIconLocation(shortcut.iconFile->c_str(), shortcut.iconIndex);

      // Save takes the one wide string of the program: the path in the ANSI
      // code page. A path that does not convert whole is not saved anywhere.
      WCHAR widePath[MAX_PATH];
      if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH))
        return fail(path, GetLastError(), FailureSite::ShortcutSave, "MultiByteToWideChar");
      if (!prepareShortcutFile(path, undo)) return fail(path, GetLastError(), FailureSite::ShortcutPrepare, "MoveFileExA");
      const HRESULT saved = file->Save(widePath, TRUE);
      if (FAILED(saved)) return fail(path, static_cast<unsigned long>(saved), FailureSite::ShortcutSave, "IPersistFile::Save");
      durable::fileWrittenElsewhere(path);
      undo.fileWritten(path.c_str(), nullptr);
      if (!uninstallLog.addEvent(kDeleteFile, path.c_str(), texts.startMenu.c_str()))
        return fail(path, ERROR_NOT_ENOUGH_MEMORY, FailureSite::NoMemory, "");
    }
  }
  return uninstallLog.addEvent(kDeleteEmptyDirs, folder.c_str(), texts.startMenu.c_str()) ||
         fail(folder, ERROR_NOT_ENOUGH_MEMORY, FailureSite::NoMemory, "");
}
