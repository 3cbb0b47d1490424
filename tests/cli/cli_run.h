// Runs vexlin-cli's commands in this process, as `vexlin-cli ARGS...` would,
// and keeps what they wrote.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace vx::test {

struct CliRun {
    int code;
    std::string out, err;
};

inline CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

// The text's lines, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

} // namespace vx::test
