#include "windows_file_name.h"

#include <cctype>
#include <cstring>

#include "text_format.h"

namespace {

// Windows opens these devices whatever the extension: "nul.txt" is the null device.
bool isReservedDeviceName(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::string windowsNameProblem(const std::string& name) {
  if (name.empty()) return "empty name";
  if (name == "." || name == "..") return "the name \"" + name + "\" is not a file name";
  for (size_t at = 0; at < name.size(); at = nextCharacter(name, at)) {
    const unsigned char c = static_cast<unsigned char>(name[at]);
    if (c < 0x20 || std::strchr("<>:\"/|?*", c))
      return "name holds a character Windows does not allow in file names";
  }
  if (name.back() == '.' || name.back() == ' ')
    return "name ends with a dot or a blank, which Windows drops";
  if (isReservedDeviceName(name)) return "name is a device name that Windows reserves";
  return "";
}
