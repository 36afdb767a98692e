// quillom: the engine from the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"

namespace {

const char* kUsage =
    "usage: quillom <command> [options]\n"
    "\n"
    "commands:\n"
    "  explain WORD   show the decision for one word\n"
    "  fix            correct text typed on standard input, as the program would\n"
    "  convert        convert standard input to the other layout\n"
    "  golden         run the rules file's golden tests\n"
    "\n"
    "options of every command:\n"
    "  --rules PATH       rules file (default: the shipped quillom_rules.json)\n"
    "  --prefs PATH       user preferences file (default: active languages only)\n"
    "  --languages LIST   active languages when no --prefs is given (default: en,uk,ru)\n"
    "\n"
    "'quillom <command> --help' describes one command.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "explain") return quillom::cli::runExplain(std::move(args));
    if (command == "fix") return quillom::cli::runFix(std::move(args));
    if (command == "convert") return quillom::cli::runConvert(std::move(args));
    if (command == "golden") return quillom::cli::runGolden(std::move(args));
    std::fprintf(stderr, "quillom: unknown command '%s'\n\n%s", command.c_str(), kUsage);
    return 2;
}
