#include <cstdio>
#include <iostream>
#include <iterator>

#include "cli_engine.h"
#include "commands.h"
#include "common/utf16.h"
#include "typed_text.h"

namespace quillom::cli {

namespace {

const char* kHelp =
    "usage: quillom fix [--layout en|ru|uk] [--app NAME] [common options]\n"
    "\n"
    "Reads standard input as text typed key by key with the given layout active\n"
    "(default en) into a simulated window, through the program's own keyboard hook\n"
    "logic: each finished word is corrected, replayed and the layout switched as the\n"
    "program does. Prints the window's text.\n";

}  // namespace

int runFix(std::vector<std::string> args) {
    CommonOptions common;
    if (const std::optional<int> exit = startCommand(args, "fix", kHelp, common)) return *exit;
    const std::string layout = takeOption(args, "--layout").value_or("en");
    const std::string app = takeOption(args, "--app").value_or("");
    if (!args.empty()) return usageError(kHelp);
    auto engine = Engine::open(common);
    if (!engine) return 1;
    std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    std::fputs(toUtf8(typeText(*engine, toUtf16(input), layout, app).shown).c_str(), stdout);
    return 0;
}

}  // namespace quillom::cli
