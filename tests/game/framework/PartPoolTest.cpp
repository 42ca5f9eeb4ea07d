// The part pool: a block given back serves the next part of its size class without the heap, a new block is
// taken only when none waits, and blocks too large for the pool are the heap's own.
#include "PartPool.h"

#include <gtest/gtest.h>

TEST(PartPoolTest, AGivenBackBlockServesTheNextPartOfItsSize) {
    void* first = part_pool::take(40);
    const std::size_t fromHeap = part_pool::heapBlocks();
    part_pool::give(first, 40);
    void* again = part_pool::take(33); // the same 48-byte class
    EXPECT_EQ(again, first);
    EXPECT_EQ(part_pool::heapBlocks(), fromHeap);
    void* another = part_pool::take(40); // none waits now
    EXPECT_NE(another, again);
    EXPECT_EQ(part_pool::heapBlocks(), fromHeap + 1);
    void* smaller = part_pool::take(16); // another class entirely
    EXPECT_NE(smaller, again);
    EXPECT_NE(smaller, another);
    part_pool::give(again, 33);
    part_pool::give(another, 40);
    part_pool::give(smaller, 16);
}

TEST(PartPoolTest, LargeBlocksGoToTheHeapAndBack) {
    const std::size_t fromHeap = part_pool::heapBlocks();
    void* large = part_pool::take(4096);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(part_pool::heapBlocks(), fromHeap);
    part_pool::give(large, 4096);
}

// Parts and their lists come from the pool: a deleted part's block is the next part's.
TEST(PartPoolTest, PooledPartsAndListsReuseTheirBlocks) {
    struct Part : PooledPart {
        double values[5] = {};
    };
    Part* part = new Part;
    delete part;
    const std::size_t fromHeap = part_pool::heapBlocks();
    Part* next = new Part;
    EXPECT_EQ(next, part);
    delete next;
    {
        PartList<int> list(10);
        list.push_back(1);
    }
    const std::size_t afterList = part_pool::heapBlocks();
    {
        PartList<int> list(10);
        list.push_back(1);
    }
    EXPECT_EQ(part_pool::heapBlocks(), afterList);
    EXPECT_GE(afterList, fromHeap);
}
