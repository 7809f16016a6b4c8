#include "registration_details.h"

#include <windows.h>

#include <cstdint>

#include "documentation_address.h"
#include "product_version.h"
#include "registration_reader.h"
#include "registry_key.h"
#include "product_names.h"
#include "text_format.h"

namespace {

const char kPublisher[] = "Ninefold";

bool fileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "3.0.2.0", as the file's own version resource says.
std::string versionText(uint64_t version) {
  std::string text;
  for (int shift = 48; shift >= 0; shift -= 16) {
    if (shift < 48) text += '.';
    text += intToString(static_cast<int>((version >> shift) & 0xFFFF));
  }
  return text;
}

std::string zeroPadded(unsigned value, size_t width) {
  std::string text = intToString(static_cast<int>(value));
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::string today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return zeroPadded(now.wYear, 4) + zeroPadded(now.wMonth, 2) + zeroPadded(now.wDay, 2);
}

}  // namespace

bool writeRegistrationDetails(const std::string& productName, const std::string& programDir) {
  // The program where this run or an earlier one installed it, else the
  // uninstaller, which every installation has and which carries the same version.
  const std::string program = programDir + kProgramFile;
  const std::string shown = fileExists(program) ? program : programDir + kUninstallerFile;
  uint64_t version = 0;
  RegistryKey key;
  return key.open(registrationKey(productName), KEY_SET_VALUE) &&
         (!Escort::readProductVersion(shown, version) || key.setString("DisplayVersion", versionText(version))) &&
         key.setString("Publisher", kPublisher) && key.setString("DisplayIcon", shown + ",0") &&
         key.setString("InstallLocation", programDir) && key.setString("InstallDate", today()) &&
         key.setDword("NoModify", 1) && key.setDword("NoRepair", 1) &&
         key.setString("URLInfoAbout", kDocumentationAddress) && key.setString("HelpLink", kDocumentationAddress);
}
