// vexlin-cli: the headless front end. Prepares one design (defaults, an
// optional dimension data file, --set values) and runs one command of the
// command table (command_table.h) on it.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "model/state/gear_state.h"

namespace vx::cli {

// The whole program: args are the words after the program name. Results go
// to out, messages to err, "--design -" reads in; returns the exit code.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs one command on a design already made, which it leaves as the command
// left it: words are the command and its options, e.g. {"render", "frame",
// "--out", "f.png"}. No global options; standard input is empty.
int RunCommandOn(GearState& g, const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

} // namespace vx::cli
