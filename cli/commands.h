// vexlin-cli: the headless front end. Prepares one design (defaults, an
// optional dimension data file, --set values) and runs one command on it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "model/gear_state.h"
#include "model/midgear.h"

namespace vx::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// The whole program: args are the words after the program name. Results go
// to out, messages to err; returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The commands on a prepared design. Each returns an exit code.

// CSV of every dimension: id,field,name,value.
int RunDims(const GearState& g, std::ostream& out);

// The mid-gear position; a failure when the last search did not settle.
int RunMidGear(const GearState& g, MidGearResult lastSearch, std::ostream& out, std::ostream& err);

// Solves the gear over a range of driver angles, one CSV row per angle.
// args: the options after the word "sweep".
int RunSweep(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Writes the design to a dimension data file. args: the file name.
int RunSave(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

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
bool ParseSweepOptions(const std::vector<std::string>& args, SweepOptions& opt, std::string& error);

// Writes the sweep's CSV (header and rows) for options already read.
// Returns false when the output could not be written.
bool WriteSweep(GearState& g, const SweepOptions& opt, std::ostream& out);

} // namespace vx::cli
