#include "payload_import.h"

#include "payload_files.h"
#include "resource_script.h"
#include "staged_output_dir.h"

namespace PayloadTool {
namespace {

bool copyPayloadFile(const std::string& from, const std::string& to, const std::string& name) {
  std::string bytes;
  return readFileBytes(from + "/" + name, bytes) && writeFileBytes(to + "/" + name, bytes);
}

}  // namespace

bool importPayload(const std::string& payloadDir, const std::string& outDir, VerifyReport& report) {
  PayloadReader payload;
  std::string error;
  if (!payload.open(payloadDir, error)) {
    report.problems.push_back(error);
    return false;
  }
  report = verifyPayload(payload, "");
  const std::string outputProblem = StagedOutputDir::targetProblem(outDir);
  if (!outputProblem.empty()) report.problems.push_back(outputProblem);
  if (!report.problems.empty()) return false;

  StagedOutputDir staged(outDir);
  if (!staged.create(error)) {
    report.problems.push_back(error);
    return false;
  }
  bool copied = copyPayloadFile(payloadDir, staged.path(), kCatalogFileName);
  for (uint32_t chunkId = 1; copied && chunkId <= payload.highestChunkId(); ++chunkId)
    copied = copyPayloadFile(payloadDir, staged.path(), chunkFileName(chunkId));
  if (!copied || !writeFileBytes(staged.path() + "/" + kResourceScriptFileName,
                                 resourceScriptFor(payload.highestChunkId()))) {
    report.problems.push_back(outDir + ": cannot write the payload files");
    return false;
  }
  if (!staged.commit(error)) {
    report.problems.push_back(error);
    return false;
  }
  return true;
}

}  // namespace PayloadTool
