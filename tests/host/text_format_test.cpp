#include "text_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

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
