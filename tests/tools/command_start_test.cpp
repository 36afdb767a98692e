#include "cli_engine.h"

#include <gtest/gtest.h>

using namespace quillom::cli;

namespace {

TEST(CommandStart, HelpBadOptionsAndTheRest) {
    const struct {
        std::vector<std::string> args;
        std::optional<int> exit;
        std::string out, err;
        std::vector<std::string> left;  // when the command goes on
        std::string rules;
    } cases[] = {
        {{"--help", "x"}, 0, "HELP", "", {}, ""},
        {{"word", "--help"}, 0, "HELP", "", {}, ""},
        {{"word", "--rules"}, 2, "", "quillom cmd: --rules needs a value\n", {}, ""},
        {{"--languages"}, 2, "", "quillom cmd: --languages needs a value\n", {}, ""},
        {{"word", "--rules", "r.json", "--json"}, std::nullopt, "", "", {"word", "--json"}, "r.json"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        CommonOptions options;
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const std::optional<int> exit = startCommand(args, "cmd", "HELP", options);
        const std::string out = ::testing::internal::GetCapturedStdout();
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(exit, c.exit) << c.args.front();
        EXPECT_EQ(out, c.out) << c.args.front();
        EXPECT_EQ(err, c.err) << c.args.front();
        if (!c.exit) {
            EXPECT_EQ(args, c.left);
            EXPECT_EQ(options.rulesPath, c.rules);
        }
    }
}

TEST(CommandStart, UsageErrorPrintsHelpToStandardError) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(usageError("HELP"), 2);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "HELP");
}

}  // namespace
