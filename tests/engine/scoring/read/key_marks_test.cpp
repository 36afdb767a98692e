#include <gtest/gtest.h>

#include <string>

#include "scoring/read/key_marks.h"

namespace quillom::scoring {
namespace {

// The US keys of the Russian layout that matter here: ',' and '<' are the keys of б and Б,
// '@' '^' '$' '&' '/' give other marks in whole-key conversion.
KeyboardLayoutConfig usToRussian() {
    KeyboardLayoutConfig layout;
    const LayoutDirection enRu{"en", "ru"};
    layout.maps[enRu] = {{",", "б"}, {"g", "п"}};
    layout.shiftMaps[enRu] = {{"<", "Б"}};
    layout.selectionMaps[enRu] = {{",", "б"}, {"/", "."}};
    layout.selectionShiftMaps[enRu] = {{"@", "\""}, {"^", ":"}, {"$", ";"}, {"&", "?"}};
    return layout;
}

TEST(KeyMarkEdges, RunsOfKeyMarksAtBothEdges) {
    const KeyMarks marks(usToRussian());
    struct Case {
        const char* token;
        std::size_t leading, trailing;
    } cases[] = {
        {"hello", 0, 0},   {"@ghbdtn@", 1, 1}, {"^^word$", 2, 1},
        {"ёлка&", 0, 1},   {"word/", 0, 1},    {"wo@rd", 0, 0},   // inside the word
        {"@word@x", 1, 0},                                        // a letter after the mark
        {",word<", 0, 0},                                         // keys of letters on the Russian layout
        {"@@", 0, 0},                                             // nothing between the runs
        {"@^$", 0, 0},     {"", 0, 0},         {"!word!", 0, 0},  // a mark no whole-key map changes
    };
    for (const Case& c : cases) {
        const MarkEdges edges = keyMarkEdges(marks, c.token);
        EXPECT_EQ(edges.leading, c.leading) << c.token;
        EXPECT_EQ(edges.trailing, c.trailing) << c.token;
    }
}

}  // namespace
}  // namespace quillom::scoring
