#include "cli/command_table.h"

#include "cli/text_io.h"

namespace vx::cli {
namespace {

constexpr std::size_t kTextWidth = 79;
constexpr std::size_t kOptionColumn = 24;

// Appends `text` wrapped at word boundaries, each line after the first
// indented by `indent` (the first continues where `line` stands).
void AppendWrapped(std::string& out, std::string_view text, std::size_t indent, std::size_t column) {
    bool first = true;
    while (!text.empty()) {
        const auto space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
        if (word.empty()) continue;
        if (!first && column + 1 + word.size() > kTextWidth) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
        } else if (!first) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        first = false;
    }
}

// "--name VALUE" as the help and the messages show it.
std::string OptionWords(const OptionEntry& o) {
    std::string s(o.name);
    if (!o.valueName.empty()) {
        s += ' ';
        s += o.valueName;
    }
    return s;
}

void AppendOptionLine(std::string& out, std::string_view words, std::string_view help) {
    out += "  ";
    out += words;
    std::size_t column = 2 + words.size();
    if (column + 2 > kOptionColumn) {
        out += '\n';
        column = 0;
    }
    out.append(kOptionColumn - column, ' ');
    AppendWrapped(out, help, kOptionColumn, kOptionColumn);
    out += '\n';
}

std::string OptionHelp(const OptionEntry& o) {
    std::string help(o.help);
    if (!o.defaultText.empty()) {
        help += " (default ";
        help += o.defaultText;
        help += ')';
    }
    if (!o.range.empty()) {
        help += "; ";
        help += o.range;
    }
    if (o.repeatable) help += "; may be repeated";
    return help;
}

const OptionEntry* FindOption(const CommandEntry& entry, std::string_view name) {
    for (const OptionEntry& o : entry.options)
        if (o.name == name) return &o;
    return nullptr;
}

constexpr std::string_view kGlobalOptions[] = {"--design", "--set", "--set-file", "--version"};

} // namespace

const std::string_view kExitStatusHelp =
    "Exit status: 0 done; 1 the design has a fault: a dimension is not a finite\n"
    "number, beyond 1e+06 in size, or a length the gear needs is not above zero\n"
    "(nothing is computed, the cause is named), or the linkage does not close, or\n"
    "an event never happens; 2 usage error; 3 could not run (a file could not be\n"
    "read or written).\n";

bool IsGlobalOption(std::string_view word) {
    const std::string_view name = word.substr(0, word.find('='));
    for (const std::string_view g : kGlobalOptions)
        if (name == g) return true;
    return false;
}

bool Args::Has(std::string_view name) const {
    for (const auto& [n, v] : given_)
        if (n == name) return true;
    return false;
}

const std::string* Args::Value(std::string_view name) const {
    const std::string* last = nullptr;
    for (const auto& [n, v] : given_)
        if (n == name) last = &v;
    return last;
}

bool ReadOutOption(const Args& args, bool required, std::string& out, std::string& error) {
    const std::string* value = args.Value("--out");
    if (!value) {
        if (!required) return true;
        error = "--out FILE is required";
        return false;
    }
    if (value->empty()) {
        error = "--out needs a file name";
        return false;
    }
    out = *value;
    return true;
}

std::vector<std::string> Args::Values(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& [n, v] : given_)
        if (n == name) values.push_back(v);
    return values;
}

bool ParseArgs(const CommandEntry& entry, std::span<const std::string> words, Args& args, std::string& error) {
    args = Args{};
    args.command_ = entry.name;
    error.clear();
    std::string firstError;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        const auto fail = [&](std::string message) {
            if (firstError.empty()) firstError = std::move(message);
        };
        if (optionsEnded || w == "-" || w.empty() || w[0] != '-') {
            args.operands_.push_back(w);
            continue;
        }
        if (w == "--") {
            optionsEnded = true;
            continue;
        }
        if (w == kHelpOption || w == "-h") {
            args.help_ = true;
            continue;
        }
        if (w == kQuietOption || w == "-q") {
            args.quiet_ = true;
            continue;
        }
        const auto eq = w.find('=');
        const std::string_view name = std::string_view(w).substr(0, eq);
        const OptionEntry* o = name.size() > 2 && name[1] == '-' ? FindOption(entry, name) : nullptr;
        if (!o) {
            if (IsGlobalOption(w))
                fail(Quote(name) + " is a global option: it goes before the command (vexlin-cli " +
                     std::string(name) + " ... " + std::string(entry.name) + " ...)");
            else
                fail("unknown option " + Quote(w));
            continue;
        }
        if (o->valueName.empty()) {
            if (eq != std::string::npos) fail(std::string(o->name) + " takes no value");
            args.given_.emplace_back(o->name, std::string{});
            continue;
        }
        if (eq != std::string::npos) {
            args.given_.emplace_back(o->name, w.substr(eq + 1));
            continue;
        }
        if (i + 1 >= words.size()) {
            fail(std::string(o->name) + " needs a value (" + std::string(o->valueName) + ")");
            continue;
        }
        if (words[i + 1] == kHelpOption || words[i + 1] == "-h") {
            // Help is recognised anywhere, also where a value was due.
            args.help_ = true;
            ++i;
            continue;
        }
        args.given_.emplace_back(o->name, words[++i]);
    }
    if (args.help_) return true;
    if (!firstError.empty()) {
        error = firstError;
        return false;
    }
    const auto n = static_cast<int>(args.operands_.size());
    if (n > entry.maxOperands) {
        const std::string& extra = args.operands_[static_cast<std::size_t>(entry.maxOperands)];
        error = entry.maxOperands == 0 ? "takes no arguments, got " + Quote(extra)
                                      : "too many arguments: " + Quote(extra) + " (usage: " +
                                            std::string(entry.name) + " " + std::string(entry.operands) + ")";
        return false;
    }
    if (n < entry.minOperands) {
        error = "needs " + std::string(entry.operands);
        return false;
    }
    return true;
}

bool NumberArg(const Args& args, std::string_view name, double& target, std::string& error) {
    const std::string* text = args.Value(name);
    if (!text) return true;
    const auto v = ParseNumber(*text);
    if (!v) {
        error = "not a number: " + Quote(*text) + " (for " + std::string(name) + ")";
        return false;
    }
    target = *v;
    return true;
}

bool NumberArg(const Args& args, std::string_view name, std::optional<double>& target, std::string& error) {
    if (!args.Has(name)) return true;
    double v = 0;
    if (!NumberArg(args, name, v, error)) return false;
    target = v;
    return true;
}

std::string CommandHelp(const CommandEntry& entry) {
    std::string out = "Usage: vexlin-cli [GLOBAL OPTIONS] ";
    out += entry.name;
    const std::vector<const CommandEntry*> subs = entry.run ? std::vector<const CommandEntry*>{} : Subcommands(entry.name);
    if (!subs.empty()) {
        out += " SUBCOMMAND [options]\n\n";
    } else {
        if (!entry.options.empty()) out += " [options]";
        if (!entry.operands.empty()) {
            out += ' ';
            out += entry.operands;
        }
        out += "\n\n";
    }
    std::size_t column = 0;
    AppendWrapped(out, entry.about, 0, column);
    out += "\n";
    if (!subs.empty()) {
        out += "\nSubcommands (\"vexlin-cli ";
        out += entry.name;
        out += " SUBCOMMAND --help\" describes each):\n";
        for (const CommandEntry* s : subs) AppendOptionLine(out, s->name.substr(entry.name.size() + 1), s->summary);
    }
    out += "\nOptions:\n";
    for (const OptionEntry& o : entry.options) AppendOptionLine(out, OptionWords(o), OptionHelp(o));
    AppendOptionLine(out, "--quiet, -q",
                     "no notes or warnings on standard error (faults found in figures already written, ignored "
                     "bytes, a saved faulty design); messages of a run that writes nothing (usage errors, files "
                     "that cannot be read or written, a design refused as not usable) are still written");
    AppendOptionLine(out, "--help, -h", "show this help (anywhere on the line)");
    AppendOptionLine(out, "--", "ends the options: every word after it is an argument (a file name may then "
                                "start with \"-\")");
    out += "\nGlobal options (before the command): --design FILE (\"-\" reads standard input),\n"
           "--set FIELD=VALUE, --set-file FILE; see \"vexlin-cli --help\".\n";
    if (!entry.examples.empty()) {
        out += "\nExamples:\n";
        std::string_view ex = entry.examples;
        while (!ex.empty()) {
            const auto end = ex.find('\n');
            out += "  ";
            out += ex.substr(0, end);
            out += '\n';
            ex = end == std::string_view::npos ? std::string_view{} : ex.substr(end + 1);
        }
    }
    out += '\n';
    out += kExitStatusHelp;
    return out;
}

std::string ProgramHelp() {
    std::string out =
        "Usage: vexlin-cli [GLOBAL OPTIONS] COMMAND [options] [arguments]\n"
        "       vexlin-cli help COMMAND\n\n";
    AppendWrapped(out,
                  "Runs the Vexlin valve gear model without windows. The design starts from the program "
                  "defaults; --design opens a dimension data file (.vxd) over them, and each --set changes "
                  "one dimension (FIELD is its field name as \"dims\" lists it, in any case, or its id "
                  "number, e.g. --set stroke=3.25). After any change the mid-gear position is found again.",
                  0, 0);
    out += "\n\nCommands (\"vexlin-cli COMMAND --help\" or \"vexlin-cli help COMMAND\" describes each):\n";
    for (const CommandEntry& c : AllCommands()) {
        if (c.name.find(' ') != std::string_view::npos) continue;
        std::string words(c.name);
        if (!c.run) words += " SUBCOMMAND";
        else if (!c.operands.empty()) {
            words += ' ';
            words += c.operands;
        }
        AppendOptionLine(out, words, c.summary);
    }
    out += "\nGlobal options (before the command):\n";
    AppendOptionLine(out, "--design FILE", "open a dimension data file first; \"-\" reads it from standard input");
    AppendOptionLine(out, "--set FIELD=VALUE", "set one dimension; may be repeated");
    AppendOptionLine(out, "--set-file FILE",
                     "set the dimensions of a file of FIELD=VALUE lines (\"#\" starts a comment); may be "
                     "repeated, and applies in turn with the --set options");
    AppendOptionLine(out, "--quiet, -q",
                     "no notes or warnings on standard error; errors of a run that writes nothing are still written");
    AppendOptionLine(out, "--help, -h", "show this help");
    AppendOptionLine(out, "--version, -V", "show the version");
    out += "\nNumbers are read and written with a decimal point whatever the locale;\n"
           "\"nan\" and \"inf\" are accepted. Figures are written in the shortest form\n"
           "that reads back as the same 32-bit value.\n\n";
    out += kExitStatusHelp;
    return out;
}

const CommandEntry* FindCommand(std::string_view name) {
    for (const CommandEntry& c : AllCommands())
        if (c.name == name) return &c;
    return nullptr;
}

std::vector<const CommandEntry*> Subcommands(std::string_view group) {
    std::vector<const CommandEntry*> subs;
    for (const CommandEntry& c : AllCommands())
        if (c.name.size() > group.size() + 1 && c.name.substr(0, group.size()) == group &&
            c.name[group.size()] == ' ')
            subs.push_back(&c);
    return subs;
}

} // namespace vx::cli
