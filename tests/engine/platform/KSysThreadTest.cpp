// KSysThread runs its function once and is waited for; KSysLock can be taken again by its holder and
// keeps other threads out until every acquire has its release.
#include "KSysThread.h"
#include "KSysLock.h"

#include "HostSystem.h"

#include <atomic>
#include <gtest/gtest.h>

TEST(KSysThread, RunsTheFunctionWithItsArgumentAndWaitsForIt) {
    struct Job {
        std::atomic<int> calls{0};
        long second = -1;
        static void run(void* argument, long second) {
            auto* job = static_cast<Job*>(argument);
            host::sleepMilliseconds(30);
            job->second = second;
            job->calls++;
        }
    } job;
    { KSysThread thread(Job::run, &job, /*highPriority=*/true); }
    EXPECT_EQ(job.calls.load(), 1) << "the destructor waited for the function";
    EXPECT_EQ(job.second, 0);

    KSysThread thread(Job::run, &job);
    while (!thread.isFinished()) host::sleepMilliseconds(1);
    EXPECT_EQ(job.calls.load(), 2);
}

TEST(KSysLock, IsReentrantAndExcludesOtherThreads) {
    struct Shared {
        KSysLock lock;
        std::atomic<bool> entered{false};
        static void contend(void* argument, long) {
            auto* shared = static_cast<Shared*>(argument);
            shared->lock.acquire();
            shared->entered = true;
            shared->lock.release();
        }
    } shared;
    shared.lock.acquire();
    shared.lock.acquire(); // the holder takes it again without blocking
    KSysThread other(Shared::contend, &shared);
    host::sleepMilliseconds(30);
    EXPECT_FALSE(shared.entered.load());
    shared.lock.release();
    host::sleepMilliseconds(30);
    EXPECT_FALSE(shared.entered.load()) << "one release of two keeps the lock held";
    shared.lock.release();
    while (!other.isFinished()) host::sleepMilliseconds(1);
    EXPECT_TRUE(shared.entered.load());
}
