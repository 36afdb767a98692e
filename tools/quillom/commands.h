#pragma once

#include <string>
#include <vector>

namespace quillom::cli {

// Each returns the process exit code; args exclude the command name.
int runExplain(std::vector<std::string> args);
int runFix(std::vector<std::string> args);
int runConvert(std::vector<std::string> args);
int runGolden(std::vector<std::string> args);

}  // namespace quillom::cli
