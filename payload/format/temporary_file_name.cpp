#include "temporary_file_name.h"

namespace Escort {

bool isTemporaryFileName(const std::string& name) {
  const std::string prefix = kTemporaryFilePrefix, extension = ".tmp";
  if (name.size() < prefix.size() + 1 + extension.size() || name.size() > prefix.size() + 4 + extension.size())
    return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (lower(name[i]) != prefix[i]) return false;
  }
  const size_t digitsEnd = name.size() - extension.size();
  for (size_t i = prefix.size(); i < digitsEnd; ++i) {
    const char c = lower(name[i]);
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  for (size_t i = 0; i < extension.size(); ++i) {
    if (lower(name[digitsEnd + i]) != extension[i]) return false;
  }
  return true;
}

}  // namespace Escort
