#include "module_strings.h"

#include <vector>

HINSTANCE moduleInstance = nullptr;

std::string loadString(UINT id) {
  // LoadStringA cuts a text that does not fit and reports only what it copied,
  // so a count that fills the buffer may mean more is left: try again with
  // twice the room. The licence paragraphs run to well over a thousand characters.
  for (int capacity = 64;; capacity *= 2) {
    std::vector<char> buffer(capacity);
    const int length = LoadStringA(moduleInstance, id, buffer.data(), capacity);
    if (length == 0) return std::string();
    if (length < capacity - 1) return std::string(buffer.data(), length);
  }
}
