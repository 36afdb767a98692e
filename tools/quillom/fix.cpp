#include <cstdio>
#include <iostream>
#include <iterator>

#include "cli_engine.h"
#include "commands.h"
#include "common/utf16.h"
#include "typing_simulator.h"

namespace quillom::cli {

namespace {

const char* kHelp =
    "usage: quillom fix [--layout en|ru|uk] [--app NAME] [common options]\n"
    "\n"
    "Reads standard input as text typed key by key with the given layout active\n"
    "(default en), corrects each finished word as the program would, switching the\n"
    "layout after a correction, and prints the result.\n";

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
    TypingSimulator simulator(*engine, layout, app);
    std::fputs(toUtf8(simulator.type(toUtf16(input))).c_str(), stdout);
    return 0;
}

}  // namespace quillom::cli
