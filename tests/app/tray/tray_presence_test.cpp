#include <gtest/gtest.h>

#include "tray/tray_presence.h"

namespace quillom::tray {
namespace {

struct Attempt {
    bool added;
    uint32_t nowMs;
    bool keepTrying;
};

void play(TrayPresence& presence, std::initializer_list<Attempt> attempts, const char* what) {
    for (const Attempt& a : attempts) {
        EXPECT_EQ(presence.afterAdd(a.added, a.nowMs), a.keepTrying) << what << " at " << a.nowMs;
        EXPECT_EQ(presence.shown(), a.added) << what;
    }
}

TEST(TrayPresence, RetriesForAMinuteAfterAFailedAdd) {
    struct Case {
        const char* what;
        std::initializer_list<Attempt> attempts;
    };
    const Case cases[] = {
        {"added at once", {{true, 1000, false}}},
        {"added on the third try", {{false, 1000, true}, {false, 3000, true}, {true, 5000, false}}},
        {"never ready", {{false, 1000, true}, {false, 59999, true}, {false, 61000, false}}},
        {"across the tick count's wrap", {{false, 0xFFFFF000u, true}, {false, 0x00001000u, true}}},
    };
    for (const Case& c : cases) {
        TrayPresence presence;
        play(presence, c.attempts, c.what);
    }
}

TEST(TrayPresence, ExplorerStartingAnewGivesAFreshMinute) {
    TrayPresence presence;
    play(presence, {{false, 0, true}, {true, 2000, false}}, "start");
    presence.taskbarCreated();
    EXPECT_FALSE(presence.shown());
    play(presence, {{false, 100000, true}, {false, 159000, true}, {true, 161000, false}}, "after the restart");

    // A failure long after an earlier retry window still retries.
    presence.taskbarCreated();
    play(presence, {{false, 500000, true}}, "second restart");
}

}  // namespace
}  // namespace quillom::tray
