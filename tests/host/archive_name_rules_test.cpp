#include "archive_name_rules.h"

#include <gtest/gtest.h>

using namespace PayloadTool;

TEST(ArchiveNameRules, ComponentProblem_AcceptsOrdinaryNames) {
  EXPECT_EQ(componentProblem("aircraft.cfg"), "");
  EXPECT_EQ(componentProblem("Read Me (v2).TXT"), "");
  EXPECT_EQ(componentProblem(".hidden"), "");
}

TEST(ArchiveNameRules, ComponentProblem_RefusesWhatIsNotAscii) {
  for (const char* name : {"caf\xE9.txt", "caf\xC3\xA9.txt", "\x83\x41.txt", "\x7F\x80"})
    EXPECT_NE(componentProblem(name).find("beyond ASCII"), std::string::npos) << name;
  EXPECT_EQ(componentProblem("~tilde\x7F"), "");
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
  for (const char* name : {"a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "tab\there", "dot.", "blank "})
    EXPECT_NE(componentProblem(name), "") << name;
}

TEST(ArchiveNameRules, ComponentProblem_RefusesReservedDeviceNamesWithAnyExtension) {
  for (const char* name : {"con", "PRN", "Aux", "nul", "nul.txt", "com1", "COM9.dll", "lpt1", "lpt9.x.y", "con .txt"})
    EXPECT_NE(componentProblem(name), "") << name;
  for (const char* name : {"console", "nul_", "com10", "com0", "lpt", "aux-1.txt", "my.con"})
    EXPECT_EQ(componentProblem(name), "") << name;
}

TEST(ArchiveNameRules, UnsafePathProblem_NamesTheComponentThatLeavesTheDirectory) {
  EXPECT_EQ(unsafePathProblem("\\ks\\docs\\readme.txt"), "");
  const struct {
    const char* path;
    const char* component;
  } unsafe[] = {{"\\ks\\..\\..\\windows\\win.ini", "\"..\""}, {"\\ks\\.\\a", "\".\""},
                {"\\ks\\\\a", "\"\""},                            {"\\ks\\c:\\a", "\"c:\""},
                {"\\ks\\a.txt:stream", "\"a.txt:stream\""},       {"\\fs\\modules\\nul", "\"nul\""},
                {"\\ks\\", "\"\""}};
  for (const auto& c : unsafe) {
    const std::string problem = unsafePathProblem(c.path);
    EXPECT_NE(problem.find(c.component), std::string::npos) << c.path << ": " << problem;
  }
}

TEST(ArchiveNameRules, ArchivePathFor_JoinsWithLeadingBackslashInLowerCase) {
  EXPECT_EQ(archivePathFor({"ks", "Docs", "ReadMe.TXT"}), "\\ks\\docs\\readme.txt");
  EXPECT_EQ(archivePathFor({"FS", "Caf[E]_9"}), "\\fs\\caf[e]_9");
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
