#include "uninstall_event_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "archive_name_rules.h"
#include "host_code_page.h"

namespace {

TEST(UninstallEventRules, CommandWordsAreKnownExactlyAsWritten) {
  EXPECT_EQ(eventKind("DeleteFile"), EventKind::DeleteFile);
  EXPECT_EQ(eventKind("DeleteEmptyDirs"), EventKind::DeleteEmptyDirs);
  EXPECT_EQ(eventKind("DeleteRegTree"), EventKind::DeleteRegTree);
  for (const char* other : {"deletefile", "DeleteFile ", "DeleteDir", "RunProgram", ""})
    EXPECT_EQ(eventKind(other), EventKind::Unknown) << other;
}

TEST(UninstallEventRules, PathsOnALocalDriveAreAllowed) {
  for (const char* path : {"C:\\Program Files\\Kestrel 3\\ksuninstall.exe", "C:\\Program Files\\Kestrel 3\\",
                           "d:\\FS9\\aircraft\\kestrel", "Z:\\a", "C:\\x\\.hidden", "C:\\x\\file.name.txt",
                           "C:\\x\\conx.txt", "C:\\x\\com0", "C:\\x\\lpt10.dll", "C:\\x\\nul_log.txt"})
    EXPECT_TRUE(isLocalAbsolutePath(path)) << path;
}

TEST(UninstallEventRules, PathsThatNoInstallationWritesAreRefused) {
  for (const char* path : {
           "",                              // nothing
           "Kestrel\\readme.txt",           // relative
           "C:Kestrel\\readme.txt",         // relative to the drive's current directory
           "\\Kestrel\\readme.txt",         // relative to the current drive
           "C:\\",                          // a drive root
           "C:\\\\",                        // a drive root with an empty level
           "C:\\..",                        // above a drive root
           "C:\\Kestrel\\..\\Windows",      // a parent level
           "C:\\Kestrel\\.\\readme.txt",    // a current level
           "C:\\Kestrel\\...\\readme.txt",  // dots only, which Windows cuts down
           "C:\\Kestrel\\.. \\readme.txt",  // becomes ".." once Windows drops the blank
           "C:\\Kestrel\\\\readme.txt",     // an empty level
           "C:\\Kestrel\\\\",               // two trailing separators
           "\\\\server\\share\\Kestrel",    // UNC
           "\\\\?\\C:\\Kestrel",            // long-path prefix
           "\\\\.\\C:\\Kestrel",            // device namespace
           "C:/Kestrel/readme.txt",         // '/' separators
           "C:\\Kestrel/..\\Windows",       // a '/' hiding a parent level
           "1:\\Kestrel",                   // no drive letter
           "C:\\Kestrel\\readme.txt:stream",  // an alternate data stream
           "C:\\Kestrel\\*",                // a wildcard
           "C:\\Kestrel\\a?b",
           "C:\\Kestrel\\a|b",
           "C:\\Kestrel\\a<b>",
           "C:\\Kestrel\\\"a\"",
           "C:\\Kestrel\\a\tb",             // a control character
           // Names that Windows would not keep as written, as the payload
           // builder refuses them too (windows_file_name.h):
           "C:\\Kestrel 3 \\readme.txt",     // a trailing blank, which Windows drops
           "C:\\Kestrel.\\readme.txt",       // a trailing dot, the same
           "C:\\Kestrel\\readme.",           // a file's trailing dot
           "C:\\Kestrel\\con",               // a device name
           "C:\\Kestrel\\NUL.txt",           // a device name with an extension
           "C:\\com1\\readme.txt",           // a device name as a folder
           "C:\\Kestrel\\lpt9 .log",         // a device name with a blank before the extension
       })
    EXPECT_FALSE(isLocalAbsolutePath(path)) << path;
}

TEST(UninstallEventRules, KeysBelowMachineSoftwareGiveTheirSubkey) {
  EXPECT_EQ(machineSoftwareSubkey("HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3"),
            "Software\\Ninefold\\Kestrel\\3");
  EXPECT_EQ(machineSoftwareSubkey("hkey_local_machine\\SOFTWARE\\Ninefold"), "SOFTWARE\\Ninefold");
}

TEST(UninstallEventRules, KeysElsewhereAreRefused) {
  for (const char* key : {
           "",
           "HKEY_LOCAL_MACHINE",                              // a root
           "HKEY_LOCAL_MACHINE\\",                            // a root with an empty level
           "HKEY_LOCAL_MACHINE\\Software",                    // Software itself
           "HKEY_LOCAL_MACHINE\\Software\\",                  // the same, with an empty level
           "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet",   // outside Software
           "HKEY_LOCAL_MACHINE\\SoftwareX\\Ninefold",
           "HKEY_CURRENT_USER\\Software\\Ninefold\\Kestrel\\3",  // another root
           "HKEY_CLASSES_ROOT\\.exe",
           "HKLM\\Software\\Ninefold",                        // not the name the setup program writes
           "Software\\Ninefold\\Kestrel\\3",                  // no root
           "\\HKEY_LOCAL_MACHINE\\Software\\Ninefold",
           "HKEY_LOCAL_MACHINE\\Software\\Ninefold\\\\Kestrel",  // an empty level
           "HKEY_LOCAL_MACHINE\\Software\\Ninefold\\",
           "HKEY_LOCAL_MACHINE\\Software\\..\\System",
           "HKEY_LOCAL_MACHINE\\Software\\.",
       })
    EXPECT_EQ(machineSoftwareSubkey(key), "") << key;
}

TEST(UninstallEventRules, EachCommandTakesItsKindOfParameter) {
  struct Case {
    const char* command;
    const char* parameter;
    bool allowed;
  };
  const Case cases[] = {
      {"DeleteFile", "C:\\Kestrel\\readme.txt", true},
      {"DeleteFile", "C:\\Kestrel\\", false},  // a directory
      {"DeleteFile", "HKEY_LOCAL_MACHINE\\Software\\Ninefold", false},
      {"DeleteEmptyDirs", "C:\\Kestrel\\", true},
      {"DeleteEmptyDirs", "C:\\FS9\\aircraft\\marlin", true},
      {"DeleteEmptyDirs", "C:\\", false},
      {"DeleteEmptyDirs", "\\\\server\\share\\", false},
      {"DeleteRegTree", "HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3", true},
      {"DeleteRegTree", "C:\\Kestrel", false},
      {"DeleteRegTree", "HKEY_LOCAL_MACHINE\\Software", false},
      {"FormatDrive", "C:\\Kestrel", false},
      {"DeleteFile", "C:\\Kestrel\\aux.dll", false},   // a device name
      {"DeleteFile", "C:\\Kestrel\\readme.txt.", false},  // a trailing dot
      {"DeleteEmptyDirs", "C:\\Kestrel.\\", false},
      {"DeleteEmptyDirs", "C:\\Kestrel \\", false},    // a trailing blank
  };
  for (const Case& c : cases)
    EXPECT_EQ(isAllowedEvent(c.command, c.parameter), c.allowed) << c.command << " " << c.parameter;
}

// An installation records the names its payload holds, below the folder the
// user chose: every name the payload builder lets into an archive is one the
// uninstaller removes again.
TEST(UninstallEventRules, EveryNameThePayloadMayHoldIsRemoved) {
  for (const char* name : {"readme.txt", ".hidden", "a b.dll", "file.name.txt", "conx", "com0.ini", "lpt10",
                           "nul_log.txt", "x~y", "#1", "a,b;c=d", "{guid}", "[1]"}) {
    ASSERT_EQ(PayloadTool::componentProblem(name), "") << name;
    EXPECT_TRUE(isAllowedEvent("DeleteFile", std::string("C:\\Kestrel 3\\") + name)) << name;
    EXPECT_TRUE(isAllowedEvent("DeleteEmptyDirs", std::string("C:\\Kestrel 3\\") + name + "\\")) << name;
  }
}

// Japanese Windows writes ソフト\表示ポ with the second bytes '\' (ソ, 表) and
// '|' (ポ): parts of names, not separators or forbidden characters.
TEST(UninstallEventRules, TwoByteCharactersAreNames) {
  const std::string folder = "C:\\\x83\x5c\x83\x74\x83\x67\\\x95\x5c\x8e\xa6\x83\x7c";
  const std::string fileEndingLikeAFolder = "C:\\Kestrel\\\x95\x5c";
  {
    HostCodePage japanese(kJapaneseLeadBytes);
    EXPECT_TRUE(isLocalAbsolutePath(folder));
    EXPECT_TRUE(isAllowedEvent("DeleteEmptyDirs", folder + "\\"));
    EXPECT_TRUE(isAllowedEvent("DeleteFile", folder + "\\readme.txt"));
    EXPECT_TRUE(isAllowedEvent("DeleteFile", fileEndingLikeAFolder));
  }
  // Read in a single-byte code page, the same bytes hold a '|' and a trailing '\'.
  EXPECT_FALSE(isLocalAbsolutePath(folder));
  EXPECT_FALSE(isAllowedEvent("DeleteFile", fileEndingLikeAFolder));
}

}  // namespace
