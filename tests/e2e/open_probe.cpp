// A hook DLL that the driver sets on the setup program's main thread
// (WH_GETMESSAGE): the first time the thread takes a message, it routes the
// program's own calls of ShellExecuteExA through itself, and from then on
// appends one line for each to the file that KESTREL_OPEN_PROBE names: what
// was to be opened, in which folder, and whether the shell opened it or
// which of its SE_ERR_ codes it gave. The program's behaviour is the same; the scenario
// sees what it asked for and what came of it.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using ShellExecuteExCall = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
ShellExecuteExCall shellExecuteEx = nullptr;

BOOL WINAPI recordedShellExecuteEx(SHELLEXECUTEINFOA* info) {
  const BOOL opened = shellExecuteEx(info);
  const DWORD error = opened ? 0 : GetLastError();
  if (const char* path = std::getenv("KESTREL_OPEN_PROBE")) {
    if (FILE* out = std::fopen(path, "ab")) {
      std::fprintf(out, "%s\t%s\t", info->lpFile ? info->lpFile : "", info->lpDirectory ? info->lpDirectory : "");
      // The shell's own code says why: Wine's last error is
      // ERROR_FILE_NOT_FOUND whatever the reason.
      if (opened)
        std::fprintf(out, "opened\n");
      else
        std::fprintf(out, "failed, code %lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(info->hInstApp)));
      std::fclose(out);
    }
  }
  SetLastError(error);
  return opened;
}

// The program's import of ShellExecuteExA from shell32.dll, or null.
void** importSlot() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + dll->Name), "shell32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "ShellExecuteExA") == 0)
        return reinterpret_cast<void**>(&slots->u1.Function);
    }
  }
  return nullptr;
}

void routeThroughProbe() {
  void** slot = importSlot();
  DWORD protection = 0;
  if (!slot || !VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return;
  shellExecuteEx = reinterpret_cast<ShellExecuteExCall>(*slot);
  *slot = reinterpret_cast<void*>(recordedShellExecuteEx);
  VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probeOpens(int code, WPARAM wParam, LPARAM lParam) {
  if (!shellExecuteEx) routeThroughProbe();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
