// vexlin-cli's front: the global options, finding the command in the
// table, reading its words against its entry and running it.
#include "cli/dispatch.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <span>
#include <sstream>
#include <string_view>

#include "cli/command_context.h"
#include "cli/gui_app.h"
#include "cli/text_io.h"

#ifndef VEXLIN_VERSION
#define VEXLIN_VERSION "unknown"
#endif

namespace vx::cli {
namespace {

constexpr std::string_view kProgram = "vexlin-cli";

struct Invocation {
    DesignSource source;
    bool quiet = false;
    std::vector<std::string> words; // the command and what follows it
};

// Writes a help or version text to out; kExitOk, or kExitCannotRun with the
// system's reason when it could not be written.
int WriteText(std::ostream& out, std::ostream& err, const std::string& text, std::string_view what) {
    errno = 0;
    out << text;
    out.flush();
    if (out) return kExitOk;
    const int e = errno;
    err << kProgram << ": cannot write the " << what << ": " << (e != 0 ? std::strerror(e) : "the output is closed") << "\n";
    return kExitCannotRun;
}

int GlobalUsageError(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << message << "\nTry '" << kProgram << " --help'.\n";
    return kExitUsage;
}

// Reads the words before the command. Returns an exit code when the run ends
// here (help, version, usage error), else nullopt.
std::optional<int> ParseInvocation(const std::vector<std::string>& args, Invocation& inv, std::ostream& out,
                                   std::ostream& err) {
    // --help works anywhere on the line: a bad global value before it does
    // not stop the help.
    bool helpLater = false;
    for (const std::string& a : args) {
        if (a == "--") break;
        if (a == "--help" || a == "-h") helpLater = true;
    }
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            return WriteText(out, err, ProgramHelp(), "help");
        }
        if (a == "--version" || a == "-V") {
            return WriteText(out, err, std::string(kProgram) + " " + VEXLIN_VERSION + "\n", "version");
        }
        if (a == "--quiet" || a == "-q") {
            inv.quiet = true;
            continue;
        }
        std::optional<std::string> value;
        if (TakeOption(args, i, "--design", value)) {
            if (!value || value->empty()) return GlobalUsageError(err, "--design needs a file name");
            if (inv.source.path) return GlobalUsageError(err, "--design given more than once");
            inv.source.path = *value;
            continue;
        }
        if (TakeOption(args, i, "--set", value)) {
            if (!value) return GlobalUsageError(err, "--set needs FIELD=VALUE");
            DesignSource::Change change;
            std::string error;
            if (!ParseSetText(*value, change, error)) {
                if (helpLater) continue;
                return GlobalUsageError(err, error);
            }
            inv.source.changes.push_back(change);
            continue;
        }
        if (TakeOption(args, i, "--set-file", value)) {
            if (!value || value->empty()) return GlobalUsageError(err, "--set-file needs a file name");
            DesignSource::Change change;
            change.file = *value;
            inv.source.changes.push_back(change);
            continue;
        }
        if (a == "--") {
            ++i;
            break;
        }
        if (!a.empty() && a[0] == '-') return GlobalUsageError(err, "unknown option " + Quote(a));
        break;
    }
    if (i >= args.size()) return GlobalUsageError(err, "no command given");
    inv.words.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return std::nullopt;
}

std::string SubcommandNames(const CommandEntry& group) {
    std::string names;
    for (const CommandEntry* s : Subcommands(group.name)) {
        if (!names.empty()) names += ", ";
        names += s->name.substr(group.name.size() + 1);
    }
    return names;
}

// Runs a command found in the table on its words.
int RunEntry(const CommandEntry& entry, const std::vector<std::string>& words, std::size_t used,
             const DesignSource* source, GearState* design, bool quiet, std::istream& in, std::ostream& out,
             std::ostream& err) {
    Args args;
    std::string error;
    const std::span<const std::string> rest(words.data() + used, words.size() - used);
    if (!ParseArgs(entry, rest, args, error)) {
        err << kProgram << ": " << entry.name << ": " << error << "\nTry '" << kProgram << " " << entry.name
            << " --help'.\n";
        return kExitUsage;
    }
    if (args.HelpAsked()) {
        return WriteText(out, err, CommandHelp(entry), "help");
    }
    if (!entry.run) {
        err << kProgram << ": " << entry.name << ": which one? (" << SubcommandNames(entry) << ")\nTry '" << kProgram
            << " " << entry.name << " --help'.\n";
        return kExitUsage;
    }
    if (!entry.usesDesign && source && source->path) {
        err << kProgram << ": " << entry.name << ": --design is not used: give the designs as arguments\nTry '"
            << kProgram << " " << entry.name << " --help'.\n";
        return kExitUsage;
    }
    std::optional<CommandContext> ctx;
    if (design)
        ctx.emplace(entry, args, *design, in, out, err);
    else
        ctx.emplace(entry, args, *source, in, out, err);
    ctx->SetQuiet(quiet);
    if (!entry.needsGui) return entry.run(*ctx);
    EnsureGuiApplication();
    const int code = entry.run(*ctx);
    ReleaseGuiApplication();
    return code;
}

// Finds the table entry of a command line's words (a group's subcommand
// included). Returns the entry and sets `used` to the number of words that
// named it; nullptr with the message in `error` when the words name no
// command (a group without its subcommand included).
const CommandEntry* FindCommandOf(const std::vector<std::string>& words, std::size_t& used, std::string& error) {
    used = 0;
    if (words.empty()) {
        error = "no command given";
        return nullptr;
    }
    const CommandEntry* entry = FindCommand(words[0]);
    if (!entry || words[0].find(' ') != std::string::npos) {
        error = "unknown command " + Quote(words[0]);
        return nullptr;
    }
    used = 1;
    if (entry->run) return entry;
    // A group: its subcommand is the first word that is not --help or --quiet.
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--help" || w == "-h" || w == "--quiet" || w == "-q") continue;
        if (const CommandEntry* sub = FindCommand(std::string(entry->name) + " " + w); sub && !w.empty() && w[0] != '-') {
            used = i + 1;
            // The words skipped before the subcommand stay with it.
            return sub;
        }
        const std::string names = SubcommandNames(*entry);
        error = std::string(entry->name) + ": " +
                (w.empty() || w[0] == '-' ? "which one? (" + names + ")"
                                          : "unknown subcommand " + Quote(w) + " (" + names + ")");
        return nullptr;
    }
    return entry; // the group alone: its help
}

// The words with the command's name first (a group and its subcommand),
// then the rest: words between a group and its subcommand (--help,
// --quiet) are read with the subcommand's own. Sets nameWords.
std::vector<std::string> NameFirst(const std::vector<std::string>& words, std::size_t used, std::size_t& nameWords) {
    nameWords = used > 1 ? 2 : 1;
    std::vector<std::string> out(words.begin(), words.begin() + 1);
    if (used > 1) {
        out.push_back(words[used - 1]);
        for (std::size_t i = 1; i + 1 < used; ++i) out.push_back(words[i]);
    }
    out.insert(out.end(), words.begin() + static_cast<std::ptrdiff_t>(used), words.end());
    return out;
}

int CommandNotFound(const std::vector<std::string>& words, const std::string& error, std::ostream& err) {
    const CommandEntry* group = words.empty() ? nullptr : FindCommand(words[0]);
    if (group && !group->run) {
        err << kProgram << ": " << error << "\nTry '" << kProgram << " " << group->name << " --help'.\n";
        return kExitUsage;
    }
    return GlobalUsageError(err, error);
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    Invocation inv;
    if (auto code = ParseInvocation(args, inv, out, err)) return *code;
    std::size_t used = 0;
    std::string error;
    const CommandEntry* entry = FindCommandOf(inv.words, used, error);
    if (!entry) return CommandNotFound(inv.words, error, err);
    std::size_t nameWords = 0;
    const std::vector<std::string> words = NameFirst(inv.words, used, nameWords);
    return RunEntry(*entry, words, nameWords, &inv.source, nullptr, inv.quiet, in, out, err);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCli(args, std::cin, out, err);
}

int RunCommandOn(GearState& g, const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::size_t used = 0;
    std::string error;
    const CommandEntry* entry = FindCommandOf(words, used, error);
    if (!entry) return CommandNotFound(words, error, err);
    std::size_t nameWords = 0;
    const std::vector<std::string> named = NameFirst(words, used, nameWords);
    std::istringstream none;
    return RunEntry(*entry, named, nameWords, nullptr, &g, false, none, out, err);
}

} // namespace vx::cli
