#include "tree_file.h"

#include <gtest/gtest.h>

#include "payload_layout.h"

using namespace PayloadTool;

namespace {

TreeFile treeFile(std::vector<std::string> components, uint64_t size = 10) {
  TreeFile file;
  file.components = std::move(components);
  file.size = size;
  return file;
}

}  // namespace

TEST(TreeFileProblems, None_ForFilesBelowInstallationRoots) {
  EXPECT_TRUE(findTreeFileProblems({treeFile({"ks", "readme.txt"}),
                                    treeFile({"fs", "aircraft", "kestrel", "aircraft.cfg"}),
                                    treeFile({"ks", "empty.txt"}, 0)})
                  .empty());
}

TEST(TreeFileProblems, Collision_AfterLowerCasing) {
  auto problems = findTreeFileProblems(
      {treeFile({"ks", "Docs", "ReadMe.txt"}), treeFile({"ks", "docs", "README.TXT"})});
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("ks/docs/README.TXT"), std::string::npos) << problems[0];
  EXPECT_NE(problems[0].find("ks/Docs/ReadMe.txt"), std::string::npos) << problems[0];
}

TEST(TreeFileProblems, BadNames_EachReported) {
  auto problems = findTreeFileProblems({treeFile({"ks", "..", "x"}), treeFile({"ks", "a\\b"}),
                                        treeFile({"ks", std::string("n\0l", 3)})});
  EXPECT_EQ(problems.size(), 3u);
}

TEST(TreeFileProblems, FileAtTopOfTree_BelongsToNoRoot) {
  EXPECT_EQ(findTreeFileProblems({treeFile({"readme.txt"})}).size(), 1u);
}

TEST(TreeFileProblems, Size_LargestThatFitsARecordIsAccepted) {
  EXPECT_TRUE(findTreeFileProblems({treeFile({"ks", "huge.bin"}, kMaxEntryBytes)}).empty());
  EXPECT_EQ(findTreeFileProblems({treeFile({"ks", "huge.bin"}, kMaxEntryBytes + 1)}).size(), 1u);
}
