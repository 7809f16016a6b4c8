#include "archive_name_rules.h"

#include <gtest/gtest.h>

using namespace PayloadTool;

TEST(ArchiveNameRules, ComponentProblem_AcceptsOrdinaryNames) {
  EXPECT_EQ(componentProblem("aircraft.cfg"), "");
  EXPECT_EQ(componentProblem("Read Me (v2).TXT"), "");
  EXPECT_EQ(componentProblem(".hidden"), "");
  EXPECT_EQ(componentProblem("caf\xE9.txt"), "");  // single-byte text beyond ASCII stays
}

TEST(ArchiveNameRules, ComponentProblem_RefusesDotNames) {
  EXPECT_NE(componentProblem("."), "");
  EXPECT_NE(componentProblem(".."), "");
}

TEST(ArchiveNameRules, ComponentProblem_RefusesSeparatorsAndNul) {
  EXPECT_NE(componentProblem(""), "");
  EXPECT_NE(componentProblem("a\\b"), "");
  EXPECT_NE(componentProblem("a/b"), "");
  EXPECT_NE(componentProblem(std::string("a\0b", 3)), "");
}

TEST(ArchiveNameRules, ComponentProblem_RefusesWhatWindowsCannotCreate) {
  for (const char* name : {"a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "tab\there"})
    EXPECT_NE(componentProblem(name), "") << name;
}

TEST(ArchiveNameRules, ArchivePathFor_JoinsWithLeadingBackslashInLowerCase) {
  EXPECT_EQ(archivePathFor({"ks", "Docs", "ReadMe.TXT"}), "\\ks\\docs\\readme.txt");
  EXPECT_EQ(archivePathFor({"FS", "caf\xC9"}), "\\fs\\caf\xC9");  // only A-Z are lowered
}

TEST(ArchiveNameRules, StoredPathProblem_AcceptsStoredForm) {
  EXPECT_EQ(storedPathProblem("\\fs\\aircraft\\kestrel\\aircraft.cfg"), "");
}

TEST(ArchiveNameRules, StoredPathProblem_RefusesWhatLookupsCannotFind) {
  EXPECT_NE(storedPathProblem(""), "");
  EXPECT_NE(storedPathProblem("ks\\readme.txt"), "");
  EXPECT_NE(storedPathProblem("\\ks\\ReadMe.txt"), "");
  EXPECT_NE(storedPathProblem("/ks/readme.txt"), "");
  EXPECT_NE(storedPathProblem("\\ks\\docs\\"), "");
  EXPECT_NE(storedPathProblem("\\ks\\\\readme.txt"), "");
  EXPECT_NE(storedPathProblem(std::string("\\ks\\a\0b", 7)), "");
}

TEST(ArchiveNameRules, ShownName_EscapesControlBytesOnly) {
  EXPECT_EQ(shownName(std::string("\\ks\\a\0b\x1F", 8)), "\\ks\\a\\x00b\\x1F");
  EXPECT_EQ(shownName("\\ks\\caf\xE9"), "\\ks\\caf\xE9");
}
