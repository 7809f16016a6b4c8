#include "failure_text.h"

#include <gtest/gtest.h>

namespace {

TEST(FailureText, AHeldFileNamesTheProgramsHoldingIt) {
  EXPECT_EQ(heldFileText("C:\\FS9\\Modules\\ks.dll", {"Flight Simulator", "Explorer"}, "%1 (used by %2)"),
            "C:\\FS9\\Modules\\ks.dll (used by Flight Simulator, Explorer)");
}

TEST(FailureText, AHeldFileWhoseHoldersWindowsCannotNameStandsAlone) {
  EXPECT_EQ(heldFileText("C:\\FS9\\Modules\\ks.dll", {}, "%1 (used by %2)"), "C:\\FS9\\Modules\\ks.dll");
}

TEST(FailureText, CommaSeparatedPutsACommaOnlyBetweenItems) {
  EXPECT_EQ(commaSeparated({}), "");
  EXPECT_EQ(commaSeparated({"E:\\"}), "E:\\");
  EXPECT_EQ(commaSeparated({"E:\\", "F:\\"}), "E:\\, F:\\");
}

}  // namespace
