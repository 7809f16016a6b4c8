#pragma once
// Records every status call the extractor makes, in order.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "file_extractor_status.h"

struct StatusCall {
  enum Kind { Started, Progress, Finished } kind = Started;
  std::string archivePath, destination;
  uint32_t fed = 0, compressedSize = 0, inflated = 0, uncompressedSize = 0;
};

class RecordingStatus : public Escort::FileExtractorStatus {
 public:
  void fileStarted(const char* archivePath, const char* destinationPath) override {
    calls.push_back({StatusCall::Started, archivePath, destinationPath});
  }
  void fileProgress(uint32_t fed, uint32_t compressedSize, uint32_t inflated,
                    uint32_t uncompressedSize) override {
    StatusCall call;
    call.kind = StatusCall::Progress;
    call.fed = fed;
    call.compressedSize = compressedSize;
    call.inflated = inflated;
    call.uncompressedSize = uncompressedSize;
    calls.push_back(call);
  }
  void fileFinished() override {
    StatusCall call;
    call.kind = StatusCall::Finished;
    calls.push_back(call);
  }
  void fileFailed(const Failure& failure) override { failures.push_back(failure); }
  // Nobody to ask: the file fails.
  bool fileInUse(const char*) override { return false; }

  // "S", "P" and "F" for each call, e.g. "SPPF".
  std::string sequence() const {
    std::string s;
    for (const StatusCall& c : calls) s += "SPF"[c.kind];
    return s;
  }

  std::vector<StatusCall> calls;
  std::vector<Failure> failures;  // in order
};
