#include "diagrams/diagram_registry.h"

#include <charconv>
#include <cmath>

#include "diagrams/oval_diagram.h"
#include "diagrams/sine_diagram.h"
#include "platform/null_canvas.h"

namespace vx {
namespace {

void DrawSine(GearState& g, Canvas& c, const DiagramRequest&) { DrawSineDiagram(g, c); }
void DrawOval(GearState& g, Canvas& c, const DiagramRequest&) { DrawOvalDiagram(g, c); }

void AppendLeadLapCsv(const LeadLapTable& t, std::string& csv) {
    csv += "position,upperLead,frontLap,frontExhaustClearance,rearExhaustClearance,rearLap,lowerLead\n";
    for (int i = 0; i < t.count; ++i) {
        const LeadLapRow& r = t.rows[static_cast<std::size_t>(i)];
        AppendCsvNumber(csv, r.position);
        const LeadLapFigures& f = r.figures;
        for (const float v : {f.upperLead, f.frontLap, f.frontExhaustClearance, f.rearExhaustClearance, f.rearLap,
                              f.lowerLead}) {
            csv.push_back(',');
            if (r.hasFigures) AppendCsvNumber(csv, v);
        }
        csv.push_back('\n');
    }
}

void SineData(GearState& g, const DiagramRequest&, std::string& csv) {
    NullCanvas c(kDiagramWidth, kSineDiagramHeight);
    LeadLapTable t;
    DrawSineDiagram(g, c, &t);
    AppendLeadLapCsv(t, csv);
}

void OvalData(GearState& g, const DiagramRequest&, std::string& csv) {
    NullCanvas c(kDiagramWidth, kOvalDiagramHeight);
    LeadLapTable t;
    DrawOvalDiagram(g, c, &t);
    AppendLeadLapCsv(t, csv);
}

constexpr DiagramEntry kDiagrams[] = {
    {"sine", kDiagramWidth, kSineDiagramHeight, DrawSine, SineData},
    {"oval", kDiagramWidth, kOvalDiagramHeight, DrawOval, OvalData},
    // steam and ports rows follow here.
};

} // namespace

std::span<const DiagramEntry> AllDiagrams() { return kDiagrams; }

const DiagramEntry* FindDiagram(std::string_view name) {
    for (const DiagramEntry& d : kDiagrams)
        if (d.name == name) return &d;
    return nullptr;
}

void AppendCsvNumber(std::string& csv, double v) {
    if (std::isnan(v)) {
        csv += "nan";
        return;
    }
    if (std::isinf(v)) {
        csv += v > 0 ? "inf" : "-inf";
        return;
    }
    // std::to_chars ignores the process locale.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
    if (r.ec == std::errc()) csv.append(buf, static_cast<std::size_t>(r.ptr - buf));
    else csv += "nan";
}

} // namespace vx
