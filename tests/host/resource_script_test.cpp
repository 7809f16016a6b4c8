#include "resource_script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>

#include "payload_files.h"
#include "payload_writer.h"
#include "scratch_dir.h"

using namespace PayloadTool;

TEST(ResourceScript, NamesCatalogAndEveryChunkByBareFileName) {
  std::string script = resourceScriptFor(2);
  EXPECT_NE(script.find("\n0 RCDATA LANGUAGE 0, 0 \"catalog.bin\"\n"), std::string::npos);
  EXPECT_NE(script.find("\n1 RCDATA LANGUAGE 0, 0 \"chunk00001.bin\"\n"), std::string::npos);
  EXPECT_NE(script.find("\n2 RCDATA LANGUAGE 0, 0 \"chunk00002.bin\"\n"), std::string::npos);
  EXPECT_EQ(script.find("chunk00003"), std::string::npos);
}

TEST(ResourceScript, EmptyPayload_HasTheCatalogOnly) {
  std::string script = resourceScriptFor(0);
  EXPECT_NE(script.find("\n0 RCDATA LANGUAGE 0, 0 \"catalog.bin\"\n"), std::string::npos);
  EXPECT_EQ(script.find("RCDATA"), script.rfind("RCDATA"));
}

namespace {

// Resource id -> language in windres's decompiled output, which names a
// language only where it changes.
std::map<int, std::string> resourceLanguages(const std::string& decompiled) {
  std::map<int, std::string> languages;
  std::istringstream lines(decompiled);
  std::string line, language;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (std::regex_match(line, match, std::regex("LANGUAGE (.*)")))
      language = match[1];
    else if (std::regex_match(line, match, std::regex("(\\d+) RCDATA")))
      languages[std::stoi(match[1])] = language;
  }
  return languages;
}

}  // namespace

// The cross build includes payload.rc from a script in another directory;
// this runs the real resource compiler the way that build does.
TEST(ResourceScript, Windres_IncludedFromElsewhereEmbedsNeutralResources) {
  const std::string windres = "i686-w64-mingw32-windres";
  if (std::system(("command -v " + windres + " >/dev/null").c_str()) != 0)
    GTEST_SKIP() << windres << " is not installed";

  ScratchDir scratch;
  PayloadLayout layout;
  layout.chunkSize = 16;
  layout.entries.push_back({"\\ks\\a.txt", std::string(40, 'x'), 40, std::nullopt, 0});
  std::filesystem::create_directory(scratch / "gen");
  std::string error;
  ASSERT_TRUE(writePayload(layout, scratch / "gen/payload", error)) << error;
  scratch.writeFile("app/setup.rc", "#include \"payload.rc\"\n7 RCDATA { \"after\" }\n");

  // Run from a third directory so that nothing resolves against the working directory.
  std::filesystem::create_directory(scratch / "elsewhere");
  std::string compile = "cd '" + scratch.path() + "/elsewhere' && " + windres + " -I '" +
                        scratch.path() + "/gen/payload' ../app/setup.rc -O coff -o setup.o && " +
                        windres + " -i setup.o -J coff -O rc -o dump.rc";
  ASSERT_EQ(std::system(compile.c_str()), 0) << compile;

  std::string dump;
  ASSERT_TRUE(readFileBytes(scratch / "elsewhere/dump.rc", dump));
  std::map<int, std::string> languages = resourceLanguages(dump);
  ASSERT_EQ(languages.size(), 5u) << dump;  // catalog, three chunks, and the includer's own
  for (int id : {0, 1, 2, 3}) EXPECT_EQ(languages[id], "0, 0") << "resource " << id;
  // The neutral language stays with the payload's resources.
  EXPECT_NE(languages[7], "0, 0");
}
