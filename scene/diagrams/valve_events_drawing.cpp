#include "scene/diagrams/valve_events_drawing.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "scene/diagrams/diagram_common.h"
#include "model/fixed_format.h"
#include "model/valve_events_text.h"

namespace vx {
namespace {

inline constexpr Rgb kHighlightInk = colors::kRed;
inline constexpr Rgb kHighlightGround = colors::kYellow;
inline constexpr Rgb kFrontInk = colors::kGreen;
inline constexpr Rgb kRearInk = colors::kMaroon;

TextStyle Style(int px, Rgb color = colors::kBlack, bool bold = false) {
    TextStyle s;
    s.face = FontFace::Sans;
    s.pixelSize = px;
    s.bold = bold;
    s.color = color;
    return s;
}

// One column: its heading (two lines), width in character cells, and what
// it shows for one position.
enum class Cell {
    Number, Position, Direction,
    CutOffF, CutOffR, CutOffD, ReleaseF, ReleaseR, ReleaseD, CompF, CompR, AdmF, AdmR, LeadF, LeadR, LeadD,
    Travel, DieSlip,
    AdmAngF, AdmAngR, CutAngF, CutAngR, RelAngF, RelAngR, CompAngF, CompAngR,
    MaxSteamF, MaxSteamR, MaxExhF, MaxExhR, SteamOpensF, SteamOpensR, ExhOpensF, ExhOpensR,
};

struct Column {
    const char* group; // first heading line, over the columns that share it
    const char* label; // second heading line
    Cell cell;
    int cells; // width in digit cells
};

constexpr Column kTravelColumns[] = {
    {"", "No.", Cell::Number, 3},        {"Reverse", "arm", Cell::Position, 8},
    {"", "", Cell::Direction, 4},        {"Cut-off %", "front", Cell::CutOffF, 7},
    {"", "rear", Cell::CutOffR, 7},      {"", "F-R", Cell::CutOffD, 7},
    {"Release %", "front", Cell::ReleaseF, 7}, {"", "rear", Cell::ReleaseR, 7},
    {"", "F-R", Cell::ReleaseD, 7},      {"Compression %", "front", Cell::CompF, 7},
    {"", "rear", Cell::CompR, 7},        {"Admission %", "front", Cell::AdmF, 7},
    {"", "rear", Cell::AdmR, 7},         {"Lead", "front", Cell::LeadF, 8},
    {"", "rear", Cell::LeadR, 8},        {"", "F-R", Cell::LeadD, 8},
    {"Valve", "travel", Cell::Travel, 8}, {"Die", "slip", Cell::DieSlip, 8},
};

constexpr Column kAngleColumns[] = {
    {"", "No.", Cell::Number, 3},          {"Admission deg", "front", Cell::AdmAngF, 8},
    {"", "rear", Cell::AdmAngR, 8},        {"Cut-off deg", "front", Cell::CutAngF, 8},
    {"", "rear", Cell::CutAngR, 8},        {"Release deg", "front", Cell::RelAngF, 8},
    {"", "rear", Cell::RelAngR, 8},        {"Compression deg", "front", Cell::CompAngF, 8},
    {"", "rear", Cell::CompAngR, 8},       {"Max steam opening", "front", Cell::MaxSteamF, 9},
    {"", "rear", Cell::MaxSteamR, 9},      {"Max exhaust opening", "front", Cell::MaxExhF, 9},
    {"", "rear", Cell::MaxExhR, 9},        {"Steam opens", "front", Cell::SteamOpensF, 6},
    {"", "rear", Cell::SteamOpensR, 6},    {"Exhaust opens", "front", Cell::ExhOpensF, 6},
    {"", "rear", Cell::ExhOpensR, 6},
};

// What a cell shows: its text, and whether it is flagged.
struct CellText {
    char buf[kNumberBuffer];
    std::string_view text;
    bool flagged = false;
    Rgb ink = colors::kBlack;
};

void Number(CellText& t, std::optional<double> v, int decimals) {
    if (!v) {
        t.text = "-";
        return;
    }
    t.text = FormatFixed(t.buf, *v, 0, decimals);
}

std::optional<double> Opt(const std::optional<float>& v) {
    if (!v) return std::nullopt;
    return static_cast<double>(*v);
}

std::optional<double> Diff(const std::optional<float>& a, const std::optional<float>& b) {
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

int DigitWidth(int px) { return static_cast<int>(std::lround(0.556 * px)); }

int ColumnsWidth(std::span<const Column> cols, int px) {
    int w = 0;
    for (const Column& col : cols) w += (col.cells + 1) * DigitWidth(px);
    return w;
}

// One table: a title, two heading lines, a rule, a row per position and a
// rule under it. Returns the y below it.
int DrawTable(Canvas& c, std::span<const Column> cols, const char* title, std::span<const PositionEvents> events,
              const EventThresholds& th, int left, int top, int px) {
    const int line = px + px / 3 + 1;
    const int width = ColumnsWidth(cols, px);
    c.Text(left, top, title, Style(px, colors::kBlack, true));
    int y = top + line + 2;
    // Heading: a group's words start over its first column; the second line
    // is right-aligned over the numbers.
    int x = left;
    for (const Column& col : cols) {
        const int w = (col.cells + 1) * DigitWidth(px);
        if (col.group[0] != '\0') {
            c.Text(x + DigitWidth(px) / 2, y, col.group, Style(px, colors::kBlack, true));
            c.SetPen(colors::kSilver, 1);
            c.Line(x + 2, y, x + 2, y + 2 * line + static_cast<int>(events.size()) * line + 4);
        }
        const std::string_view label = col.label;
        const Rgb ink = label == "front" ? kFrontInk : label == "rear" ? kRearInk : colors::kBlack;
        c.Text(x + w - SansTextWidth(label, px), y + line, label, Style(px, ink));
        x += w;
    }
    y += 2 * line + 2;
    c.SetPen(colors::kBlack, 1);
    c.Line(left, y - 1, left + width, y - 1);
    int number = 1;
    for (const PositionEvents& e : events) {
        x = left;
        for (const Column& col : cols) {
            const int w = (col.cells + 1) * DigitWidth(px);
            CellText t;
            Fill(t, col.cell, e, number, th);
            TextStyle s = Style(px);
            if (t.flagged) {
                s.color = kHighlightInk;
                s.bold = true;
                s.opaque = true;
                s.background = kHighlightGround;
            }
            c.Text(x + w - SansTextWidth(t.text, px, s.bold), y + 1, t.text, s);
            x += w;
        }
        y += line;
        ++number;
    }
    c.SetPen(colors::kBlack, 1);
    c.Line(left, y + 1, left + width, y + 1);
    return y + 4;
}

} // namespace

bool OverThreshold(double d, double limit) { return std::fabs(d) > limit; }

int SansTextWidth(std::string_view text, int pixelSize, bool bold) {
    // Advances of the Liberation (Arial) sans face in 1/1000 em.
    double w = 0;
    for (const char ch : text) {
        int a = 556; // digits and most lower-case letters
        if (ch == '.' || ch == ' ' || ch == ',' || ch == 'i' || ch == 'l' || ch == 'j' || ch == 'f' || ch == 't')
            a = 278;
        else if (ch == '-' || ch == 'r') a = 333;
        else if (ch == '+') a = 584;
        else if (ch == 'm' || ch == 'M' || ch == 'W') a = 833;
        else if (ch >= 'A' && ch <= 'Z') a = 667;
        else if (ch == 'c' || ch == 's' || ch == 'k' || ch == 'v' || ch == 'x' || ch == 'y' || ch == 'z') a = 500;
        if (bold && ch >= '0' && ch <= '9') a = 556;
        else if (bold) a += 40;
        w += a;
    }
    return static_cast<int>(std::ceil(w * pixelSize / 1000.0));
}

int ValveEventsTablesWidth(int pixelSize) {
    return std::max(ColumnsWidth(kTravelColumns, pixelSize), ColumnsWidth(kAngleColumns, pixelSize));
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

void DrawValveEventsPicture(GearState& g, Canvas& c, std::span<const PositionEvents> events,
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
    c.Text(kLeft, y, note, Style(kPx));
    y += kPx + 6;
    for (const PositionEvents& e : events) {
        if (e.Closes()) continue;
        c.Text(kLeft, y, ValveEventsErrorText(e), Style(kPx, colors::kRed));
        y += kPx + 4;
    }
    DrawDynVarBlock(g, c);
}

} // namespace vx
