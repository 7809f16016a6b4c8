#include "payload_import.h"

#include <gtest/gtest.h>

#include "resource_script.h"
#include "scratch_dir.h"
#include "test_data.h"

using namespace PayloadTool;

namespace {

// Three entries over several 64-byte chunks, as another tool might write them.
PayloadLayout foreignLayout() {
  PayloadLayout layout;
  layout.chunkSize = 64;
  layout.entries = {layoutEntry("\\fs\\modules\\a.dll", randomBytes(200, 3)),
                    layoutEntry("\\ks\\b.txt", "bravo"), layoutEntry("\\ks\\c.txt", "charlie")};
  for (PayloadLayoutEntry& entry : layout.entries) entry.reserved = 0x7C91;
  return layout;
}

class PayloadImport : public ::testing::Test {
 protected:
  void write(const PayloadLayout& layout) {
    std::string error;
    ASSERT_TRUE(writePayload(layout, scratch / "foreign", error)) << error;
  }

  ScratchDir scratch;
};

}  // namespace

TEST_F(PayloadImport, CopiesTheCheckedFilesWithAResourceScriptOfItsOwn) {
  write(foreignLayout());
  // Whatever else the other tool left is never embedded, its resource script least of all.
  scratch.writeFile("foreign/payload.rc", "0 RCDATA \"catalog.bin\"\n999 RCDATA \"/etc/passwd\"\n");
  scratch.writeFile("foreign/notes.txt", "not a payload file");

  VerifyReport report;
  ASSERT_TRUE(importPayload(scratch / "foreign", scratch / "out", report)) << report.problems.front();
  std::map<std::string, std::string> foreign = directoryContents(scratch / "foreign");
  std::map<std::string, std::string> imported = directoryContents(scratch / "out");
  foreign.erase("notes.txt");
  const uint32_t chunkCount = static_cast<uint32_t>(foreign.size() - 2);
  ASSERT_GT(chunkCount, 1u);
  foreign["payload.rc"] = resourceScriptFor(chunkCount);
  EXPECT_EQ(imported, foreign);
}

TEST_F(PayloadImport, RefusesAnUnsoundPayloadNamingTheEntryAndWritesNothing) {
  const struct {
    const char* what;
    void (*damage)(PayloadLayout&);
    const char* problem;
  } cases[] = {
      {"a path leaving the directory", [](PayloadLayout& l) { l.entries[1].path = "\\ks\\..\\b.txt"; },
       "\\ks\\..\\b.txt: component \"..\""},
      {"a reserved device name", [](PayloadLayout& l) { l.entries[1].path = "\\ks\\nul.txt"; },
       "\\ks\\nul.txt: component \"nul.txt\""},
      {"data that inflates to another size", [](PayloadLayout& l) { l.entries[2].uncompressedSize += 9; },
       "\\ks\\c.txt: inflates to 7 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PayloadLayout layout = foreignLayout();
    c.damage(layout);
    write(layout);
    scratch.writeFile("out/catalog.bin", "an earlier payload");

    VerifyReport report;
    EXPECT_FALSE(importPayload(scratch / "foreign", scratch / "out", report));
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_NE(report.problems[0].find(c.problem), std::string::npos) << report.problems[0];
    EXPECT_EQ(directoryContents(scratch / "out"),
              (std::map<std::string, std::string>{{"catalog.bin", "an earlier payload"}}));
  }
}
