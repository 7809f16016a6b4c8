#include "uninstall_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(UninstallReport, FillInReplacesNumberedPlaceholdersOnce) {
  EXPECT_EQ(fillIn("Uninstalling %1", {"Kestrel 3"}), "Uninstalling Kestrel 3");
  EXPECT_EQ(fillIn("%2 before %1", {"one", "two"}), "two before one");
  EXPECT_EQ(fillIn("%1", {"100%2"}), "100%2");  // inserted text is not searched again
  EXPECT_EQ(fillIn("50% and %3 and %0 and %", {"one"}), "50% and %3 and %0 and %");
  EXPECT_EQ(fillIn("", {"one"}), "");
}

const ReportTexts kTexts = {"%1 removed.", "Not removed:\n%1\nKept %2.", "%1 (error %2)",
                            "Skipped for %2:\n%1", "Kept for %2:\n%1", "...and %1 more", "Links:\n%1",
                            "At restart:\n%1"};

TEST(UninstallReport, ACompleteRunSaysItIsDone) {
  EXPECT_EQ(reportText(kTexts, UninstallSummary(), "Kestrel 3"), "Kestrel 3 removed.");
}

TEST(UninstallReport, EachListHasItsSectionInOrder) {
  UninstallSummary summary;
  summary.failed = {{"C:\\K\\kestrel.exe", 32}, {"C:\\K\\", 145}};
  summary.refused = {"DeleteFile \\\\server\\x"};
  summary.kept = {"C:\\K\\docs"};
  summary.links = {"C:\\FS9\\modules"};
  summary.atRestart = {"C:\\K\\ksuninstall.exe", "C:\\K\\readme.txt"};
  EXPECT_EQ(reportText(kTexts, summary, "Kestrel 3"),
            "Not removed:\nC:\\K\\kestrel.exe (error 32)\nC:\\K\\ (error 145)\nKept Kestrel 3.\n\n"
            "Skipped for Kestrel 3:\nDeleteFile \\\\server\\x\n\n"
            "Kept for Kestrel 3:\nC:\\K\\docs\n\n"
            "Links:\nC:\\FS9\\modules\n\n"
            "At restart:\nC:\\K\\ksuninstall.exe\nC:\\K\\readme.txt");
}

TEST(UninstallReport, RefusalsAloneFollowTheDoneLine) {
  UninstallSummary summary;
  summary.refused = {"DeleteRegTree HKEY_CURRENT_USER\\Software\\X"};
  EXPECT_EQ(reportText(kTexts, summary, "Kestrel 3"),
            "Kestrel 3 removed.\n\nSkipped for Kestrel 3:\nDeleteRegTree HKEY_CURRENT_USER\\Software\\X");
}

TEST(UninstallReport, LongListsAreCutWithACount) {
  UninstallSummary summary;
  std::string expected = "Kestrel 3 removed.\n\nKept for Kestrel 3:";
  for (size_t n = 0; n < kReportListLimit + 3; ++n) {
    summary.kept.push_back("dir" + std::to_string(n));
    if (n < kReportListLimit) expected += "\ndir" + std::to_string(n);
  }
  expected += "\n...and 3 more";
  EXPECT_EQ(reportText(kTexts, summary, "Kestrel 3"), expected);

  summary.kept.resize(kReportListLimit);
  EXPECT_EQ(reportText(kTexts, summary, "Kestrel 3").find("more"), std::string::npos);
}

}  // namespace
