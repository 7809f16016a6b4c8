#include "command_line.h"

#include <gtest/gtest.h>

using namespace PayloadTool;

namespace {

bool parse(std::vector<std::string> args, CommandLine& commandLine) {
  std::string error;
  bool parsed = parseCommandLine(args, commandLine, error);
  EXPECT_EQ(parsed, error.empty()) << error;
  return parsed;
}

}  // namespace

TEST(CommandLine, Build_DefaultChunkSize) {
  CommandLine commandLine;
  ASSERT_TRUE(parse({"build", "tree", "out"}, commandLine));
  EXPECT_EQ(commandLine.command, CommandLine::Command::Build);
  EXPECT_EQ(commandLine.chunkSize, 65536u);
  EXPECT_EQ(commandLine.treeDir, "tree");
  EXPECT_EQ(commandLine.payloadDir, "out");
}

TEST(CommandLine, Build_ChunkSizeOptionAnywhere) {
  CommandLine first, last;
  ASSERT_TRUE(parse({"build", "--chunk-size", "4096", "tree", "out"}, first));
  ASSERT_TRUE(parse({"build", "tree", "out", "--chunk-size", "4294967295"}, last));
  EXPECT_EQ(first.chunkSize, 4096u);
  EXPECT_EQ(first.treeDir, "tree");
  EXPECT_EQ(last.chunkSize, 4294967295u);
  EXPECT_EQ(last.payloadDir, "out");
}

TEST(CommandLine, Build_RefusesBadChunkSizes) {
  CommandLine commandLine;
  for (const char* size : {"0", "4294967296", "12k", "-1", ""})
    EXPECT_FALSE(parse({"build", "--chunk-size", size, "tree", "out"}, commandLine)) << size;
  EXPECT_FALSE(parse({"build", "tree", "out", "--chunk-size"}, commandLine));
}

TEST(CommandLine, ReadingCommands) {
  CommandLine list, summary, verify, verifyAlone, import, extract;
  ASSERT_TRUE(parse({"list", "payload"}, list));
  ASSERT_TRUE(parse({"summary", "payload"}, summary));
  ASSERT_TRUE(parse({"verify", "payload", "tree"}, verify));
  ASSERT_TRUE(parse({"verify", "payload"}, verifyAlone));
  ASSERT_TRUE(parse({"import", "payload", "out"}, import));
  ASSERT_TRUE(parse({"extract", "payload", "/ks/ksuninstall.exe", "out.exe"}, extract));
  EXPECT_EQ(list.command, CommandLine::Command::List);
  EXPECT_EQ(summary.command, CommandLine::Command::Summary);
  EXPECT_EQ(verify.command, CommandLine::Command::Verify);
  EXPECT_EQ(verify.payloadDir, "payload");
  EXPECT_EQ(verify.treeDir, "tree");
  EXPECT_EQ(verifyAlone.treeDir, "");
  EXPECT_EQ(import.command, CommandLine::Command::Import);
  EXPECT_EQ(import.payloadDir, "payload");
  EXPECT_EQ(import.outDir, "out");
  EXPECT_EQ(extract.command, CommandLine::Command::Extract);
  EXPECT_EQ(extract.payloadDir, "payload");
  EXPECT_EQ(extract.archivePath, "/ks/ksuninstall.exe");
  EXPECT_EQ(extract.outFile, "out.exe");
}

TEST(CommandLine, RefusesWrongArgumentCounts) {
  CommandLine commandLine;
  EXPECT_FALSE(parse({}, commandLine));
  EXPECT_FALSE(parse({"build", "tree"}, commandLine));
  EXPECT_FALSE(parse({"build", "tree", "out", "extra"}, commandLine));
  EXPECT_FALSE(parse({"list"}, commandLine));
  EXPECT_FALSE(parse({"verify"}, commandLine));
  EXPECT_FALSE(parse({"import", "payload"}, commandLine));
  EXPECT_FALSE(parse({"extract", "payload", "/ks/a.txt"}, commandLine));
  EXPECT_FALSE(parse({"pack", "a", "b"}, commandLine));
}
