#include "archive_path.h"

namespace Escort {

std::string normalizeArchivePath(const std::string& path) {
  std::string key = path;
  for (char& c : key) {
    if (c == '/')
      c = '\\';
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  if (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::string pathInTree(const std::string& key, const std::string& prefixKey) {
  std::string rest = key.substr(prefixKey.size());
  if (!rest.empty() && rest.front() == '\\') rest.erase(0, 1);
  return rest;
}

}  // namespace Escort
