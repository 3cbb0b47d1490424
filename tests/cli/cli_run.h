// Runs vexlin-cli's commands in this process, as `vexlin-cli ARGS...` would,
// and keeps what they wrote.
#pragma once

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/dispatch.h"
#include "base/fixed_format.h"

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

// The comma-separated fields of a CSV line, an empty last field kept.
inline std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> f;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        f.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return f;
        start = comma + 1;
    }
}

// A field of the command's output (blanks around it allowed, as in the
// aligned tables) read as a number, with the point whatever the process
// locale; NaN, which fails every comparison, when it is none.
inline double Number(std::string_view field) {
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
    return ReadNumber(field).value_or(std::numeric_limits<double>::quiet_NaN());
}

} // namespace vx::test
