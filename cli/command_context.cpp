#include "cli/command_context.h"

#include <cerrno>
#include <cstring>
#include <iterator>

#include "cli/field_reader.h"
#include "cli/text_io.h"
#include "data/dimension_file.h"
#include "model/workspace/defaults.h"
#include "model/gear/design_validity.h"
#include "model/gear/dimensions.h"

namespace vx::cli {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// The largest --set-file read: far more than 54 lines of FIELD=VALUE need.
constexpr std::size_t kMostSetFileBytes = 1 << 20;

std::string ErrnoReason(int e) { return e != 0 ? std::strerror(e) : "the system gave no reason"; }

} // namespace

bool ParseSetText(std::string_view text, DesignSource::Change& change, std::string& error) {
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) {
        error = "--set needs FIELD=VALUE, got " + Quote(text);
        return false;
    }
    const std::string_view field = Trim(text.substr(0, eq));
    const std::string_view valueText = Trim(text.substr(eq + 1));
    const DimensionInfo* d = ReadField(field);
    if (!d) {
        error = UnknownFieldMessage(field);
        return false;
    }
    std::string why;
    const auto v = ParseModelValue(valueText, why);
    if (!v) {
        error = why + ": " + Quote(valueText) + " (for " + std::string(d->field) + ")";
        return false;
    }
    change = {d->id, *v, {}};
    return true;
}

bool ParseSetFileText(std::string_view text, std::vector<DesignSource::Change>& changes, std::string& error) {
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (const auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        line = Trim(line);
        if (line.empty()) continue;
        DesignSource::Change change;
        std::string why;
        if (!ParseSetText(line, change, why)) {
            if (why.rfind("--set needs", 0) == 0) why = "needs FIELD=VALUE, got " + Quote(line);
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        }
        changes.push_back(change);
    }
    return true;
}

std::string Clause(std::string_view message) {
    std::string s(message);
    if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z' && !(s.size() > 1 && s[1] >= 'A' && s[1] <= 'Z'))
        s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
}

CommandContext::CommandContext(const CommandEntry& entry, const Args& args, const DesignSource& source,
                               std::istream& in, std::ostream& out, std::ostream& err)
    : entry(entry), args(args), in(in), out(out), err(err), source_(&source) {}

CommandContext::CommandContext(const CommandEntry& entry, const Args& args, GearState& design, std::istream& in,
                               std::ostream& out, std::ostream& err)
    : entry(entry), args(args), in(in), out(out), err(err), given_(&design) {}

CommandContext::~CommandContext() = default;

std::unique_ptr<GearState> CommandContext::Make(const std::optional<std::string>& path, int& exitCode) {
    exitCode = kExitOk;
    auto g = std::make_unique<GearState>();
    lastSearch_ = StartUp(*g);
    if (path) {
        FileResult r;
        if (*path == "-") {
            std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            if (in.bad()) {
                exitCode = CannotRun("cannot read the design from standard input: " + ErrnoReason(errno));
                return nullptr;
            }
            r = OpenDesignBytes(*g, bytes, "standard input");
        } else {
            r = OpenDesign(*g, *path);
        }
        if (!r.ok) {
            exitCode = CannotRun(Clause(r.error));
            return nullptr;
        }
        lastSearch_ = r.midGear;
        const std::string label = *path == "-" ? std::string("standard input") : Quote(*path);
        if (r.trailingBytes)
            Note(label + ": the bytes after the design's first " + std::to_string(kDesignFileSize) + " were ignored");
        // A file whose own values fail the gate is not a design at all.
        if (const DesignFault fault = CheckDesignValidity(*g); fault.Any())
            notDesign_.push_back({g.get(), label + " does not hold a usable design: " + DescribeDesignFault(fault)});
    }
    if (!source_) return g;
    bool changed = false;
    for (const DesignSource::Change& c : source_->changes) {
        if (c.file.empty()) {
            CommitDimension(*g, c.id, c.value);
            changed = true;
            continue;
        }
        std::string text;
        if (const std::string reason = ReadSmallFile(c.file, kMostSetFileBytes, text); !reason.empty()) {
            exitCode = CannotRun("cannot read the --set-file " + Quote(c.file) + ": " + reason);
            return nullptr;
        }
        std::vector<DesignSource::Change> lines;
        std::string error;
        if (!ParseSetFileText(text, lines, error)) {
            exitCode = Usage("--set-file " + Quote(c.file) + ": " + error);
            return nullptr;
        }
        for (const DesignSource::Change& line : lines) CommitDimension(*g, line.id, line.value);
        changed = changed || !lines.empty();
    }
    if (changed) lastSearch_ = FindMidGear(*g);
    return g;
}

GearState* CommandContext::Design() {
    if (given_) return given_;
    if (!tried_) {
        tried_ = true;
        own_ = Make(source_ ? source_->path : std::nullopt, designExit_);
    }
    return own_.get();
}

std::unique_ptr<GearState> CommandContext::OpenDesignAt(const std::string& path, int& exitCode) {
    return Make(path, exitCode);
}

GearState* CommandContext::ValidDesign() {
    GearState* g = Design();
    if (!g) return nullptr;
    if (GateDesign(*g) != kExitOk) {
        designExit_ = kExitFault;
        return nullptr;
    }
    return g;
}

int CommandContext::GateDesign(const GearState& g) {
    const DesignFault fault = CheckDesignValidity(g);
    if (!fault.Any()) return kExitOk;
    for (const auto& [design, message] : notDesign_)
        if (design == &g) return Refuse(message);
    return Refuse("the design is not usable: " + DescribeDesignFault(fault));
}

int CommandContext::Refuse(std::string_view message) {
    err << "vexlin-cli: " << entry.name << ": " << message << "\n";
    return kExitFault;
}

int CommandContext::Usage(std::string_view message) {
    err << "vexlin-cli: " << entry.name << ": " << message << "\nTry 'vexlin-cli " << entry.name << " --help'.\n";
    return kExitUsage;
}

int CommandContext::CannotRun(std::string_view message) {
    err << "vexlin-cli: " << entry.name << ": " << message << "\n";
    return kExitCannotRun;
}

int CommandContext::Fault(std::string_view message) {
    Note(message);
    return kExitFault;
}

void CommandContext::Note(std::string_view message) {
    if (!Quiet()) err << "vexlin-cli: " << entry.name << ": " << message << "\n";
}

void CommandContext::Say(std::string_view line) {
    if (!Quiet()) err << line << "\n";
}

bool CommandContext::Write(std::string_view text) {
    errno = 0;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (out) return true;
    const int e = errno;
    err << "vexlin-cli: " << entry.name << ": cannot write the output: " << ErrnoReason(e) << "\n";
    return false;
}

} // namespace vx::cli
