// The runtime's throw helpers as the shipped programs replace them: an
// allocation that cannot be had still throws, so that the programs' handlers
// still turn it into an error code.
#include <gtest/gtest.h>

#include <memory>
#include <new>

TEST(SmallRuntime, AllocationPastTheLimitThrowsBadAlloc) {
  std::allocator<int> allocator;
  EXPECT_THROW(static_cast<void>(allocator.allocate(allocator.max_size() + 1)), std::bad_alloc);
}

TEST(SmallRuntime, AllocationPastTheAddressSpaceThrowsBadArrayNewLength) {
  std::allocator<int> allocator;
  EXPECT_THROW(static_cast<void>(allocator.allocate(static_cast<size_t>(-1) / sizeof(int) + 1)),
               std::bad_array_new_length);
}
