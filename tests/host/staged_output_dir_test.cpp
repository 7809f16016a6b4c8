#include "staged_output_dir.h"

#include <gtest/gtest.h>

#include "scratch_dir.h"
#include "test_data.h"

using namespace PayloadTool;
namespace fs = std::filesystem;

TEST(StagedOutputDir, TargetProblem_NewOrPayloadOnlyDirectoryIsFine) {
  ScratchDir scratch;
  EXPECT_EQ(StagedOutputDir::targetProblem(scratch / "new"), "");
  scratch.writeFile("old/catalog.bin", "");
  scratch.writeFile("old/chunk00001.bin", "");
  scratch.writeFile("old/payload.rc", "");
  EXPECT_EQ(StagedOutputDir::targetProblem(scratch / "old"), "");
  EXPECT_EQ(StagedOutputDir::targetProblem(scratch / "old/"), "");
}

TEST(StagedOutputDir, TargetProblem_RefusesWhatItWouldDestroy) {
  ScratchDir scratch;
  scratch.writeFile("mixed/catalog.bin", "");
  scratch.writeFile("mixed/chunk1.bin", "");  // not a chunk file name
  scratch.writeFile("plain.txt", "");
  fs::create_directories(scratch / "nested/chunk00001.bin");
  EXPECT_NE(StagedOutputDir::targetProblem(scratch / "mixed"), "");
  EXPECT_NE(StagedOutputDir::targetProblem(scratch / "plain.txt"), "");
  EXPECT_NE(StagedOutputDir::targetProblem(scratch / "nested"), "");
  EXPECT_NE(StagedOutputDir::targetProblem(scratch / "no/such/parent"), "");
  EXPECT_NE(StagedOutputDir::targetProblem(scratch / "."), "");
}

TEST(StagedOutputDir, Commit_ReplacesTheTargetWhole) {
  ScratchDir scratch;
  scratch.writeFile("out/chunk00002.bin", "stale");
  {
    StagedOutputDir staged(scratch / "out");
    std::string error;
    ASSERT_TRUE(staged.create(error)) << error;
    ASSERT_TRUE(writeFileBytes(staged.path() + "/catalog.bin", "new"));
    ASSERT_TRUE(staged.commit(error)) << error;
  }
  EXPECT_EQ(directoryContents(scratch / "out"),
            (std::map<std::string, std::string>{{"catalog.bin", "new"}}));
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
}

TEST(StagedOutputDir, WithoutCommit_LeavesNothingBehind) {
  ScratchDir scratch;
  {
    StagedOutputDir staged(scratch / "out");
    std::string error;
    ASSERT_TRUE(staged.create(error)) << error;
    ASSERT_TRUE(writeFileBytes(staged.path() + "/catalog.bin", "new"));
  }
  EXPECT_TRUE(fs::is_empty(scratch.path()));
}
