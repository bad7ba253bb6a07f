#include <gtest/gtest.h>

#include "midi/input_queue.h"

namespace cadenzo {
namespace {

TEST(InputQueue, EntriesComeOutInOrderAcrossManyLapsOfTheRing) {
    static InputQueue q;
    uint32_t next = 0;
    uint32_t expected = 0;
    for (int round = 0; round < 50; ++round) {
        for (int i = 0; i < 700; ++i) ASSERT_TRUE(q.Push(next++));
        uint32_t e = 0;
        while (q.Pop(e)) ASSERT_EQ(e, expected++);
    }
    EXPECT_EQ(expected, next);
    EXPECT_TRUE(q.Empty());
}

TEST(InputQueue, AFullQueueRefusesNewEntriesAndKeepsThePendingOnes) {
    static InputQueue q;
    for (uint32_t i = 0; i < InputQueue::kMaxPending; ++i) ASSERT_TRUE(q.Push(i));
    EXPECT_FALSE(q.Push(0xDEAD));
    EXPECT_FALSE(q.Push(0xBEEF));
    uint32_t e = 0;
    for (uint32_t i = 0; i < InputQueue::kMaxPending; ++i) {
        ASSERT_TRUE(q.Pop(e));
        ASSERT_EQ(e, i);
    }
    EXPECT_FALSE(q.Pop(e));
    EXPECT_TRUE(q.Push(7));  // room again
    EXPECT_TRUE(q.Pop(e));
    EXPECT_EQ(e, 7u);
}

}  // namespace
}  // namespace cadenzo
