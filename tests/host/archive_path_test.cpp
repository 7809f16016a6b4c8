#include "archive_path.h"
#include "temporary_file_name.h"

#include <gtest/gtest.h>

using Escort::normalizeArchivePath;
using Escort::pathInTree;

TEST(NormalizeArchivePath, TurnsCallerFormIntoStoredForm) {
  EXPECT_EQ(normalizeArchivePath("/fs/aircraft/"), "\\fs\\aircraft");
  EXPECT_EQ(normalizeArchivePath("/FS/MODULES/FSUIPC.DLL/"), "\\fs\\modules\\fsuipc.dll");
  EXPECT_EQ(normalizeArchivePath("\\ks\\readme.txt"), "\\ks\\readme.txt");
  EXPECT_EQ(normalizeArchivePath("/ks"), "\\ks");
}

TEST(NormalizeArchivePath, RemovesOnlyOneTrailingSeparator) {
  EXPECT_EQ(normalizeArchivePath("/fs//"), "\\fs\\");
  EXPECT_EQ(normalizeArchivePath("/"), "");
  EXPECT_EQ(normalizeArchivePath(""), "");
}

TEST(NormalizeArchivePath, LowersOnlyAsciiCapitals) {
  // Bytes of 128 and above belong to the ANSI code page and stay as they are.
  EXPECT_EQ(normalizeArchivePath("/A\xC9Z@[`{"), "\\a\xC9z@[`{");
}

TEST(PathInTree, DropsPrefixAndOneSeparator) {
  EXPECT_EQ(pathInTree("\\fs\\aircraft\\kestrel\\aircraft.cfg", "\\fs\\aircraft\\kestrel"),
            "aircraft.cfg");
  EXPECT_EQ(pathInTree("\\fs\\aircraft\\kestrel\\aircraft.cfg", normalizeArchivePath("/fs/aircraft/kestrel/")),
            "aircraft.cfg");
}

// What an interrupted installation may leave in a folder, and nothing else:
// a user's file that merely starts alike stays.
TEST(TemporaryFileName, IsExactlyWhatGetTempFileNameMakesWithThePrefix) {
  for (unsigned number : {1u, 0xA2B3u, 0xFFFFu})
    EXPECT_TRUE(Escort::isTemporaryFileName(Escort::temporaryFileName(number))) << number;
  EXPECT_EQ(Escort::temporaryFileName(0x1A2B3u), "~ksA2B3.tmp");
  for (const char* name : {"~ks1.tmp", "~ksA2B3.TMP", "~KSffff.tmp", "~ks0.Tmp"})
    EXPECT_TRUE(Escort::isTemporaryFileName(name)) << name;
  for (const char* name : {"~ks.tmp", "~ks12345.tmp", "~ksG1.tmp", "~ks12.txt", "ks12.tmp", "~ks12.tmp.bak",
                           "~ks1 .tmp", "notes ~ks12.tmp"})
    EXPECT_FALSE(Escort::isTemporaryFileName(name)) << name;
}

// An earlier file kept aside never looks like a file being written, so no
// clearing of those ever takes it; both fit the same folders.
TEST(KeptCopyName, IsItsOwnNameNeverATemporaryOne) {
  for (unsigned number : {0u, 0x1Fu, 0xFFFFu, 0x10001u}) {
    const std::string name = Escort::keptCopyName(number);
    EXPECT_TRUE(Escort::isKeptCopyName(name)) << name;
    EXPECT_FALSE(Escort::isTemporaryFileName(name)) << name;
    EXPECT_LE(name.size(), std::string("~ksFFFF.tmp").size() + 1) << name;
  }
  EXPECT_EQ(Escort::keptCopyName(0x10001u), "~kp1.kept");
  for (const char* name : {"~ks1.tmp", "~kp.kept", "~kp12345.kept", "~kp1.kept.txt", "kp1.kept"})
    EXPECT_FALSE(Escort::isKeptCopyName(name)) << name;
}
