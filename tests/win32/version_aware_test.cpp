// Replacing a shared module only with a newer product version, for real: the
// DLLs below carry VERSIONINFO resources built by the project.
#include <gtest/gtest.h>

#include "extract_result.h"
#include "file_extractor.h"
#include "recording_status.h"
#include "scratch_directory.h"

using namespace Escort;

namespace {

// The payload's "/fs/modules/fsuipc.dll" has product version 3.10.0.0 and
// "/fs/modules/noversion.dll" has no version resource; the installed copies
// are DLLs built beside this test.
std::string installedCopy(const char* name) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string path = exe;
  return path.substr(0, path.rfind('\\') + 1) + "installed\\" + name;
}

class VersionAware : public ::testing::Test {
 protected:
  void SetUp() override {
    extractor->closeCatalog();
    ASSERT_TRUE(extractor->open(LoadLibraryA("payload_basic.dll"), &status));
  }
  void TearDown() override { extractor->closeCatalog(); }

  // Places `installed` (if any) at the destination, extracts `entry` version-aware
  // and tells whether the destination now holds the payload's copy.
  bool replaces(const char* installed, const char* entry = "/fs/modules/fsuipc.dll") {
    std::string destination = scratch / "fsuipc.dll";
    if (installed) {
      EXPECT_TRUE(CopyFileA(installedCopy(installed).c_str(), destination.c_str(), FALSE));
    }
    std::string before = readFileBytes(destination);
    EXPECT_EQ(extractor->extractFile(entry, destination.c_str(), true), kExtractOk);
    EXPECT_EQ(directoryListing(scratch.path()), std::vector<std::string>{"fsuipc.dll"})
        << "no temporary file stays behind";
    EXPECT_EQ(status.sequence().back(), 'F');
    std::string after = readFileBytes(destination);
    if (after == before) return false;
    std::string payloadCopy = hostPath(TEST_PAYLOAD_TREE "/") + (entry + 1);
    for (char& c : payloadCopy)
      if (c == '/') c = '\\';
    EXPECT_TRUE(after == readFileBytes(payloadCopy));
    return true;
  }

  FileExtractor* extractor = getFileExtractor();
  RecordingStatus status;
  ScratchDirectory scratch{"version"};
};

TEST_F(VersionAware, NoInstalledCopyIsPutInPlace) { EXPECT_TRUE(replaces(nullptr)); }

TEST_F(VersionAware, PartsCompareAsNumbersNotText) {
  EXPECT_TRUE(replaces("product_3_2.dll"));  // 3.2.0.0 < 3.10.0.0
}

TEST_F(VersionAware, EqualOrNewerInstalledCopyStays) {
  EXPECT_FALSE(replaces("product_3_10.dll"));
  EXPECT_FALSE(replaces("product_3_11.dll"));
  EXPECT_FALSE(replaces("product_4_0.dll"));
}

TEST_F(VersionAware, ProductVersionDecidesNotFileVersion) {
  EXPECT_TRUE(replaces("file_9_product_3_1.dll"));
}

TEST_F(VersionAware, MissingVersionResourceOnEitherSideReplaces) {
  EXPECT_TRUE(replaces("no_version.dll"));
  EXPECT_TRUE(replaces("product_4_0.dll", "/fs/modules/noversion.dll"));
}

TEST_F(VersionAware, FailedReplacementKeepsTheInstalledCopy) {
  std::string destination = scratch / "fsuipc.dll";
  ASSERT_TRUE(CopyFileA(installedCopy("product_3_2.dll").c_str(), destination.c_str(), FALSE));
  std::string before = readFileBytes(destination);
  // A module in use (open without delete sharing) cannot be replaced: the move
  // fails after the installed copy was judged older, and the user, asked, does not wait.
  HANDLE inUse = CreateFileA(destination.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
  EXPECT_EQ(extractor->extractFile("/fs/modules/fsuipc.dll", destination.c_str(), true), kCancelled);
  CloseHandle(inUse);
  EXPECT_TRUE(readFileBytes(destination) == before);
  EXPECT_EQ(directoryListing(scratch.path()), std::vector<std::string>{"fsuipc.dll"});
  EXPECT_EQ(status.sequence().find('F'), std::string::npos);
}

}  // namespace
