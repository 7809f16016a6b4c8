#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A fresh directory under the test temp directory, removed with everything
// in it when the test ends.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = ::testing::TempDir() + "kestrel-host-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data())) path_ = name.data();
    EXPECT_FALSE(path_.empty()) << "cannot create " << pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

  // Writes `content` to `relative`, creating the directories on the way.
  std::string writeFile(const std::string& relative, const std::string& content) const {
    std::filesystem::path file = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file.string();
  }

 private:
  std::string path_;
};
