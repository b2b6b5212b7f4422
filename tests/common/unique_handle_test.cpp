// The handle-owner template: each handle is closed once, by its last owner, with its kind's call.
#include "common/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> closed;

struct CountedTraits {
    using Handle = int*;
    static bool isValid(Handle handle) { return handle != nullptr; }
    static void close(Handle handle) { closed.push_back(*handle); }
};
using Counted = halyard::UniqueResource<CountedTraits>;

TEST(UniqueResource, ClosesEachHandleOnceByItsLastOwner) {
    int first = 1, second = 2, third = 3;
    closed.clear();
    {
        Counted owner(&first);
        Counted moved(std::move(owner));
        EXPECT_FALSE(owner);
        moved.reset(&second);
        EXPECT_EQ(closed, std::vector<int>{1});
        *moved.receive() = &third;  // a handle handed back through a pointer
        EXPECT_EQ(closed, (std::vector<int>{1, 2}));
        int* kept = moved.release();
        EXPECT_EQ(kept, &third);
    }
    EXPECT_EQ(closed, (std::vector<int>{1, 2}));
}

TEST(UniqueResource, KernelHandlesTakeTheInvalidValueAsNone) {
    halyard::UniqueHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);
    halyard::UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    halyard::UniqueWindow window(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    HWND handle = window.get();
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
