#include "payload_extract.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scratch_dir.h"
#include "test_data.h"

using namespace PayloadTool;

namespace {

const std::string kModule = randomBytes(300, 5);  // spans several 64-byte chunks

PayloadLayout twoEntryLayout() {
  PayloadLayout layout;
  layout.chunkSize = 64;
  layout.entries = {layoutEntry("\\fs\\modules\\a.dll", kModule), layoutEntry("\\ks\\b.txt", "bravo")};
  return layout;
}

class PayloadExtract : public ::testing::Test {
 protected:
  void write(const PayloadLayout& layout) {
    std::string error;
    ASSERT_TRUE(writePayload(layout, scratch / "payload", error)) << error;
  }

  // Extracts `path` into out.bin; "" on success, else the error.
  std::string extract(const std::string& path) {
    PayloadReader payload;
    std::string error;
    EXPECT_TRUE(payload.open(scratch / "payload", error)) << error;
    return extractEntry(payload, path, scratch / "out.bin", error) ? "" : error;
  }

  std::string extracted() {
    std::string bytes;
    EXPECT_TRUE(readFileBytes(scratch / "out.bin", bytes));
    return bytes;
  }

  ScratchDir scratch;
};

}  // namespace

TEST_F(PayloadExtract, WritesTheEntryAsInstalledWhateverTheSpelling) {
  write(twoEntryLayout());
  const struct {
    const char* path;
    std::string content;
  } cases[] = {{"\\fs\\modules\\a.dll", kModule}, {"/FS/Modules/A.dll", kModule}, {"/ks/b.txt", "bravo"}};
  for (const auto& c : cases) {
    ASSERT_EQ(extract(c.path), "") << c.path;
    EXPECT_EQ(extracted(), c.content) << c.path;
  }
}

TEST_F(PayloadExtract, RefusesWhatItCannotTakeOutWholeAndWritesNothing) {
  const struct {
    const char* what;
    void (*damage)(PayloadLayout&);
    const char* path;
    const char* error;
  } cases[] = {
      {"a path not stored", [](PayloadLayout&) {}, "/ks/c.txt", "\\ks\\c.txt: not in the payload"},
      {"a size the stream does not have", [](PayloadLayout& l) { l.entries[1].uncompressedSize = 6; },
       "/ks/b.txt", "\\ks\\b.txt: inflates to 5 bytes, the record says 6"},
      {"a stream cut short", [](PayloadLayout& l) { l.entries[0].stream.resize(100); },
       "/fs/modules/a.dll", "\\fs\\modules\\a.dll: zlib stream is cut short"},
  };
  for (const auto& c : cases) {
    PayloadLayout layout = twoEntryLayout();
    c.damage(layout);
    write(layout);
    EXPECT_EQ(extract(c.path), c.error) << c.what;
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.bin")) << c.what;
  }
}

TEST_F(PayloadExtract, RefusesAMissingChunk) {
  write(twoEntryLayout());
  std::filesystem::remove(scratch / "payload/chunk00003.bin");
  EXPECT_EQ(extract("/fs/modules/a.dll"), "\\fs\\modules\\a.dll: chunk 3 cannot be read");
  EXPECT_FALSE(std::filesystem::exists(scratch / "out.bin"));
}
