#include "text_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
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

struct DecimalCase {
  double value;
  int places;
  bool dropTrailingZeros;
  const char* text;
};

void PrintTo(const DecimalCase& c, std::ostream* out) {
  *out << c.value << " with " << c.places << " places" << (c.dropTrailingZeros ? ", dropping zeros" : "");
}

class FormatDecimal : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(FormatDecimal, GivesExpectedText) {
  const DecimalCase& c = GetParam();
  EXPECT_EQ(formatDecimal(c.value, c.places, c.dropTrailingZeros), c.text);
}

INSTANTIATE_TEST_SUITE_P(DocumentedExamples, FormatDecimal, ::testing::Values(
    DecimalCase{12.5, 2, true, "12.5"},
    DecimalCase{12, 2, true, "12.0"},
    DecimalCase{0.05, 2, false, "0.05"},
    DecimalCase{37.6, 0, false, "38"},
    DecimalCase{0.4, 0, false, "0"},
    DecimalCase{-2.26, 1, false, "-2.3"}));

// The progress page shows whole percentages.
INSTANTIATE_TEST_SUITE_P(Percentages, FormatDecimal, ::testing::Values(
    DecimalCase{0, 0, false, "0"},
    DecimalCase{0.5, 0, false, "1"},
    DecimalCase{49.5, 0, false, "50"},
    DecimalCase{99.4, 0, false, "99"},
    DecimalCase{99.5, 0, false, "100"},
    DecimalCase{100, 0, false, "100"},
    DecimalCase{100, 0, true, "100"}));

// Exact halves go away from zero; binary values just below a half go down.
INSTANTIATE_TEST_SUITE_P(Rounding, FormatDecimal, ::testing::Values(
    DecimalCase{2.5, 0, false, "3"},
    DecimalCase{-2.5, 0, false, "-3"},
    DecimalCase{0.125, 2, false, "0.13"},
    DecimalCase{-0.125, 2, false, "-0.13"},
    DecimalCase{1.005, 2, false, "1.00"},  // stored as 1.00499999999999989...
    DecimalCase{9.995, 2, false, "9.99"},  // stored as 9.99499999999999921...
    DecimalCase{99.96, 1, false, "100.0"},
    DecimalCase{999.5, 0, false, "1000"}));

// Trailing zeros are dropped only behind the first decimal; integer zeros stay.
INSTANTIATE_TEST_SUITE_P(DroppingZeros, FormatDecimal, ::testing::Values(
    DecimalCase{12, 2, false, "12.00"},
    DecimalCase{1.2, 3, true, "1.2"},
    DecimalCase{1.25, 1, true, "1.3"},
    DecimalCase{120, 0, true, "120"},
    DecimalCase{120, 2, true, "120.0"},
    DecimalCase{0.05, 4, true, "0.05"},
    DecimalCase{0.5, 3, true, "0.5"},
    DecimalCase{3.1415, 6, true, "3.1415"}));

// A value that rounds to zero has no digits: zeros fill up to the point and
// the places after it, and a negative value keeps its sign.
INSTANTIATE_TEST_SUITE_P(RoundsToZero, FormatDecimal, ::testing::Values(
    DecimalCase{0, 2, false, "0.00"},
    DecimalCase{0.001, 2, false, "0.00"},
    DecimalCase{0.001, 2, true, "0.00"},
    DecimalCase{-0.4, 0, false, "-0"},
    DecimalCase{-0.0, 0, false, "0"}));

INSTANTIATE_TEST_SUITE_P(Limits, FormatDecimal, ::testing::Values(
    DecimalCase{2147483647.0, 0, false, "2147483647"},
    DecimalCase{1e21, 0, false, "1000000000000000000000"},
    DecimalCase{0.1, 20, false, "0.10000000000000000555"},
    DecimalCase{5e-324, 3, false, "0.000"},
    DecimalCase{12.5, -3, false, "13"}));
