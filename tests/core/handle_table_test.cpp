// The window layer's table of objects by handle: lookups after additions in any
// order, replacement, removal, and growth past the first allocation.
#include <gtest/gtest.h>

#include <cstdint>

#include "common/handle_table.h"

namespace {

struct TableOwner {
  CHandleTable table;
  ~TableOwner() { table.Clear(); }
};

void* Object(uintptr_t key) { return reinterpret_cast<void*>(key * 16 + 8); }

TEST(HandleTableTest, FindsWhatWasSetInAnyOrderAndOnlyThat) {
  TableOwner owner;
  // Well past the first allocation of 64 entries; keys arrive out of order.
  const uintptr_t kCount = 300;
  for (uintptr_t i = 0; i < kCount; ++i) {
    const uintptr_t key = (i * 7919) % kCount + 1;
    ASSERT_TRUE(owner.table.Set(key, Object(key))) << key;
  }
  EXPECT_EQ(kCount, owner.table.Count());
  for (uintptr_t key = 1; key <= kCount; ++key) EXPECT_EQ(Object(key), owner.table.Get(key)) << key;
  const uintptr_t absent[] = {0, kCount + 1, UINTPTR_MAX};
  for (uintptr_t key : absent) EXPECT_EQ(nullptr, owner.table.Get(key)) << key;
}

TEST(HandleTableTest, ReplacesRemovesAndClears) {
  TableOwner owner;
  const uintptr_t keys[] = {0x10, 0x30, 0x20};
  for (uintptr_t key : keys) owner.table.Set(key, Object(key));
  ASSERT_TRUE(owner.table.Set(0x20, Object(0x99)));
  EXPECT_EQ(3u, owner.table.Count());
  EXPECT_EQ(Object(0x99), owner.table.Get(0x20));

  const struct {
    uintptr_t key;
    bool present;
  } removals[] = {{0x10, true}, {0x10, false}, {0x15, false}, {0x30, true}};
  for (const auto& removal : removals) EXPECT_EQ(removal.present, owner.table.Remove(removal.key)) << removal.key;
  EXPECT_EQ(1u, owner.table.Count());
  EXPECT_EQ(nullptr, owner.table.Get(0x30));
  EXPECT_EQ(Object(0x99), owner.table.Get(0x20));

  owner.table.Clear();
  EXPECT_EQ(0u, owner.table.Count());
  EXPECT_EQ(nullptr, owner.table.Get(0x20));
  EXPECT_TRUE(owner.table.Set(0x20, Object(0x20)));  // usable again after Clear
}

}  // namespace
