#include "text_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "host_code_page.h"

TEST(EnsureTrailingBackslash, AddsExactlyOne) {
  std::string path = "C:\\Program Files\\Kestrel3";
  ensureTrailingBackslash(path);
  EXPECT_EQ(path, "C:\\Program Files\\Kestrel3\\");
}

TEST(EnsureTrailingBackslash, LeavesTerminatedPathAlone) {
  std::string root = "E:\\";
  ensureTrailingBackslash(root);
  EXPECT_EQ(root, "E:\\");

  std::string twice = "D:\\Games\\Kestrel";
  ensureTrailingBackslash(twice);
  ensureTrailingBackslash(twice);
  EXPECT_EQ(twice, "D:\\Games\\Kestrel\\");
}

TEST(EnsureTrailingBackslash, OnlyBackslashCountsAsTerminator) {
  std::string path = "D:/Games/Kestrel/";
  ensureTrailingBackslash(path);
  EXPECT_EQ(path, "D:/Games/Kestrel/\\");
}

TEST(EnsureTrailingBackslash, EmptyStringStaysEmpty) {
  std::string empty;
  ensureTrailingBackslash(empty);
  EXPECT_EQ(empty, "");
}

TEST(IntToString, GivesShortestDecimalText) {
  EXPECT_EQ(intToString(0), "0");
  EXPECT_EQ(intToString(7), "7");
  EXPECT_EQ(intToString(100), "100");
  EXPECT_EQ(intToString(-1), "-1");
  EXPECT_EQ(intToString(-250), "-250");
}

TEST(IntToString, WritesThe32BitLimitsInFull) {
  EXPECT_EQ(intToString(INT_MAX), "2147483647");
  EXPECT_EQ(intToString(INT_MIN), "-2147483648");
}

// Paths as Japanese, Chinese and Korean Windows write them in their ANSI code
// page: two-byte characters whose second byte is '\', '|' or a capital letter.
namespace {

struct CodePageCase {
  const char* codePage;
  const std::vector<LeadByteRange>& leadBytes;
  std::string folderEndingInTrailBackslash;  // its last character's second byte is '\'
  std::string nameWithCapitalTrail;          // a character whose second byte is a letter A to Z
};

const CodePageCase kCodePages[] = {
    // ソフト\表 ; ア (83 41)
    {"932", kJapaneseLeadBytes, "C:\\\x83\x5c\x83\x74\x83\x67\\\x95\x5c", "\x83\x41"},
    // 游戏\誠 (D5 5C) ; 丄 (81 41)
    {"936", kChineseKoreanLeadBytes, "C:\\\xd3\xce\xcf\xb7\\\xd5\x5c", "\x81\x41"},
    // no character of 949 ends in '\' ; 갂 (81 41)
    {"949", kChineseKoreanLeadBytes, "", "\x81\x41"},
    // 軟體\許 (B3 5C) ; 乙 (A4 41)
    {"950", kChineseKoreanLeadBytes, "C:\\\xb3\x6e\xc5\xe9\\\xb3\x5c", "\xa4\x41"},
};

}  // namespace

TEST(CodePageHelpers, ATrailByteIsNoBackslash) {
  for (const CodePageCase& c : kCodePages) {
    if (c.folderEndingInTrailBackslash.empty()) continue;
    HostCodePage codePage(c.leadBytes);
    const std::string& folder = c.folderEndingInTrailBackslash;
    EXPECT_FALSE(endsWithBackslash(folder)) << c.codePage;
    std::string withBackslash = folder;
    ensureTrailingBackslash(withBackslash);
    EXPECT_EQ(withBackslash, folder + "\\") << c.codePage;
    EXPECT_TRUE(endsWithBackslash(withBackslash)) << c.codePage;
    removeTrailingBackslash(withBackslash);
    EXPECT_EQ(withBackslash, folder) << c.codePage;
    removeTrailingBackslash(withBackslash);
    EXPECT_EQ(withBackslash, folder) << c.codePage << ": the trail byte stays";

    const std::string file = folder + "\\readme.txt";
    EXPECT_EQ(parentDirectory(file), folder) << c.codePage;
    EXPECT_EQ(parentDirectory(folder), "C:\\" + folder.substr(3, folder.size() - 6)) << c.codePage;
    EXPECT_EQ(lastBackslash(file), folder.size()) << c.codePage;
    EXPECT_EQ(findBackslash(folder, 3), folder.size() - 3) << c.codePage;
    EXPECT_EQ(backslashCount(file), 3u) << c.codePage;
  }
}

TEST(CodePageHelpers, TheSameBytesInASingleByteCodePageHoldBackslashes) {
  const std::string folder = kCodePages[0].folderEndingInTrailBackslash;
  EXPECT_TRUE(endsWithBackslash(folder));
  EXPECT_EQ(backslashCount(folder), 4u);
  EXPECT_EQ(parentDirectory(folder), folder.substr(0, folder.size() - 1));
}

TEST(CodePageHelpers, TrailBytesKeepTheirCase) {
  for (const CodePageCase& c : kCodePages) {
    HostCodePage codePage(c.leadBytes);
    const std::string name = "Kestrel" + c.nameWithCapitalTrail + "README.TXT";
    EXPECT_EQ(asciiLowerCase(name), "kestrel" + c.nameWithCapitalTrail + "readme.txt") << c.codePage;
    std::string otherCharacter = c.nameWithCapitalTrail;
    otherCharacter[1] = static_cast<char>(otherCharacter[1] - 'A' + 'a');
    EXPECT_FALSE(equalsIgnoringCase(c.nameWithCapitalTrail, otherCharacter)) << c.codePage;
    EXPECT_TRUE(equalsIgnoringCase(name, "KESTREL" + c.nameWithCapitalTrail + "readme.txt")) << c.codePage;
  }
}

TEST(CodePageHelpers, ALeadByteAtTheEndStandsAlone) {
  HostCodePage codePage(kJapaneseLeadBytes);
  const std::string cut = "C:\\K\\\x83";
  EXPECT_EQ(nextCharacter(cut, cut.size() - 1), cut.size());
  EXPECT_EQ(lastBackslash(cut), 4u);
  EXPECT_EQ(asciiLowerCase("A\x83"), "a\x83");
}
