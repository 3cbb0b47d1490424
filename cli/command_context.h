// What a command runs with: its options as read, the streams, and the design
// of the run, made only when the command asks for it (after its options
// have been checked), so that a usage error never waits for a file.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/command_table.h"
#include "model/state/gear_state.h"
#include "model/gear/midgear.h"

namespace vx::cli {

// The global options that make the design: --design, then every --set and
// --set-file in the order given.
struct DesignSource {
    std::optional<std::string> path; // "-": standard input
    struct Change {
        int id = 0;          // a --set: the dimension and its value
        float value = 0;
        std::string file;    // a --set-file: read when the design is made
    };
    std::vector<Change> changes;
};

// Reads "FIELD=VALUE" (FIELD a field name as "dims" lists it, in any case,
// or its id number). On a bad text returns false with the message.
bool ParseSetText(std::string_view text, DesignSource::Change& change, std::string& error);

// Reads a --set-file's text: lines of FIELD=VALUE, blank lines and "#"
// comments allowed. On a bad line returns false with "LINE: message".
bool ParseSetFileText(std::string_view text, std::vector<DesignSource::Change>& changes, std::string& error);

class CommandContext {
public:
    CommandContext(const CommandEntry& entry, const Args& args, const DesignSource& source, std::istream& in,
                   std::ostream& out, std::ostream& err);
    // Runs on a design already made (a library caller's, e.g. a test's).
    CommandContext(const CommandEntry& entry, const Args& args, GearState& design, std::istream& in, std::ostream& out,
                   std::ostream& err);
    ~CommandContext();

    const CommandEntry& entry;
    const Args& args;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;

    // The design of the run, made on the first call: the defaults, the
    // --design file, the --set values. nullptr when it could not be made;
    // the message is then written and the command returns kExitCannotRun
    // (or kExitUsage for a bad --set-file line: see DesignExitCode).
    GearState* Design();
    int DesignExitCode() const { return designExit_; }
    // The design of the run for a command that computes: Design(), then the
    // validity gate (model/gear/design_validity.h). nullptr when the design
    // could not be made or fails the gate; the cause is then written (a file
    // whose own values fail is named as not holding a usable design) and
    // DesignExitCode() is kExitFault.
    GearState* ValidDesign();
    // The validity gate on a design this context made (Design(),
    // OpenDesignAt): kExitOk, or kExitFault with the cause written.
    int GateDesign(const GearState& g);
    // The outcome of the last mid-gear search on the design.
    MidGearResult LastMidGearSearch() const { return lastSearch_; }

    // Makes a design from a file (or "-") with the run's --set values, as
    // Design() makes its own. nullptr with the message written on failure.
    std::unique_ptr<GearState> OpenDesignAt(const std::string& path, int& exitCode);

    // "vexlin-cli: COMMAND: message" and the hint to the help; kExitUsage.
    int Usage(std::string_view message);
    // "vexlin-cli: COMMAND: message"; kExitCannotRun.
    int CannotRun(std::string_view message);
    // "vexlin-cli: COMMAND: message" unless --quiet; kExitFault.
    int Fault(std::string_view message);
    // "vexlin-cli: COMMAND: message" even with --quiet, for a fault that
    // leaves the command nothing to write; kExitFault.
    int Refuse(std::string_view message);
    // "vexlin-cli: COMMAND: message" unless --quiet.
    void Note(std::string_view message);
    // A plain line on err unless --quiet.
    void Say(std::string_view line);

    // Writes text to out and flushes it. On failure writes the message and
    // returns false (the command then returns kExitCannotRun).
    bool Write(std::string_view text);
    // Write, then `code`, or kExitCannotRun when the output failed.
    int WriteThen(std::string_view text, int code) { return Write(text) ? code : kExitCannotRun; }

    bool Quiet() const { return args.Quiet() || quiet_; }
    void SetQuiet(bool quiet) { quiet_ = quiet; }

private:
    std::unique_ptr<GearState> Make(const std::optional<std::string>& path, int& exitCode);
    const DesignSource* source_ = nullptr;
    GearState* given_ = nullptr;
    std::unique_ptr<GearState> own_;
    bool tried_ = false;
    int designExit_ = kExitOk;
    MidGearResult lastSearch_ = MidGearResult::Found;
    bool quiet_ = false;
    // Designs made here whose file's own values fail the gate, with the
    // message that says so.
    std::vector<std::pair<const GearState*, std::string>> notDesign_;
};

// The run function of a command with options, for its table entry: reads
// the options from the words the table's parser read, into their struct,
// once and before anything else (a bad value is a usage error and ends the
// run there), then runs the command with them.
template <class Options, bool (*Read)(const Args&, Options&, std::string&),
          int (*Run)(CommandContext&, const Options&)>
int ReadThenRun(CommandContext& ctx) {
    Options options;
    std::string error;
    if (!Read(ctx.args, options, error)) return ctx.Usage(error);
    return Run(ctx, options);
}

// A file or system message as the clause of ours: its first letter made
// small ("Cannot open design ..." -> "cannot open design ...").
std::string Clause(std::string_view message);

} // namespace vx::cli
