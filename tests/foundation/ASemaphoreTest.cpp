#include "foundation/ASemaphore.h"

#include <gtest/gtest.h>
#include <thread>

TEST(ASemaphore, TryLockRefusesWhileHeld) {
    ASemaphore lock;
    EXPECT_EQ(lock.TryLock(), 1);
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_EQ(lock.TryLock(), 0);
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_FALSE(lock.Unlock()) << "a free lock stays free";
    EXPECT_EQ(lock.TryLock(), 1);
    EXPECT_EQ(lock.TryLock(), 0) << "unlocking a free lock must not add a count";
}

TEST(ASemaphore, AnotherThreadMayRelease) {
    ASemaphore lock;
    lock.Lock();
    std::thread worker([&lock] { lock.Unlock(); });
    lock.Lock();
    worker.join();
    EXPECT_TRUE(lock.IsLocked());
}
