#include "scene/diagrams/diagram_registry.h"

#include <cmath>
#include <memory>
#include <string>

#include "scene/diagrams/oval_diagram.h"
#include "scene/diagrams/ports_drawing.h"
#include "scene/diagrams/sine_diagram.h"
#include "scene/diagrams/steam_drawing.h"
#include "scene/diagrams/work_drawing.h"
#include "model/analysis/work_text.h"
#include "base/fixed_format.h"
#include "platform/null_canvas.h"

namespace vx {
namespace {

void DrawSine(const GearState& g, Canvas& c, const DiagramRequest&) { DrawSineDiagram(g, c); }
void DrawOval(const GearState& g, Canvas& c, const DiagramRequest&) { DrawOvalDiagram(g, c); }

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

// The valve travel points of every curve: the position, the sample's driver
// angle and valve travel, and the point on the picture.
void AppendTravelPointsCsv(const LeadLapTable& t, std::string& csv) {
    csv += "position,angle,travel,x,y\n";
    for (int i = 0; i < t.count; ++i) {
        const LeadLapRow& r = t.rows[static_cast<std::size_t>(i)];
        for (int k = 0; k < r.pointCount; ++k) {
            const TravelPoint& p = r.points[static_cast<std::size_t>(k)];
            AppendCsvNumber(csv, r.position);
            for (const double v : {double{p.angle}, double{p.travel}}) {
                csv.push_back(',');
                AppendCsvNumber(csv, v);
            }
            for (const int v : {p.x, p.y}) {
                csv.push_back(',');
                csv += std::to_string(v);
            }
            csv.push_back('\n');
        }
    }
}

void SineData(const GearState& g, const DiagramRequest& r, std::string& csv) {
    NullCanvas c(kDiagramWidth, kSineDiagramHeight);
    auto t = std::make_unique<LeadLapTable>();
    DrawSineDiagram(g, c, t.get());
    if (r.samples) AppendTravelPointsCsv(*t, csv);
    else AppendLeadLapCsv(*t, csv);
}

void OvalData(const GearState& g, const DiagramRequest& r, std::string& csv) {
    NullCanvas c(kDiagramWidth, kOvalDiagramHeight);
    auto t = std::make_unique<LeadLapTable>();
    DrawOvalDiagram(g, c, t.get());
    if (r.samples) AppendTravelPointsCsv(*t, csv);
    else AppendLeadLapCsv(*t, csv);
}

void DrawSteam(const GearState& g, Canvas& c, const DiagramRequest&) { DrawSteamDiagram(g, c); }

void SteamData(const GearState& g, const DiagramRequest&, std::string& csv) {
    NullCanvas c(kDiagramWidth, kSteamDiagramHeight);
    SteamFigures f;
    DrawSteamDiagram(g, c, &f);
    csv += "position,frontCutOff,frontRelease,frontCompression,frontAdmission,"
           "rearCutOff,rearRelease,rearCompression,rearAdmission\n";
    for (int i = 0; i < f.count; ++i) {
        const SteamPositionFigures& r = f.positions[static_cast<std::size_t>(i)];
        AppendCsvNumber(csv, r.position);
        for (int k = 0; k < kSteamFigureCount; ++k) {
            csv.push_back(',');
            if (r.found[static_cast<std::size_t>(k)]) AppendCsvNumber(csv, r.percent[static_cast<std::size_t>(k)]);
        }
        csv.push_back('\n');
    }
}

void DrawPorts(const GearState& g, Canvas& c, const DiagramRequest& r) { DrawPortGraphs(g, c, r.mode); }

void PortsData(const GearState& g, const DiagramRequest& r, std::string& csv) {
    NullCanvas c(kDiagramWidth, kPortDiagramHeight);
    PortGraphFigures forward, reverse;
    DrawPortGraphs(g, c, r.mode, &forward, &reverse);
    // The events in percent of the stroke as the axis reads them: a front
    // port's from the forward end, a rear port's from the other end.
    csv += "mode,row,position,fstOpen,fexOpen,rstOpen,rexOpen,fstClose,fexClose,rstClose,rexClose\n";
    const auto rows = [&csv](const PortGraphFigures& f, const char* mode) {
        for (int i = 0; i < kPortRows; ++i) {
            const PortEventRow& row = f.rows[static_cast<std::size_t>(i)];
            csv += mode;
            csv.push_back(',');
            csv += std::to_string(i);
            csv.push_back(',');
            AppendCsvNumber(csv, row.position);
            for (int e = 0; e < kPortEventCount; ++e) {
                csv.push_back(',');
                if (!row.found[static_cast<std::size_t>(e)]) continue;
                const double p = row.crossing[static_cast<std::size_t>(e)];
                AppendCsvNumber(csv, IsFrontPortEvent(e) ? p / 6.4 : (640 - p) / 6.4);
            }
            csv.push_back('\n');
        }
    };
    if (r.mode != PortGraphMode::Reverse) rows(forward, "forward");
    if (r.mode != PortGraphMode::Forward) rows(reverse, "reverse");
}

// The indicator cards of the listed positions and the economy curve of the
// notches, with the default settings.
void DrawWork(const GearState& g, Canvas& c, const DiagramRequest&) {
    auto scratch = std::make_unique<GearState>();
    auto t = std::make_unique<WorkTable>();
    ComputeWorkTable(*scratch, g, WorkSettings{}, *t);
    DrawWorkPicture(g, c, *t, WorkSettings{});
}

void WorkData(const GearState& g, const DiagramRequest&, std::string& csv) {
    auto scratch = std::make_unique<GearState>();
    auto t = std::make_unique<WorkTable>();
    ComputeWorkTable(*scratch, g, WorkSettings{}, *t);
    csv += WorkCsv(t->List(), t->ListEvents());
}

constexpr DiagramEntry kDiagrams[] = {
    {"sine", kDiagramWidth, kSineDiagramHeight, DrawSine, SineData, true},
    {"oval", kDiagramWidth, kOvalDiagramHeight, DrawOval, OvalData, true},
    {"steam", kDiagramWidth, kSteamDiagramHeight, DrawSteam, SteamData, false},
    {"ports", kDiagramWidth, kPortDiagramHeight, DrawPorts, PortsData, false},
    {"work", kWorkWindowWidth, kWorkWindowHeight, DrawWork, WorkData, false},
};

} // namespace

std::span<const DiagramEntry> AllDiagrams() { return kDiagrams; }

const DiagramEntry* FindDiagram(std::string_view name) {
    for (const DiagramEntry& d : kDiagrams)
        if (d.name == name) return &d;
    return nullptr;
}

void AppendCsvNumber(std::string& csv, double v) {
    char buf[kNumberBuffer];
    csv += FormatFixed(buf, v, 0, 4);
}

} // namespace vx
