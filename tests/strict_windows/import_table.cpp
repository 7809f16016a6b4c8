#include "import_table.h"

#include <cstring>

namespace {

template <typename T>
T* at(HMODULE module, DWORD offset) {
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

const Redirection* redirectionFor(const char* dll, const char* function, const Redirection* redirections,
                                  size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (lstrcmpiA(redirections[i].dll, dll) == 0 && std::strcmp(redirections[i].function, function) == 0)
      return &redirections[i];
  }
  return nullptr;
}

void replaceEntry(void** entry, void* replacement) {
  DWORD protection = 0;
  if (!VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &protection)) return;
  *entry = replacement;
  VirtualProtect(entry, sizeof *entry, protection, &protection);
}

}  // namespace

int redirectImports(HMODULE program, const Redirection* redirections, size_t count) {
  const auto* dos = at<IMAGE_DOS_HEADER>(program, 0);
  const auto* nt = at<IMAGE_NT_HEADERS>(program, dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return 0;
  int changed = 0;
  for (auto* imported = at<IMAGE_IMPORT_DESCRIPTOR>(program, directory.VirtualAddress); imported->Name != 0;
       ++imported) {
    const char* dll = at<const char>(program, imported->Name);
    // The names, and the addresses the loader filled in beside them.
    auto* names = at<IMAGE_THUNK_DATA>(program, imported->OriginalFirstThunk ? imported->OriginalFirstThunk
                                                                             : imported->FirstThunk);
    auto* addresses = at<IMAGE_THUNK_DATA>(program, imported->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = at<IMAGE_IMPORT_BY_NAME>(program, static_cast<DWORD>(names->u1.AddressOfData));
      const Redirection* redirection =
          redirectionFor(dll, reinterpret_cast<const char*>(byName->Name), redirections, count);
      if (redirection == nullptr) continue;
      replaceEntry(reinterpret_cast<void**>(&addresses->u1.Function), redirection->replacement);
      ++changed;
    }
  }
  return changed;
}

FARPROC redirectedAddress(HMODULE module, LPCSTR name, FARPROC found, const Redirection* redirections, size_t count) {
  // An ordinal names no function the layer knows.
  if (found == nullptr || (reinterpret_cast<ULONG_PTR>(name) >> 16) == 0) return found;
  for (size_t i = 0; i < count; ++i) {
    if (std::strcmp(redirections[i].function, name) != 0) continue;
    // The same function as the DLL the program would import it from, whatever
    // module handle it was looked up through.
    HMODULE dll = GetModuleHandleA(redirections[i].dll);
    if (dll != nullptr && (dll == module || GetProcAddress(dll, name) == found))
      return reinterpret_cast<FARPROC>(redirections[i].replacement);
  }
  return found;
}
