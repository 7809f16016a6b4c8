#include "resource_script.h"

#include "payload_files.h"

namespace PayloadTool {
namespace {

// The language goes on each resource rather than in a LANGUAGE statement of
// its own, which would carry on to every resource after the #include.
std::string rcdataLine(uint32_t resourceId, const std::string& fileName) {
  return std::to_string(resourceId) + " RCDATA LANGUAGE 0, 0 \"" + fileName + "\"\n";
}

}  // namespace

std::string resourceScriptFor(uint32_t chunkCount) {
  std::string script =
      "/* Setup payload: catalog and chunks, written by payload-builder.\n"
      "   #include it with the payload directory on windres's include path (-I). */\n";
  script += rcdataLine(0, kCatalogFileName);
  for (uint32_t chunkId = 1; chunkId <= chunkCount; ++chunkId)
    script += rcdataLine(chunkId, chunkFileName(chunkId));
  return script;
}

}  // namespace PayloadTool
