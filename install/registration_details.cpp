#include "registration_details.h"

#include <windows.h>

#include <cstdio>

#include "documentation_address.h"
#include "product_version.h"
#include "registration_reader.h"
#include "registry_key.h"
#include "uninstall_log.h"

namespace {

const char kProgram[] = "kestrel.exe";
const char kPublisher[] = "Ninefold";

bool fileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "3.0.2.0", as the file's own version resource says.
std::string versionText(uint64_t version) {
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned(version >> 48), unsigned(version >> 32) & 0xFFFF,
                unsigned(version >> 16) & 0xFFFF, unsigned(version) & 0xFFFF);
  return text;
}

std::string today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[16];
  std::snprintf(date, sizeof date, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return date;
}

}  // namespace

bool writeRegistrationDetails(const std::string& productName, const std::string& programDir) {
  // The program where this run or an earlier one installed it, else the
  // uninstaller, which every installation has and which carries the same version.
  const std::string program = programDir + kProgram;
  const std::string shown = fileExists(program) ? program : programDir + Escort::kUninstallerFile;
  uint64_t version = 0;
  RegistryKey key;
  return key.open(registrationKey(productName), KEY_SET_VALUE) &&
         (!Escort::readProductVersion(shown, version) || key.setString("DisplayVersion", versionText(version))) &&
         key.setString("Publisher", kPublisher) && key.setString("DisplayIcon", shown + ",0") &&
         key.setString("InstallLocation", programDir) && key.setString("InstallDate", today()) &&
         key.setDword("NoModify", 1) && key.setDword("NoRepair", 1) &&
         key.setString("URLInfoAbout", kDocumentationAddress) && key.setString("HelpLink", kDocumentationAddress);
}
