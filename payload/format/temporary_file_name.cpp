#include "temporary_file_name.h"

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

const char kTemporaryFileExtension[] = ".tmp";
const char kKeptCopyExtension[] = ".kept";

// `prefix`, the low 16 bits of `number` in capital hexadecimal digits without
// leading zeros, `extension`: as GetTempFileNameA writes its numbers.
std::string numberedName(const char* prefix, unsigned number, const char* extension) {
  std::string digits;
  number &= 0xFFFFu;
  do {
    digits.insert(digits.begin(), "0123456789ABCDEF"[number & 0xFu]);
    number >>= 4;
  } while (number != 0);
  return prefix + digits + extension;
}

}  // namespace

bool isTemporaryFileName(const std::string& name) {
  return isNumberedName(name, kTemporaryFilePrefix, kTemporaryFileExtension);
}

bool isKeptCopyName(const std::string& name) { return isNumberedName(name, kKeptCopyPrefix, kKeptCopyExtension); }

std::string temporaryFileName(unsigned number) {
  return numberedName(kTemporaryFilePrefix, number, kTemporaryFileExtension);
}

std::string keptCopyName(unsigned number) { return numberedName(kKeptCopyPrefix, number, kKeptCopyExtension); }

}  // namespace Escort
