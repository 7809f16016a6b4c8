#include "uninstall_command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kModule[] = "C:\\Program Files\\Kestrel 3\\ksuninstall.exe";

TEST(UninstallCommandLine, TheNameIsEverythingAfterTheProgramPath) {
  struct Case {
    const char* commandLine;
    const char* name;
  };
  const Case cases[] = {
      // As the uninstall registration and the shortcut start it.
      {"\"C:\\Program Files\\Kestrel 3\\ksuninstall.exe\" Kestrel 3", "Kestrel 3"},
      // "UninstallString" written without quotes around a path with blanks.
      {"C:\\Program Files\\Kestrel 3\\ksuninstall.exe Kestrel 3", "Kestrel 3"},
      {"c:\\program files\\KESTREL 3\\KSUNINSTALL.EXE Kestrel 3", "Kestrel 3"},
      // Windows adds ".exe" to an unquoted program name that lacks it.
      {"C:\\Program Files\\Kestrel 3\\ksuninstall Kestrel 3", "Kestrel 3"},
      // Started under another name, for example a short one.
      {"C:\\PROGRA~1\\KESTRE~1\\KSUNIN~1.EXE Kestrel 3", "Kestrel 3"},
      {"ksuninstall.exe Kestrel 3", "Kestrel 3"},
      // Blanks around the name, and none before it after a quote.
      {"  \"C:\\Program Files\\Kestrel 3\\ksuninstall.exe\"   Kestrel 3 \t", "Kestrel 3"},
      {"\"C:\\Program Files\\Kestrel 3\\ksuninstall.exe\"Kestrel 3", "Kestrel 3"},
      {"\"C:\\Program Files\\Kestrel 3\\ksuninstall.exe\" Kestrel  3", "Kestrel  3"},
      // No name.
      {"\"C:\\Program Files\\Kestrel 3\\ksuninstall.exe\"", ""},
      {"\"C:\\Program Files\\Kestrel 3\\ksuninstall.exe\"   ", ""},
      {"C:\\Program Files\\Kestrel 3\\ksuninstall.exe", ""},
      {"\"C:\\Program Files\\Kestrel 3\\ksuninstall.exe", ""},  // an unclosed quote
      {"", ""},
  };
  for (const Case& c : cases) {
    const UninstallCommandLine parsed = parseUninstallCommandLine(c.commandLine, kModule);
    EXPECT_EQ(parsed.productName, c.name) << c.commandLine;
    EXPECT_FALSE(parsed.isCopy) << c.commandLine;
  }
}

TEST(UninstallCommandLine, TheUninstallerPathOfAnUninstallString) {
  struct Case {
    const char* uninstallString;
    const char* path;
  };
  const Case cases[] = {
      {"\"C:\\Program Files\\Kestrel 3\\ksuninstall.exe\" Kestrel 3", kModule},
      {"C:\\Program Files\\Kestrel 3\\ksuninstall.exe Kestrel 3", kModule},
      {"C:\\Program Files\\Kestrel 3\\ksuninstall.exe Kestrel 4", ""},  // another name
      {"C:\\Program Files\\Kestrel 3\\ksuninstall.exe", ""},
      {"\"C:\\Program Files\\Kestrel 3\\ksuninstall.exe Kestrel 3", ""},  // an unclosed quote
      {" Kestrel 3", ""},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(uninstallerPathOf(c.uninstallString, "Kestrel 3"), c.path) << c.uninstallString;
}

TEST(UninstallCommandLine, TheCopysCommandLineReadsBack) {
  const char copy[] = "C:\\Users\\pilot\\Temp\\ksu1A.tmp\\ksuninstall.exe";
  const std::string line = copyCommandLine(copy, "Kestrel 3");
  EXPECT_EQ(line, std::string("\"") + copy + "\" \\working-copy Kestrel 3");

  const UninstallCommandLine parsed = parseUninstallCommandLine(line, copy);
  EXPECT_TRUE(parsed.isCopy);
  EXPECT_EQ(parsed.productName, "Kestrel 3");
}

TEST(UninstallCommandLine, OnlyAWholeMarkerMakesACopy) {
  for (const char* arguments : {"\\working-copyKestrel 3", "\\working Kestrel 3", "\\Working-copy Kestrel 3",
                                "Kestrel 3 \\working-copy"}) {
    const UninstallCommandLine parsed =
        parseUninstallCommandLine(std::string("\"") + kModule + "\" " + arguments, kModule);
    EXPECT_FALSE(parsed.isCopy) << arguments;
    EXPECT_EQ(parsed.productName, arguments);
  }
}

}  // namespace
