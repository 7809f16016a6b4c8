// What the program directory page takes from the folder browser's item list:
// real item lists made by the shell, and the COM allocator watched to see
// that each is freed.
#include "browsed_folder.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Sees every block that the COM task allocator frees while it is registered.
class FreeWatcher final : public IMallocSpy {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IMallocSpy) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
  void* STDMETHODCALLTYPE PostAlloc(void* block) override { return block; }
  void* STDMETHODCALLTYPE PreFree(void* block, BOOL) override {
    freed.push_back(block);
    return block;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override {
    *newBlock = block;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return block; }
  void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int allocated) override { return allocated; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

  std::vector<void*> freed;
};

class BrowsedFolder : public ::testing::Test {
 protected:
  // Registered once: COM keeps a spy that still has blocks out (the shell's
  // own) and refuses a second one.
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as the program directory page has it
    registered = CoRegisterMallocSpy(&watcher) == S_OK;
  }
  static void TearDownTestSuite() {
    CoRevokeMallocSpy();
    CoUninitialize();
  }
  void SetUp() override { ASSERT_TRUE(registered); }

  // How often `block` is freed while the folder is taken from it. Counted
  // from just before, as the allocator hands the same address out again.
  static std::string take(LPITEMIDLIST item, int& timesFreed) {
    watcher.freed.clear();
    const std::string folder = takeBrowsedFolder(item);
    timesFreed = 0;
    for (void* freed : watcher.freed) timesFreed += freed == item;
    return folder;
  }

  static FreeWatcher watcher;
  static bool registered;
};

FreeWatcher BrowsedFolder::watcher;
bool BrowsedFolder::registered = false;

LPITEMIDLIST itemOfFolder(int csidl) {
  LPITEMIDLIST item = nullptr;
  SHGetFolderLocation(nullptr, csidl, nullptr, 0, &item);
  return item;
}

TEST_F(BrowsedFolder, GivesTheFolderWithOneBackslashAndFreesTheItem) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\windows", "C:\\windows\\"},
      {"C:\\windows\\", "C:\\windows\\"},
      {"C:\\", "C:\\"},  // a drive root stays as the browser gives it
  };
  for (const auto& c : cases) {
    LPITEMIDLIST item = ILCreateFromPathA(c.path);
    ASSERT_NE(item, nullptr) << c.path;
    int timesFreed = 0;
    EXPECT_EQ(take(item, timesFreed), c.folder) << c.path;
    EXPECT_EQ(timesFreed, 1) << c.path;
  }
}

TEST_F(BrowsedFolder, GivesNothingForAnItemWithoutAPathAndStillFreesIt) {
  // My Computer is a folder of the shell, not of the file system.
  LPITEMIDLIST item = itemOfFolder(CSIDL_DRIVES);
  ASSERT_NE(item, nullptr);
  int timesFreed = 0;
  EXPECT_EQ(take(item, timesFreed), "");
  EXPECT_EQ(timesFreed, 1);
}

TEST_F(BrowsedFolder, GivesNothingWhenTheBrowserWasCancelled) {
  int timesFreed = 0;
  EXPECT_EQ(take(nullptr, timesFreed), "");
  EXPECT_TRUE(watcher.freed.empty());
}

}  // namespace
