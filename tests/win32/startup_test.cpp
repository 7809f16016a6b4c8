// Start-up on modules that cannot show the wizard: the program must end at
// once with a failure code and leave no window behind, since a hidden process
// without a window could never be ended by its user.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "run_setup.h"

namespace {

BOOL CALLBACK countDialog(HWND window, LPARAM count) {
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  // The dialog class; Wine may keep windows of its own for the thread (IME).
  if (std::string(className) == "#32770") ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int dialogsOfThisThread() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), countDialog, reinterpret_cast<LPARAM>(&count));
  return count;
}

struct BrokenModule {
  const char* what;
  const char* dll;  // nullptr: this test program, which carries no dialogs
  int exitCode;
};

class StartupWithoutWizard : public ::testing::TestWithParam<BrokenModule> {};

TEST_P(StartupWithoutWizard, EndsAtOnceWithAFailureAndNoWindow) {
  const BrokenModule& module = GetParam();
  HMODULE handle = module.dll ? LoadLibraryA(module.dll) : GetModuleHandleA(nullptr);
  ASSERT_NE(handle, nullptr) << module.dll;
  EXPECT_EQ(runSetup(handle), module.exitCode);
  EXPECT_EQ(dialogsOfThisThread(), 0);
  MSG quit;
  while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

INSTANTIATE_TEST_SUITE_P(Startup, StartupWithoutWizard,
                         testing::Values(BrokenModule{"NoFrameTemplate", nullptr, kExitNoFrame},
                                         BrokenModule{"NoPageTemplates", "frame_only.dll", kExitNothingToShow},
                                         // The later pages would shift into the places of the missing ones.
                                         BrokenModule{"LaterPagesMissing", "first_pages_only.dll", kExitNothingToShow}),
                         [](const testing::TestParamInfo<BrokenModule>& info) { return info.param.what; });

}  // namespace
