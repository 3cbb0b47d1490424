// The commands of vexlin-cli as one table: each command's name, its
// operands, its options (with value, default, allowed range and help text)
// and the function that runs it. The one option parser reads a command's
// words against its table entry, so that every command refuses an unknown
// option the same way, before any file is opened, and every help is made
// from the same entries the parser reads.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx::cli {

// Exit codes, as grep and diff use them.
constexpr int kExitOk = 0;         // done
constexpr int kExitFault = 1;      // done, and the design has a fault
constexpr int kExitUsage = 2;      // the command line is wrong
constexpr int kExitCannotRun = 3;  // a file could not be read or written

struct OptionEntry {
    std::string_view name;        // "--step"
    std::string_view valueName;   // "S"; empty for a switch
    std::string_view defaultText; // "10"; empty when there is none to state
    std::string_view range;       // "0.01 to 360"; empty when any value goes
    std::string_view help;
    bool repeatable = false;      // may be given more than once
};

class CommandContext;

struct CommandEntry {
    std::string_view name;       // "sweep", "render frame", "diagram sine"
    std::string_view operands;   // usage words after the options, e.g. "FILE"
    int minOperands = 0;
    int maxOperands = 0;
    std::string_view summary;    // one line for the program's help
    std::string_view about;      // the paragraph of the command's own help
    std::span<const OptionEntry> options;
    std::string_view examples;   // lines of examples, each ending in "\n"
    int (*run)(CommandContext&) = nullptr; // nullptr: a group ("render", "diagram")
    bool needsGui = false;       // draws with fonts (a Qt application)
    bool usesDesign = true;      // prepares the global design
};

// Every command, groups and subcommands included, in the help's order.
std::span<const CommandEntry> AllCommands();

// The entry named exactly `name` ("render frame"), or nullptr.
const CommandEntry* FindCommand(std::string_view name);

// The subcommands of a group ("render" -> frame, animation).
std::vector<const CommandEntry*> Subcommands(std::string_view group);

// Options every command takes besides its own.
constexpr std::string_view kHelpOption = "--help";
constexpr std::string_view kQuietOption = "--quiet";

// Options that go before the command (named in the message when given
// after it).
bool IsGlobalOption(std::string_view word);

// A command's words as read against its options.
class Args {
public:
    // The command whose options these are ("diagram sine").
    std::string_view Command() const { return command_; }
    bool Has(std::string_view name) const;
    // The last value given for the option, or nullptr.
    const std::string* Value(std::string_view name) const;
    // Every value given for the option, in order.
    std::vector<std::string> Values(std::string_view name) const;
    const std::vector<std::string>& Operands() const { return operands_; }
    bool HelpAsked() const { return help_; }
    bool Quiet() const { return quiet_; }

private:
    friend bool ParseArgs(const CommandEntry&, std::span<const std::string>, Args&, std::string&);
    std::string_view command_;
    std::vector<std::pair<std::string_view, std::string>> given_; // option name, value ("" for a switch)
    std::vector<std::string> operands_;
    bool help_ = false;
    bool quiet_ = false;
};

// The --out FILE option: false with the message when it is given empty, or
// is missing and `required`; `out` is set only when it is given.
bool ReadOutOption(const Args& args, bool required, std::string& out, std::string& error);

// Reads the words after the command's name. "--name VALUE" and
// "--name=VALUE" give a value; "--help" and "-h" anywhere before "--" ask for
// help; "--" ends the options; "-" is an operand. On a usage error returns
// false with the message (without the command's name). When help is asked,
// nothing else is checked.
bool ParseArgs(const CommandEntry& entry, std::span<const std::string> words, Args& args, std::string& error);

// Value readers: each leaves the target as it is when the option is not
// given, and returns false with a message naming the option on a bad value.
bool NumberArg(const Args& args, std::string_view name, double& target, std::string& error);
bool NumberArg(const Args& args, std::string_view name, std::optional<double>& target, std::string& error);

// The command's help: usage, what it does, every option with its default
// and range, examples and the exit codes.
std::string CommandHelp(const CommandEntry& entry);

// The program's help: the global options and the list of commands.
std::string ProgramHelp();

// The "Exit status" lines every help ends with.
extern const std::string_view kExitStatusHelp;

} // namespace vx::cli
