#include "file_tree.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "scenario.h"
#include "temporary_file_name.h"

std::optional<unsigned long long> fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::string> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string requiredFileBytes(const std::string& path) {
  const std::optional<std::string> bytes = fileBytes(path);
  check(bytes.has_value(), "the file " + path + " can be read");
  return *bytes;
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  check(out.good(), "the file " + path + " is written");
}

bool isDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool pathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool isOpenedByNoOne(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

HeldOpen::HeldOpen(const std::string& path)
    : file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
  check(file != INVALID_HANDLE_VALUE, path + " is held open");
}

HeldOpen::~HeldOpen() { CloseHandle(file); }

Scanner::Scanner(const std::string& path)
    : file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, 0, nullptr)) {
  check(file != INVALID_HANDLE_VALUE, path + " is opened by the scanner");
}

Scanner::~Scanner() {
  if (waiter) {
    WaitForSingleObject(waiter, INFINITE);
    CloseHandle(waiter);
  }
  letGo();
}

void Scanner::letGo() {
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  file = INVALID_HANDLE_VALUE;
}

unsigned long __stdcall Scanner::letGoLater(void* scanner) {
  auto* self = static_cast<Scanner*>(scanner);
  Sleep(self->delay);
  self->letGo();
  return 0;
}

void Scanner::letGoAfter(unsigned long milliseconds) {
  check(waiter == nullptr, "the scanner lets go once");
  delay = milliseconds;
  waiter = CreateThread(nullptr, 0, letGoLater, this, 0, nullptr);
  check(waiter != nullptr, "the scanner's timer starts");
}

LoadedModule::LoadedModule(const std::string& path)
    : module(LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES)) {
  check(module != nullptr, path + " is loaded as a module, error " + std::to_string(GetLastError()));
}

LoadedModule::~LoadedModule() { unload(); }

void LoadedModule::unload() {
  if (module) FreeLibrary(static_cast<HMODULE>(module));
  module = nullptr;
}

bool holdsKeptCopy(const std::string& folder) {
  for (const std::string& file : filesBelow(folder))
    if (Escort::isKeptCopyName(file.substr(file.rfind('\\') + 1))) return true;
  return false;
}
