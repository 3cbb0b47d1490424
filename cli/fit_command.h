// vexlin-cli fit: the as-built dimensions of an engine from its measured
// valve events, their standard errors, the pairs the measurements cannot
// tell apart, the residuals, and the corrections the shop should make.
#pragma once

#include <string>
#include <vector>

#include "cli/balance_command.h"
#include "cli/command_context.h"
#include "model/analysis/valve_fit.h"

namespace vx::cli {

struct FitOptions {
    std::string measuredPath;
    std::vector<BalanceOptions::Vary> vary; // empty: the default dimensions
    std::vector<int> adjust;                // the corrections' dimensions
    bool adjustGiven = false;
    FitWeights weights;
    std::string outPath;       // the fitted design (empty: none)
    std::string residualsPath; // the residuals' CSV (empty: none)
    bool csv = false;
    int threads = 0;
};

// Reads the options after the word "fit"; on a usage error returns false
// with the message.
bool ReadFitOptions(const Args& args, FitOptions& opt, std::string& error);

// Reads a measurement file (or "-", standard input): 3 when it cannot be
// read, 2 (naming the line) when a line is bad, with the message; else 0.
int ReadMeasurementFile(CommandContext& ctx, const std::string& path, std::vector<Measurement>& rows);

// Runs the fit and prints what it found. Exit 2 for a problem that cannot
// be fitted (a bad line, fewer measurements than dimensions), 3 when a
// file cannot be read or written, 1 when the drawing does not close at a
// measured position or the fitted design does not produce a measured
// event, else 0.
int RunFitCommand(CommandContext& ctx, const FitOptions& opt);

} // namespace vx::cli
