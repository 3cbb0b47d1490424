#include "scene/diagrams/valve_events_drawing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/table_drawing.h"
#include "base/fixed_format.h"
#include "model/analysis/valve_events_text.h"

namespace vx {
namespace {

inline constexpr Rgb kHighlightInk = colors::kRed;
inline constexpr Rgb kHighlightGround = colors::kYellow;
inline constexpr Rgb kFrontInk = colors::kGreen;
inline constexpr Rgb kRearInk = colors::kMaroon;

// One column: its heading (two lines), width in character cells, and what
// it shows for one position.
enum class Cell {
    Number, Position, Direction,
    CutOffF, CutOffR, CutOffD, ReleaseF, ReleaseR, ReleaseD, CompF, CompR, AdmF, AdmR, LeadF, LeadR, LeadD,
    Travel, DieSlip,
    AdmAngF, AdmAngR, CutAngF, CutAngR, RelAngF, RelAngR, CompAngF, CompAngR,
    MaxSteamF, MaxSteamR, MaxExhF, MaxExhR, SteamOpensF, SteamOpensR, ExhOpensF, ExhOpensR,
};

constexpr TableColumn Col(const char* group, const char* label, Cell cell, int cells) {
    return {group, label, cells, static_cast<int>(cell)};
}

constexpr TableColumn kTravelColumns[] = {
    Col("", "No.", Cell::Number, 3),        Col("Reverse", "arm", Cell::Position, 8),
    Col("", "", Cell::Direction, 4),        Col("Cut-off %", "front", Cell::CutOffF, 7),
    Col("", "rear", Cell::CutOffR, 7),      Col("", "F-R", Cell::CutOffD, 7),
    Col("Release %", "front", Cell::ReleaseF, 7), Col("", "rear", Cell::ReleaseR, 7),
    Col("", "F-R", Cell::ReleaseD, 7),      Col("Compression %", "front", Cell::CompF, 7),
    Col("", "rear", Cell::CompR, 7),        Col("Admission %", "front", Cell::AdmF, 7),
    Col("", "rear", Cell::AdmR, 7),         Col("Lead", "front", Cell::LeadF, 8),
    Col("", "rear", Cell::LeadR, 8),        Col("", "F-R", Cell::LeadD, 8),
    Col("Valve", "travel", Cell::Travel, 8), Col("Die", "slip", Cell::DieSlip, 8),
};

constexpr TableColumn kAngleColumns[] = {
    Col("", "No.", Cell::Number, 3),          Col("Admission deg", "front", Cell::AdmAngF, 8),
    Col("", "rear", Cell::AdmAngR, 8),        Col("Cut-off deg", "front", Cell::CutAngF, 8),
    Col("", "rear", Cell::CutAngR, 8),        Col("Release deg", "front", Cell::RelAngF, 8),
    Col("", "rear", Cell::RelAngR, 8),        Col("Compression deg", "front", Cell::CompAngF, 8),
    Col("", "rear", Cell::CompAngR, 8),       Col("Max steam opening", "front", Cell::MaxSteamF, 9),
    Col("", "rear", Cell::MaxSteamR, 9),      Col("Max exhaust opening", "front", Cell::MaxExhF, 9),
    Col("", "rear", Cell::MaxExhR, 9),        Col("Steam opens", "front", Cell::SteamOpensF, 6),
    Col("", "rear", Cell::SteamOpensR, 6),    Col("Exhaust opens", "front", Cell::ExhOpensF, 6),
    Col("", "rear", Cell::ExhOpensR, 6),
};

// What a cell shows: its text, and whether it is flagged.
struct CellText {
    char buf[kNumberBuffer];
    std::string_view text;
    bool flagged = false;
};

void Number(CellText& t, std::optional<double> v, int decimals) {
    if (!v) {
        t.text = "-";
        return;
    }
    t.text = FormatFixed(t.buf, *v, 0, decimals);
}

std::optional<double> Opt(const std::optional<double>& v) {
    if (!v) return std::nullopt;
    return static_cast<double>(*v);
}

std::optional<double> Diff(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a || !b) return std::nullopt;
    return static_cast<double>(*a) - static_cast<double>(*b);
}

void Fill(CellText& t, Cell cell, const PositionEvents& e, int number, const EventThresholds& th) {
    const EndEvents& f = e.front;
    const EndEvents& r = e.rear;
    const auto diff = [&](std::optional<double> d, double limit) {
        Number(t, d, limit == th.lead ? 5 : 4);
        t.flagged = d && OverThreshold(*d, limit);
    };
    const auto count = [&](int n) {
        const auto r = std::to_chars(t.buf, t.buf + sizeof t.buf, n);
        t.text = {t.buf, static_cast<std::size_t>(r.ptr - t.buf)};
    };
    switch (cell) {
    case Cell::Number: count(number); break;
    case Cell::Position: Number(t, static_cast<double>(e.position), 4); break;
    case Cell::Direction: t.text = e.forward ? "Fwd" : "Rev"; break;
    case Cell::CutOffF: Number(t, Opt(f.cutOff), 2); break;
    case Cell::CutOffR: Number(t, Opt(r.cutOff), 2); break;
    case Cell::CutOffD: diff(Diff(f.cutOff, r.cutOff), th.percent); break;
    case Cell::ReleaseF: Number(t, Opt(f.release), 2); break;
    case Cell::ReleaseR: Number(t, Opt(r.release), 2); break;
    case Cell::ReleaseD: diff(Diff(f.release, r.release), th.percent); break;
    case Cell::CompF: Number(t, Opt(f.compression), 2); break;
    case Cell::CompR: Number(t, Opt(r.compression), 2); break;
    case Cell::AdmF: Number(t, Opt(f.admission), 2); break;
    case Cell::AdmR: Number(t, Opt(r.admission), 2); break;
    case Cell::LeadF: Number(t, static_cast<double>(f.lead), 5); break;
    case Cell::LeadR: Number(t, static_cast<double>(r.lead), 5); break;
    case Cell::LeadD: diff(static_cast<double>(f.lead) - static_cast<double>(r.lead), th.lead); break;
    case Cell::Travel: Number(t, static_cast<double>(e.valveTravel), 5); break;
    case Cell::DieSlip: Number(t, static_cast<double>(e.dieSlip), 5); break;
    case Cell::AdmAngF: Number(t, Opt(f.admissionAngle), 2); break;
    case Cell::AdmAngR: Number(t, Opt(r.admissionAngle), 2); break;
    case Cell::CutAngF: Number(t, Opt(f.cutOffAngle), 2); break;
    case Cell::CutAngR: Number(t, Opt(r.cutOffAngle), 2); break;
    case Cell::RelAngF: Number(t, Opt(f.releaseAngle), 2); break;
    case Cell::RelAngR: Number(t, Opt(r.releaseAngle), 2); break;
    case Cell::CompAngF: Number(t, Opt(f.compressionAngle), 2); break;
    case Cell::CompAngR: Number(t, Opt(r.compressionAngle), 2); break;
    case Cell::MaxSteamF: Number(t, static_cast<double>(f.maxSteamOpening), 5); break;
    case Cell::MaxSteamR: Number(t, static_cast<double>(r.maxSteamOpening), 5); break;
    case Cell::MaxExhF: Number(t, static_cast<double>(f.maxExhaustOpening), 5); break;
    case Cell::MaxExhR: Number(t, static_cast<double>(r.maxExhaustOpening), 5); break;
    case Cell::SteamOpensF: count(f.steamOpenings); t.flagged = f.steamOpenings > 1; break;
    case Cell::SteamOpensR: count(r.steamOpenings); t.flagged = r.steamOpenings > 1; break;
    case Cell::ExhOpensF: count(f.exhaustOpenings); t.flagged = f.exhaustOpenings > 1; break;
    case Cell::ExhOpensR: count(r.exhaustOpenings); t.flagged = r.exhaustOpenings > 1; break;
    }
}

// One table: a title, the heading, a row per position and a rule under it.
// Returns the y below it.
int DrawTable(Canvas& c, std::span<const TableColumn> cols, const char* title, std::span<const PositionEvents> events,
              const EventThresholds& th, int left, int top, int px) {
    c.Text(left, top, title, SansStyle(px, colors::kBlack, true));
    const int y = DrawTableHeading(c, cols, events.size(), TableInks{kFrontInk, kRearInk}, left,
                                   top + TableLineHeight(px) + 2, px);
    return DrawTableRows(c, cols, events.size(), left, y, px,
                         [&](std::size_t row, const TableColumn& col, const TableCellBox& box) {
                             CellText t;
                             Fill(t, static_cast<Cell>(col.figure), events[row], static_cast<int>(row) + 1, th);
                             TextStyle s = SansStyle(px);
                             if (t.flagged) {
                                 s.color = kHighlightInk;
                                 s.bold = true;
                                 s.opaque = true;
                                 s.background = kHighlightGround;
                             }
                             DrawTableFigure(c, box, t.text, s);
                         });
}

} // namespace

bool OverThreshold(double d, double limit) { return std::fabs(d) > limit; }

int ValveEventsTablesWidth(int pixelSize) {
    return std::max(TableWidth(kTravelColumns, pixelSize), TableWidth(kAngleColumns, pixelSize));
}

int DrawValveEventsTables(Canvas& c, std::span<const PositionEvents> events, const EventThresholds& thresholds,
                          int left, int top, int pixelSize) {
    int y = DrawTable(c, kTravelColumns, "Piston travel at the events, percent of stroke from each end's dead centre",
                      events, thresholds, left, top, pixelSize);
    y += pixelSize;
    y = DrawTable(c, kAngleColumns, "Crank angles of the events, largest openings, openings per turn", events,
                  thresholds, left, y, pixelSize);
    return y;
}

void DrawValveEventsPicture(const GearState& g, Canvas& c, std::span<const PositionEvents> events,
                            const EventThresholds& thresholds) {
    constexpr int kPx = 11;
    constexpr int kLeft = 8;
    int y = DrawValveEventsTables(c, events, thresholds, kLeft, 72, kPx);

    // The thresholds and what the colours mean.
    char a[kNumberBuffer], b[kNumberBuffer];
    std::string note = "In red on yellow: front minus rear over ";
    note += FormatFixed(a, thresholds.percent, 0, 2);
    note += " % of stroke (cut-off, release) or ";
    note += FormatFixed(b, thresholds.lead, 0, 4);
    note += " (lead), and a port opening more than once a turn, are marked";
    y += 4;
    c.Text(kLeft, y, note, SansStyle(kPx));
    y += kPx + 6;
    for (const PositionEvents& e : events) {
        if (e.Closes()) continue;
        c.Text(kLeft, y, ValveEventsErrorText(e), SansStyle(kPx, colors::kRed));
        y += kPx + 4;
    }
    DrawDynVarBlock(g, c);
}

} // namespace vx
