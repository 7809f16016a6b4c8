#include "command_line.h"

namespace PayloadTool {
namespace {

const std::string kChunkSizeOption = "--chunk-size";

bool parseChunkSize(const std::string& text, uint32_t& chunkSize) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + uint64_t(c - '0');
  }
  if (value == 0 || value > UINT32_MAX) return false;
  chunkSize = static_cast<uint32_t>(value);
  return true;
}

bool parseBuildArguments(const std::vector<std::string>& args, CommandLine& commandLine,
                         std::string& error) {
  std::vector<std::string> paths;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] != kChunkSizeOption) {
      paths.push_back(args[i]);
    } else if (i + 1 == args.size() || !parseChunkSize(args[++i], commandLine.chunkSize)) {
      error = kChunkSizeOption + " needs a whole number from 1 to 4294967295";
      return false;
    }
  }
  if (paths.size() != 2) {
    error = "build needs TREE and OUTDIR";
    return false;
  }
  commandLine.treeDir = paths[0];
  commandLine.payloadDir = paths[1];
  return true;
}

}  // namespace

const char* const kUsage =
    "usage: payload-builder build [--chunk-size N] TREE OUTDIR\n"
    "       payload-builder list PAYLOADDIR\n"
    "       payload-builder summary PAYLOADDIR\n"
    "       payload-builder verify PAYLOADDIR [TREE]\n"
    "       payload-builder import PAYLOADDIR OUTDIR\n"
    "       payload-builder extract PAYLOADDIR PATH OUTFILE\n";

bool parseCommandLine(const std::vector<std::string>& args, CommandLine& commandLine,
                      std::string& error) {
  const std::string command = args.empty() ? "" : args[0];
  if (command == "build") {
    commandLine.command = CommandLine::Command::Build;
    return parseBuildArguments(args, commandLine, error);
  }
  if ((command == "list" || command == "summary") && args.size() == 2) {
    commandLine.command =
        command == "list" ? CommandLine::Command::List : CommandLine::Command::Summary;
    commandLine.payloadDir = args[1];
    return true;
  }
  if (command == "verify" && (args.size() == 2 || args.size() == 3)) {
    commandLine.command = CommandLine::Command::Verify;
    commandLine.payloadDir = args[1];
    if (args.size() == 3) commandLine.treeDir = args[2];
    return true;
  }
  if (command == "import" && args.size() == 3) {
    commandLine.command = CommandLine::Command::Import;
    commandLine.payloadDir = args[1];
    commandLine.outDir = args[2];
    return true;
  }
  if (command == "extract" && args.size() == 4) {
    commandLine.command = CommandLine::Command::Extract;
    commandLine.payloadDir = args[1];
    commandLine.archivePath = args[2];
    commandLine.outFile = args[3];
    return true;
  }
  error = command.empty() ? "no command given" : "cannot make sense of \"" + command + "\" here";
  return false;
}

}  // namespace PayloadTool
