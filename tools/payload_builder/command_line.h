#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "payload_layout.h"

namespace PayloadTool {

struct CommandLine {
  enum class Command { Build, List, Summary, Verify, Import, Extract };
  Command command = Command::Build;
  uint32_t chunkSize = kDefaultChunkSize;  // build only
  std::string treeDir;                     // build; verify, where it may be empty
  std::string payloadDir;                  // the output of build; the input of the others
  std::string outDir;                      // import
  std::string archivePath;                 // extract: the entry
  std::string outFile;                     // extract: where it goes
};

// Reads the arguments after the program name. False, with `error` set, when
// they name no command or do not fit it.
bool parseCommandLine(const std::vector<std::string>& args, CommandLine& commandLine,
                      std::string& error);

extern const char* const kUsage;

}  // namespace PayloadTool
