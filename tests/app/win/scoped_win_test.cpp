#include "win/scoped_win.h"

#include <gtest/gtest.h>

#include <utility>

using namespace quillom::win;

namespace {

// Whether h still names an open kernel object of this process.
bool isOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
}

HANDLE newEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

TEST(ScopedHandle, ClosesOnceWhereverOwnershipEnds) {
    HANDLE raw = newEvent();
    ASSERT_TRUE(raw);
    {
        ScopedHandle owner(raw);
        EXPECT_TRUE(owner);
        EXPECT_EQ(owner.get(), raw);
    }
    EXPECT_FALSE(isOpen(raw));

    // Moved: the source gives it up, the target closes it.
    raw = newEvent();
    ScopedHandle target;
    {
        ScopedHandle source(raw);
        target = std::move(source);
        EXPECT_FALSE(source);
    }
    EXPECT_TRUE(isOpen(raw));
    target.reset();
    EXPECT_FALSE(isOpen(raw));

    // Released: nobody closes it.
    raw = newEvent();
    {
        ScopedHandle owner(raw);
        EXPECT_EQ(owner.release(), raw);
        EXPECT_FALSE(owner);
    }
    EXPECT_TRUE(isOpen(raw));

    // Reset to another: the first is closed at once, the second when the owner goes.
    HANDLE second = newEvent();
    {
        ScopedHandle owner(raw);
        owner.reset(second);
        EXPECT_FALSE(isOpen(raw));
        EXPECT_TRUE(isOpen(second));
    }
    EXPECT_FALSE(isOpen(second));
}

TEST(ScopedHandle, TheFailureValuesAreNoHandles) {
    for (HANDLE failed : {HANDLE(nullptr), INVALID_HANDLE_VALUE}) {
        ScopedHandle owner(failed);
        EXPECT_FALSE(owner);
    }
}

TEST(ScopedGdi, ObjectsAreDeletedAndSelectionsUndone) {
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(raw);
    { const ScopedBrush brush(raw); }
    EXPECT_EQ(GetObjectType(raw), 0u);

    const ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
        const ScopedBitmap bitmap(CreateCompatibleBitmap(dc.get(), 4, 4));
        ASSERT_TRUE(bitmap);
        {
            const ScopedSelect selected(dc.get(), bitmap.get());
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), before);
    }

    HDC rawDc = CreateCompatibleDC(nullptr);
    { const ScopedMemoryDc owner(rawDc); }
    EXPECT_EQ(GetObjectType(rawDc), 0u);
}

}  // namespace
