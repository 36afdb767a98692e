// Text typed key by key through the program's typing pipeline on a simulated
// window: each character is pressed as the key that gives it on the starting
// layout, and the window's layout changes as the program changes it.
#pragma once

#include <string>

#include "cli_engine.h"

namespace quillom::cli {

struct TypedText {
    std::u16string shown;  // the window's text afterwards
    std::string layout;    // the window's layout afterwards
};

TypedText typeText(Engine& engine, std::u16string_view text, const std::string& startLayout, const std::string& app);

}  // namespace quillom::cli
