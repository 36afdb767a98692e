#include <cstdio>
#include <iostream>
#include <iterator>

#include "cli_engine.h"
#include "commands.h"

namespace quillom::cli {

namespace {

const char* kHelp =
    "usage: quillom convert [--to en|ru|uk] [common options]\n"
    "\n"
    "Converts standard input as selected text: to the language given by --to,\n"
    "or to the other layout, choosing the direction, when --to is absent.\n";

}  // namespace

int runConvert(std::vector<std::string> args) {
    CommonOptions common;
    if (const std::optional<int> exit = startCommand(args, "convert", kHelp, common)) return *exit;
    auto to = takeOption(args, "--to");
    if (!args.empty()) return usageError(kHelp);
    auto engine = Engine::open(common);
    if (!engine) return 1;
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    std::fputs((to ? engine->convertTo(text, *to) : engine->convertSmart(text)).c_str(), stdout);
    return 0;
}

}  // namespace quillom::cli
