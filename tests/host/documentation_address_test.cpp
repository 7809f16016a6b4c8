#include "documentation_address.h"

#include <gtest/gtest.h>

#include <string>

// The user guide lives on a reserved example domain, never on someone else's
// site, at the path "/doc/".
TEST(DocumentationAddress, IsTheDocPathOfAnExampleDomain) {
  const std::string address = kDocumentationAddress;
  const std::string scheme = "https://";
  ASSERT_EQ(address.compare(0, scheme.size(), scheme), 0) << address;
  const std::string::size_type pathStart = address.find('/', scheme.size());
  ASSERT_NE(pathStart, std::string::npos) << address;
  const std::string host = address.substr(scheme.size(), pathStart - scheme.size());
  const std::string reserved = ".example";
  ASSERT_GT(host.size(), reserved.size());
  EXPECT_EQ(host.compare(host.size() - reserved.size(), reserved.size(), reserved), 0) << host;
  EXPECT_EQ(address.substr(pathStart), "/doc/");
}

TEST(DocumentationAddress, FinishedPageFormDropsOnlyTheTrailingSlash) {
  EXPECT_EQ(documentationAddressWithoutSlash() + "/", kDocumentationAddress);
}
