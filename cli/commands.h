// vexlin-cli: the headless front end. Prepares one design (defaults, an
// optional dimension data file, --set values) and runs one command of the
// command table (command_table.h) on it.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "model/gear_state.h"

namespace vx::cli {

// The whole program: args are the words after the program name. Results go
// to out, messages to err, "--design -" reads in; returns the exit code.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs one command on a design already made: words are the command and
// its options, e.g. {"render", "frame", "--out", "f.png"}.
int RunCommandOn(GearState& g, const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// Finds the table entry of a command line's words (a group's subcommand
// included) and reads its options. Returns the entry and sets `used` to the
// number of words that named it; nullptr with the message in `error` when
// the words name no command (a group without its subcommand included).
const CommandEntry* FindCommandOf(const std::vector<std::string>& words, std::size_t& used, std::string& error);

// The sweep's settings, as read from its options.
struct SweepOptions {
    double revArmOffset = 0; // from mid gear; -Norm is full forward
    double from = 0;
    double to = 360;
    double step = 10;
    long long rows = 37;
};
constexpr long long kMaxSweepRows = 10'000'000;

// Reads the sweep options; on a usage error returns false with the message.
bool ReadSweepOptions(const Args& args, SweepOptions& opt, std::string& error);

// The sweep's CSV header line (with its line end).
std::string SweepHeader();

// Writes the sweep's CSV (header and rows) for options already read.
// Returns false when the output could not be written.
bool WriteSweep(GearState& g, const SweepOptions& opt, std::ostream& out);

} // namespace vx::cli
