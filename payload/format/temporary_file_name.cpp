#include "temporary_file_name.h"

#include <cstdio>

namespace Escort {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithIgnoringCase(const std::string& text, size_t at, const std::string& part) {
  if (text.size() < at + part.size()) return false;
  for (size_t i = 0; i < part.size(); ++i) {
    if (lower(text[at + i]) != part[i]) return false;
  }
  return true;
}

// `prefix`, one to four hexadecimal digits, `extension`, in any case.
bool isNumberedName(const std::string& name, const std::string& prefix, const std::string& extension) {
  if (name.size() < prefix.size() + 1 + extension.size() || name.size() > prefix.size() + 4 + extension.size())
    return false;
  const size_t digitsEnd = name.size() - extension.size();
  for (size_t i = prefix.size(); i < digitsEnd; ++i) {
    const char c = lower(name[i]);
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return startsWithIgnoringCase(name, 0, prefix) && startsWithIgnoringCase(name, digitsEnd, extension);
}

const char kKeptCopyExtension[] = ".kept";

}  // namespace

bool isTemporaryFileName(const std::string& name) { return isNumberedName(name, kTemporaryFilePrefix, ".tmp"); }

bool isKeptCopyName(const std::string& name) { return isNumberedName(name, kKeptCopyPrefix, kKeptCopyExtension); }

std::string keptCopyName(unsigned number) {
  char name[16];
  std::snprintf(name, sizeof name, "%s%X%s", kKeptCopyPrefix, number & 0xFFFFu, kKeptCopyExtension);
  return name;
}

}  // namespace Escort
