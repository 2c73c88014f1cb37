#include "platform/files/FileDescriptor.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <utility>

namespace {

bool IsOpenDescriptor(int fd) {
    return fcntl(fd, F_GETFD) != -1;
}

} // namespace

TEST(FileDescriptor, ClosesOnceWhoeverHoldsItLast) {
    int fd = -1;
    {
        nativefiles::FileDescriptor first(open("/dev/null", O_RDONLY | O_CLOEXEC));
        ASSERT_TRUE(first.IsOpen());
        fd = first.Get();
        nativefiles::FileDescriptor second(std::move(first));
        EXPECT_FALSE(first.IsOpen());
        EXPECT_EQ(second.Get(), fd);
        nativefiles::FileDescriptor third;
        third = std::move(second);
        EXPECT_TRUE(IsOpenDescriptor(fd));
    }
    EXPECT_FALSE(IsOpenDescriptor(fd));

    nativefiles::FileDescriptor released(open("/dev/null", O_RDONLY | O_CLOEXEC));
    const int kept = released.Release();
    EXPECT_TRUE(released.Close());
    EXPECT_TRUE(IsOpenDescriptor(kept));
    nativefiles::FileDescriptor again(kept);
    EXPECT_TRUE(again.Close());
    EXPECT_FALSE(IsOpenDescriptor(kept));
}
