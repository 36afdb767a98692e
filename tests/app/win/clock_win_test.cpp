// The replay's pause against the real system: it lasts as long as asked, serves what other
// threads send this thread meanwhile (the low-level hooks arrive that way on Windows), leaves
// posted messages queued, and sleeps rather than spins.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "pipeline/platform_win.h"

namespace quillom::pipeline {
namespace {

constexpr UINT kSent = WM_APP + 1, kPosted = WM_APP + 2;
std::atomic<int> gSentServed{0}, gPostedServed{0};

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSent) ++gSentServed;
    if (message == kPosted) ++gPostedServed;
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND makeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = recordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuillomClockTest";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

double millisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

uint64_t threadCpu100ns() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

TEST(WinClock, WaitsAsLongAsAskedServingSentMessagesOnly) {
    HWND window = makeWindow();
    ASSERT_NE(window, nullptr);
    gSentServed = 0;
    gPostedServed = 0;
    PostMessageW(window, kPosted, 0, 0);
    WinClock clock;
    std::thread sender([window] {
        Sleep(20);
        SendMessageW(window, kSent, 0, 0);  // returns only once the waiting thread served it
    });
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    clock.waitServingHooks(300);
    const double waited = millisecondsSince(start);
    sender.join();
    EXPECT_EQ(gSentServed.load(), 1) << "the sent message was served inside the wait";
    EXPECT_GE(waited, 299.0);
    EXPECT_LT(waited, 2000.0);
    EXPECT_EQ(gPostedServed.load(), 0) << "posted messages wait for the loop";
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, window, kPosted, kPosted, PM_REMOVE));
    DestroyWindow(window);
}

// The replay pauses between letters for a few milliseconds each: a spin would burn all of
// them on Windows, a sleep next to nothing. (Under Wine most of a spin's cost lands on the
// wine server: the spin of the old pause measured 30 ms of this thread's time per 200 ms.)
TEST(WinClock, PausesBetweenLettersSleep) {
    WinClock clock;
    const uint64_t cpuBefore = threadCpu100ns();
    for (int letter = 0; letter < 40; ++letter) clock.waitServingHooks(10);
    const double cpuMs = double(threadCpu100ns() - cpuBefore) / 10000.0;
    EXPECT_LT(cpuMs, 25.0) << "of 400 ms of pauses";
}

TEST(WinClock, ShortPausesAreNotCutShort) {
    WinClock clock;
    for (unsigned ms : {1u, 4u, 16u}) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        clock.waitServingHooks(ms);
        EXPECT_GE(millisecondsSince(start), double(ms) - 0.5) << ms;
    }
}

}  // namespace
}  // namespace quillom::pipeline
