#include "cli/diagram_command.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "cli/option_values.h"
#include "cli/output_path.h"
#include "cli/text_io.h"
#include "model/workspace/dimension_edit.h"

namespace vx::cli {

bool ReadDiagramOptions(const Args& args, DiagramOptions& o, std::string& error) {
    error.clear();
    const std::string_view name = args.Command();
    o.diagram = FindDiagram(name.substr(name.find(' ') + 1));
    o.data = args.Has("--data");
    o.samples = args.Has("--samples");
    const bool haveOut = args.Value("--out") != nullptr;
    if (!ReadOutOption(args, false, o.out, error)) return false;
    if (haveOut && !ReadPictureKind(o.out, o.kind, error)) return false;
    if (const std::string* value = args.Value("--positions")) {
        std::vector<double> list;
        if (!ReadOffsets(*value, static_cast<std::size_t>(kRevArmPositions), list, error)) return false;
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
    // Options the diagram asked for does not use are refused, not ignored.
    const std::string_view kind = name.substr(name.find(' ') + 1);
    if (kind != "ports" && args.Has("--mode")) {
        error = "--mode is for the ports diagram only";
        return false;
    }
    if (kind != "sine" && kind != "oval" && args.Has("--scale")) {
        error = "--scale is for the sine and oval diagrams only";
        return false;
    }
    if (kind == "ports" && args.Has("--positions")) {
        error = "--positions is not used by the ports diagram (it draws every reverse arm row)";
        return false;
    }
    if (haveOut == o.data) {
        error = haveOut ? "give either --out FILE or --data, not both" : "--out FILE or --data is required";
        return false;
    }
    if (o.samples && (!o.data || !o.diagram->hasSamples)) {
        error = "--samples goes with --data, for the sine and oval diagrams";
        return false;
    }
    return true;
}

namespace {

// Sets the list of positions and the vertical scale as the positions dialog
// would leave them.
void ApplyDiagramOptions(GearState& g, const DiagramOptions& o) {
    RevArmPositionList& list = g.revArm;
    if (o.positions) {
        const double centre = list.centre;
        const std::size_t n = o.positions->size();
        for (std::size_t k = 1; k <= static_cast<std::size_t>(kRevArmPositions); ++k) {
            if (k > n) {
                list.position[k] = 0;
                continue;
            }
            const auto v = ToModelFloat(centre + (*o.positions)[k - 1]);
            // Mid gear itself stays; the others take the dialog's limit.
            list.position[k] = (*o.positions)[k - 1] != 0 ? HeldInTravel(g, v) : v;
        }
        list.positionCount = static_cast<int>(n);
    } else {
        // Positions 1..3 as the mid-gear search left them.
        list.positionCount = 3;
    }
    if (o.scale) list.verticalScale = std::max(ToModelFloat(*o.scale), 0.1f);
}

} // namespace

int RunDiagramCommand(CommandContext& ctx, const DiagramOptions& o) {
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
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
        return ctx.CannotRun(Clause(failure.toStdString()));
    return kExitOk;
}

} // namespace vx::cli
