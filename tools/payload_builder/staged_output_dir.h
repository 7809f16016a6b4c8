#pragma once
#include <string>

namespace PayloadTool {

// A payload directory built beside its final place and swapped in whole, so
// that a refused or failed build leaves the previous payload, or nothing,
// behind. A previous payload is replaced whole too: stale chunk files of a
// larger one would otherwise linger.
class StagedOutputDir {
 public:
  explicit StagedOutputDir(const std::string& target);
  ~StagedOutputDir();  // removes the staging directory unless it was committed
  StagedOutputDir(const StagedOutputDir&) = delete;
  StagedOutputDir& operator=(const StagedOutputDir&) = delete;

  // Why `target` cannot take a payload, or "" when it can: its parent must
  // exist, and if it exists itself it must be a directory of payload files
  // only, so that a mistyped path never costs anyone their files.
  static std::string targetProblem(const std::string& target);

  bool create(std::string& error);
  const std::string& path() const { return staging_; }
  bool commit(std::string& error);

 private:
  std::string target_;
  std::string staging_;
};

}  // namespace PayloadTool
