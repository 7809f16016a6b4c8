// payload-builder: builds the setup program's payload from a tree, and lists,
// verifies, imports for embedding or takes one file out of a payload directory
// written by it or by any other writer.
#include <iostream>

#include "command_line.h"
#include "payload_builder.h"
#include "payload_extract.h"
#include "payload_import.h"
#include "payload_listing.h"
#include "payload_verifier.h"

namespace {

using namespace PayloadTool;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int runBuild(const CommandLine& commandLine) {
  BuildReport report;
  bool built =
      buildPayload(commandLine.treeDir, commandLine.payloadDir, commandLine.chunkSize, report);
  for (const std::string& warning : report.warnings)
    std::cerr << "payload-builder: warning: " << warning << '\n';
  if (!built) {
    for (const std::string& problem : report.problems)
      std::cerr << "payload-builder: " << problem << '\n';
    std::cerr << "payload-builder: refused; nothing written\n";
    return kExitFailed;
  }
  std::cout << summaryLine(report.summary) << '\n';
  return kExitOk;
}

void printReport(const VerifyReport& report, std::ostream& out) {
  for (const std::string& note : report.notes) out << "note: " << note << '\n';
  for (const std::string& problem : report.problems) out << "problem: " << problem << '\n';
}

int runVerify(const PayloadReader& payload, const std::string& treeDir) {
  VerifyReport report = verifyPayload(payload, treeDir);
  printReport(report, std::cout);
  std::cout << payloadSummaryLine(payload) << '\n';
  if (!report.problems.empty()) {
    std::cout << "verify: " << report.problems.size() << " problem(s)\n";
    return kExitFailed;
  }
  std::cout << (treeDir.empty() ? "verify: payload is sound\n" : "verify: payload matches the tree\n");
  return kExitOk;
}

int runImport(const CommandLine& commandLine) {
  VerifyReport report;
  if (!importPayload(commandLine.payloadDir, commandLine.outDir, report)) {
    printReport(report, std::cerr);
    std::cerr << "payload-builder: " << commandLine.payloadDir << " refused; nothing written\n";
    return kExitFailed;
  }
  PayloadReader imported;
  std::string error;
  imported.open(commandLine.outDir, error);
  std::cout << payloadSummaryLine(imported) << '\n';
  return kExitOk;
}

int runOnPayload(const CommandLine& commandLine) {
  PayloadReader payload;
  std::string error;
  if (!payload.open(commandLine.payloadDir, error)) {
    std::cerr << "payload-builder: " << error << '\n';
    return kExitFailed;
  }
  switch (commandLine.command) {
    case CommandLine::Command::List:
      printListing(payload, std::cout);
      return kExitOk;
    case CommandLine::Command::Summary:
      std::cout << payloadSummaryLine(payload) << '\n';
      return kExitOk;
    case CommandLine::Command::Verify:
      return runVerify(payload, commandLine.treeDir);
    case CommandLine::Command::Extract:
      if (!extractEntry(payload, commandLine.archivePath, commandLine.outFile, error)) {
        std::cerr << "payload-builder: " << error << '\n';
        return kExitFailed;
      }
      return kExitOk;
    case CommandLine::Command::Build:
    case CommandLine::Command::Import:
      break;
  }
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine commandLine;
  std::string error;
  if (!parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), commandLine, error)) {
    std::cerr << "payload-builder: " << error << '\n' << kUsage;
    return kExitUsage;
  }
  switch (commandLine.command) {
    case CommandLine::Command::Build:
      return runBuild(commandLine);
    case CommandLine::Command::Import:
      return runImport(commandLine);
    default:
      return runOnPayload(commandLine);
  }
}
