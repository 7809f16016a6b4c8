#include "staged_output_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <vector>

#include "payload_files.h"

namespace PayloadTool {
namespace {

namespace fs = std::filesystem;

// "out/" names the directory "out"; a trailing separator must not change that.
fs::path withoutTrailingSeparator(const std::string& target) {
  fs::path path(target);
  return path.has_filename() ? path : path.parent_path();
}

}  // namespace

StagedOutputDir::StagedOutputDir(const std::string& target)
    : target_(withoutTrailingSeparator(target).string()) {}

StagedOutputDir::~StagedOutputDir() {
  if (staging_.empty()) return;
  std::error_code ignored;
  fs::remove_all(staging_, ignored);
}

std::string StagedOutputDir::targetProblem(const std::string& target) {
  fs::path path = withoutTrailingSeparator(target);
  std::string name = path.filename().string();
  if (name.empty() || name == "." || name == "..")
    return target + ": name the output directory itself";
  std::error_code error;
  fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (!fs::is_directory(parent, error)) return parent.string() + ": no such directory";
  fs::file_status status = fs::symlink_status(path, error);
  if (!fs::exists(status)) return "";
  if (!fs::is_directory(status)) return target + ": exists and is not a directory";
  for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
    if (!isPayloadFileName(it->path().filename().string()) || !it->is_regular_file(error))
      return target + ": holds " + it->path().filename().string() +
             ", which is not a payload file; refusing to replace it";
  }
  if (error) return target + ": cannot be read: " + error.message();
  return "";
}

bool StagedOutputDir::create(std::string& error) {
  fs::path target(target_);
  fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string pattern = (parent / ("." + target.filename().string() + ".staging-XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data())) {
    error = pattern + ": cannot create a staging directory";
    return false;
  }
  staging_ = name.data();
  // mkdtemp keeps the directory private; the payload it becomes is not.
  std::error_code ignored;
  fs::permissions(staging_,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  ignored);
  return true;
}

bool StagedOutputDir::commit(std::string& error) {
  error = targetProblem(target_);
  if (!error.empty()) return false;
  std::error_code fsError;
  fs::remove_all(target_, fsError);
  if (!fsError) fs::rename(staging_, target_, fsError);
  if (fsError) {
    error = target_ + ": cannot be replaced: " + fsError.message();
    return false;
  }
  staging_.clear();
  return true;
}

}  // namespace PayloadTool
