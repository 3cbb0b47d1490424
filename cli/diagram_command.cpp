#include "cli/diagram_command.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "export/picture_file.h"

namespace vx::cli {
namespace {

constexpr std::string_view kDiagramHelp =
    R"(Usage: vexlin-cli [--design FILE] [--set FIELD=VALUE]... diagram NAME (--out FILE | --data) [options]

Draws one valve diagram of the design as its window draws it, from the
design's start-up state. NAME is sine, oval, steam, ports or work (the
indicator cards of the positions with the default settings of "work").

Options:
  --out FILE            the picture file: PNG, SVG or PDF by the suffix of FILE
                        (.png, .svg, .pdf; PNG when it has no suffix; "-"
                        writes to standard output)
  --data                instead of a picture, the figures behind it as CSV on
                        standard output (header line first, 4 decimals, an
                        empty field where there is no figure)
  --positions O1,O2,..  up to 9 reverse arm positions as offsets from mid
                        gear (default 0,-Norm,+Norm: mid gear, normal full
                        forward, normal full reverse); each is limited to mid
                        gear +- the maximum travel; an empty list draws no
                        curves. Not used by ports; work draws the cards of
                        these positions.
  --samples             sine and oval with --data: the drawn valve travel
                        points (position, driver angle, valve travel and the
                        point on the picture) instead of the lead and lap
                        figures
  --mode M              ports only: forward, reverse or both (default both);
                        its --data gives each row's mode and the events in
                        percent of the stroke, a front port's from the
                        forward end and a rear port's from the other end,
                        as the axis reads
  --scale S             vertical scale of the sine and oval diagrams
                        (default: the design's; at least 0.1)
)";

int UsageError(std::ostream& err, const std::string& message) {
    err << "vexlin-cli: diagram: " << message << "\nTry 'vexlin-cli diagram --help'.\n";
    return kExitUsage;
}

int WriteFailure(std::ostream& err, const std::string& message) {
    err << "vexlin-cli: diagram: " << message << "\n";
    return kExitFailure;
}

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

bool ParseDiagramOptions(const std::vector<std::string>& args, DiagramOptions& o, std::string& error) {
    error.clear();
    if (args.empty()) {
        error = "which diagram? (" + DiagramNames() + ")";
        return false;
    }
    o.diagram = FindDiagram(args[0]);
    if (!o.diagram) {
        error = "unknown diagram " + Quote(args[0]) + " (" + DiagramNames() + ")";
        return false;
    }
    bool haveOut = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (args[i] == "--data") {
            o.data = true;
            continue;
        }
        if (args[i] == "--samples") {
            o.samples = true;
            continue;
        }
        if (TakeOutOption(args, i, o.out, error)) {
            if (!error.empty()) return false;
            haveOut = true;
            continue;
        }
        if (TakeOption(args, i, "--positions", value)) {
            if (!value) {
                error = "--positions needs a list of offsets";
                return false;
            }
            std::vector<double> list;
            if (!ParsePositions(*value, list, error)) return false;
            o.positions = std::move(list);
            continue;
        }
        if (TakeOption(args, i, "--mode", value)) {
            if (value && *value == "forward") o.mode = PortGraphMode::Forward;
            else if (value && *value == "reverse") o.mode = PortGraphMode::Reverse;
            else if (value && *value == "both") o.mode = PortGraphMode::Both;
            else {
                error = "--mode needs forward, reverse or both";
                return false;
            }
            continue;
        }
        if (TakeOption(args, i, "--scale", value)) {
            const auto v = value ? ParseNumber(*value) : std::nullopt;
            if (!v || !std::isfinite(*v)) {
                error = "--scale needs a finite number";
                return false;
            }
            o.scale = *v;
            continue;
        }
        error = "unknown option " + Quote(args[i]);
        return false;
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

int RunDiagram(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out << kDiagramHelp;
        return kExitOk;
    }
    DiagramOptions o;
    std::string error;
    if (!ParseDiagramOptions(args, o, error)) return UsageError(err, error);
    ApplyDiagramOptions(g, o);
    DiagramRequest request;
    request.mode = o.mode;
    request.samples = o.samples;

    if (o.data) {
        std::string csv;
        o.diagram->data(g, request, csv);
        out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
        out.flush();
        if (!out) return WriteFailure(err, "cannot write the output");
        return kExitOk;
    }
    if (const QString failure =
            WritePicture(QString::fromStdString(o.out), *PictureKindOf(o.out), DiagramPicture(g, *o.diagram, request));
        !failure.isEmpty())
        return WriteFailure(err, failure.toStdString());
    return kExitOk;
}

} // namespace vx::cli
