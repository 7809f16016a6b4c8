#include "shell_links.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace {

// COM for as long as one of these lives, apartment-threaded as the program has it.
class ComApartment {
 public:
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};

IShellLinkA* newLink() {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return nullptr;
  return link;
}

}  // namespace

LoadedShortcut loadShortcut(const std::string& path) {
  ComApartment com;
  LoadedShortcut shortcut;
  IShellLinkA* link = newLink();
  if (link == nullptr) return shortcut;
  IPersistFile* file = nullptr;
  WCHAR widePath[MAX_PATH];
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) &&
      SUCCEEDED(file->Load(widePath, STGM_READ))) {
    char text[INFOTIPSIZE];
    shortcut.loaded = true;
    if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) shortcut.target = text;
    if (SUCCEEDED(link->GetArguments(text, INFOTIPSIZE))) shortcut.arguments = text;
    if (SUCCEEDED(link->GetDescription(text, INFOTIPSIZE))) shortcut.description = text;
    if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &shortcut.iconIndex))) shortcut.iconFile = text;
  }
  if (file) file->Release();
  link->Release();
  return shortcut;
}

std::string targetAsTheLinkObjectKeepsIt(const std::string& target) {
  ComApartment com;
  IShellLinkA* link = newLink();
  if (link == nullptr) return std::string();
  char kept[MAX_PATH] = "";
  link->SetPath(target.c_str());
  link->GetPath(kept, MAX_PATH, nullptr, SLGP_RAWPATH);
  link->Release();
  return kept;
}

std::string describe(const LoadedShortcut& s) {
  if (!s.loaded) return "(not loaded)";
  return "target \"" + s.target + "\", arguments \"" + s.arguments + "\", description \"" + s.description +
         "\", icon \"" + s.iconFile + "\" " + std::to_string(s.iconIndex);
}
