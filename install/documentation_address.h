#pragma once
#include <string>

// The online user guide on the product's own site. The Start menu shortcut
// points here.
inline constexpr char kDocumentationAddress[] = "https://www.kestrel.example/doc/";

// The same address without its trailing slash, as the finished page opens it.
inline std::string documentationAddressWithoutSlash() {
  return std::string(kDocumentationAddress, sizeof kDocumentationAddress - 2);
}
