#include "cli/diagram_command.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "cli/commands.h"
#include "cli/output_path.h"
#include "cli/text_io.h"
#include "export/picture_file.h"

namespace vx::cli {
namespace {

std::string DiagramNames() {
    std::string names;
    for (const DiagramEntry& d : AllDiagrams()) {
        if (!names.empty()) names += ", ";
        names += d.name;
    }
    return names;
}

bool ParsePositions(const std::string& text, std::vector<double>& list, std::string& error) {
    list.clear();
    if (text.empty()) return true;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string word = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto v = ParseNumber(word);
        if (!v || !std::isfinite(*v)) {
            error = "--positions: not a finite number: " + Quote(word);
            return false;
        }
        list.push_back(*v);
        if (list.size() > static_cast<std::size_t>(kRevArmPositions)) {
            error = "--positions: at most " + std::to_string(kRevArmPositions) + " positions";
            return false;
        }
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

} // namespace

bool ReadDiagramOptions(const DiagramEntry& diagram, const Args& args, DiagramOptions& o, std::string& error) {
    error.clear();
    o.diagram = &diagram;
    o.data = args.Has("--data");
    o.samples = args.Has("--samples");
    const bool haveOut = args.Value("--out") != nullptr;
    if (!ReadOutOption(args, false, o.out, error)) return false;
    if (haveOut && !ReadPictureKind(o.out, o.kind, error)) return false;
    if (const std::string* value = args.Value("--positions")) {
        std::vector<double> list;
        if (!ParsePositions(*value, list, error)) return false;
        o.positions = std::move(list);
    }
    if (const std::string* value = args.Value("--mode")) {
        if (*value == "forward") o.mode = PortGraphMode::Forward;
        else if (*value == "reverse") o.mode = PortGraphMode::Reverse;
        else if (*value == "both") o.mode = PortGraphMode::Both;
        else {
            error = "--mode needs forward, reverse or both";
            return false;
        }
    }
    if (const std::string* value = args.Value("--scale")) {
        const auto v = ParseNumber(*value);
        if (!v || !std::isfinite(*v)) {
            error = "--scale needs a finite number";
            return false;
        }
        o.scale = *v;
    }
    if (haveOut == o.data) {
        error = haveOut ? "give either --out FILE or --data, not both" : "--out FILE or --data is required";
        return false;
    }
    if (haveOut && !PictureKindOf(o.out)) {
        error = "--out " + Quote(o.out) + ": unknown kind of picture " + Quote(std::string(FileSuffix(o.out))) +
                "; the kinds are " + std::string(PictureKindNames());
        return false;
    }
    if (o.samples && (!o.data || !o.diagram->hasSamples)) {
        error = "--samples goes with --data, for the sine and oval diagrams";
        return false;
    }
    return true;
}

bool ParseDiagramOptions(const std::vector<std::string>& args, DiagramOptions& o, std::string& error) {
    const DiagramEntry* diagram = args.empty() ? nullptr : FindDiagram(args[0]);
    const CommandEntry* entry = args.empty() ? nullptr : FindCommand("diagram " + args[0]);
    if (!diagram || !entry) {
        error = args.empty() ? "which diagram? (" + DiagramNames() + ")"
                             : "unknown diagram " + Quote(args[0]) + " (" + DiagramNames() + ")";
        return false;
    }
    Args parsed;
    if (!ParseArgs(*entry, std::span<const std::string>(args).subspan(1), parsed, error)) return false;
    return ReadDiagramOptions(*diagram, parsed, o, error);
}

void ApplyDiagramOptions(GearState& g, const DiagramOptions& o) {
    RevArmPositionList& list = g.revArm;
    if (o.positions) {
        const double centre = list.centre;
        const double max = g.frame.revArmToCentMax;
        const std::size_t n = o.positions->size();
        for (std::size_t k = 1; k <= static_cast<std::size_t>(kRevArmPositions); ++k) {
            if (k > n) {
                list.position[k] = 0;
                continue;
            }
            auto v = ToModelFloat(centre + (*o.positions)[k - 1]);
            if ((*o.positions)[k - 1] != 0) {
                // The dialog's limit: mid gear +- the maximum travel.
                const auto lo = ToModelFloat(centre - max);
                const auto hi = ToModelFloat(centre + max);
                if (v < lo) v = lo;
                if (v > hi) v = hi;
            }
            list.position[k] = v;
        }
        list.positionCount = static_cast<int>(n);
    } else {
        // Positions 1..3 as the mid-gear search left them.
        list.positionCount = 3;
    }
    if (o.scale) list.verticalScale = std::max(ToModelFloat(*o.scale), 0.1f);
}

int RunDiagramCommand(CommandContext& ctx) {
    const std::string_view name = ctx.entry.name.substr(ctx.entry.name.find(' ') + 1);
    const DiagramEntry* diagram = FindDiagram(name);
    DiagramOptions o;
    std::string error;
    if (!diagram) return ctx.Usage("unknown diagram " + Quote(name));
    if (!ReadDiagramOptions(*diagram, ctx.args, o, error)) return ctx.Usage(error);
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    const auto WriteFailure = [&ctx](std::ostream&, const std::string& message) {
        return ctx.CannotRun(Clause(message));
    };
    std::ostream& err = ctx.err;
    ApplyDiagramOptions(g, o);
    DiagramRequest request;
    request.mode = o.mode;
    request.samples = o.samples;

    if (o.data) {
        std::string csv;
        o.diagram->data(g, request, csv);
        return ctx.WriteThen(csv, kExitOk);
    }
    if (const QString failure = WritePicture(QString::fromStdString(o.out), o.kind, DiagramPicture(g, *o.diagram, request));
        !failure.isEmpty())
        return WriteFailure(err, failure.toStdString());
    return kExitOk;
}

} // namespace vx::cli
