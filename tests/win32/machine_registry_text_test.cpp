// How the pages read a folder from the registry (the simulators' "EXE Path",
// an earlier installation's "KSDir"): seeded in the view of this build and
// read back through the pages' own routine.
#include "machine_registry_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "registry_view.h"

namespace {

const char kKey[] = "Software\\Ninefold\\Kestrel test\\Machine text";
const char kValue[] = "EXE Path";
const char kEarlier[] = "what the field held before";

class MachineRegistryText : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(deleteMachineTree(kKey)); }
  void TearDown() override { deleteMachineTree(kKey); }

  // What the field holds after reading, starting from kEarlier; and whether it was read.
  std::pair<bool, std::string> read() {
    std::string text = kEarlier;
    const bool found = readMachineText(kKey, kValue, text);
    return {found, text};
  }
};

TEST_F(MachineRegistryText, ReadsTheTextUpToItsFirstZero) {
  const std::string longest(MAX_PATH - 1, 'x');  // 259 characters and the zero fill the buffer
  const struct {
    RegistryValue stored;
    std::string text;
  } cases[] = {
      {registryText("C:\\Program Files\\Microsoft Games\\Flight Simulator 9\\"),
       "C:\\Program Files\\Microsoft Games\\Flight Simulator 9\\"},
      {registryText(longest), longest},
      {registryText(""), ""},
      // The type is not examined, and text stored without its zero ends with the data.
      {{REG_BINARY, "D:\\FS9"}, "D:\\FS9"},
      {{REG_EXPAND_SZ, std::string("D:\\FS9\0tail", 11)}, "D:\\FS9"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(seedMachineValue(kKey, kValue, c.stored));
    EXPECT_EQ(read(), std::make_pair(true, c.text)) << c.stored;
  }
}

TEST_F(MachineRegistryText, LeavesTheFieldAsItWasWhenNothingCanBeRead) {
  EXPECT_EQ(read(), std::make_pair(false, std::string(kEarlier))) << "no key";
  ASSERT_TRUE(seedMachineValue(kKey, "Other", registryText("x")));
  EXPECT_EQ(read(), std::make_pair(false, std::string(kEarlier))) << "no value";
  ASSERT_TRUE(seedMachineValue(kKey, kValue, registryText(std::string(MAX_PATH, 'x'))));
  EXPECT_EQ(read(), std::make_pair(false, std::string(kEarlier))) << "260 characters and the zero do not fit";
}

}  // namespace
