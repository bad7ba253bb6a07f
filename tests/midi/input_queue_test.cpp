#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "midi/input_queue.h"
#include "midi/thread_wake.h"
#include "support/descriptor_limit.h"

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

TEST(ThreadWake, AWakeThatCouldNotBeWrittenLeavesTheNextOneFreeToTry) {
    ThreadWake wake;
    const int fd = wake.Fd();
    ASSERT_GE(fd, 0);
    const int eventFd = ::dup(fd);
    const int readOnly = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::dup2(readOnly, fd);  // every write to the wake now fails
    wake.Signal();
    ::dup2(eventFd, fd);   // and succeeds again
    wake.Signal();
    pollfd ready{fd, POLLIN, 0};
    EXPECT_EQ(::poll(&ready, 1, 0), 1) << "the second signal never reached the main thread";
    ::close(eventFd);
    ::close(readOnly);
}

// The engine thread has read the descriptor but not yet cleared the pending
// flag when the stop comes: the stop's wake must still be written.
TEST(ThreadWake, AStopWakeIsWrittenWhileAnotherIsPending) {
    ThreadWake wake;
    wake.Signal();
    uint64_t count = 0;
    ASSERT_EQ(::read(wake.Fd(), &count, sizeof count), static_cast<ssize_t>(sizeof count));
    wake.SignalAlways();
    pollfd ready{wake.Fd(), POLLIN, 0};
    EXPECT_EQ(::poll(&ready, 1, 0), 1) << "the stop never reached the engine thread";
}

TEST(ThreadWake, ADescriptorThatCannotBeMadeIsKnownWithItsReason) {
    test::NoNewDescriptors outOfDescriptors;
    ThreadWake wake;
    EXPECT_LT(wake.Fd(), 0);
    EXPECT_EQ(wake.CreateError(), EMFILE);
}

}  // namespace
}  // namespace cadenzo
