// Page 1: title block, dimensions, geometry check, the events at a glance
// and the contents.
#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/gear/geometry_check.h"
#include "model/analysis/valve_events_text.h"
#include "scene/diagrams/table_drawing.h"
#include "scene/editors/editor_layout.h"
#include "scene/report/report_page.h"


namespace vx::report {
namespace {

int TitleBlock(Page& p, int y) {
    p.c.Text(p.left, y, "Vexlin design report", Style(kTitle, true));
    y += LineHeight(kTitle) + 4;
    p.c.Text(p.left, y, "Design: " + p.g.designName, Style(kHeading, true));
    y += LineHeight(kHeading);
    std::string date = "Date: " + p.info.date;
    if (p.info.unit != LengthUnit::None)
        date += "    Lengths in " + std::string(LengthUnitSymbol(p.info.unit)) + ", angles in degrees";
    p.c.Text(p.left, y, date, Style(kBody));
    const std::string program = "Program: Vexlin " + p.info.version;
    p.c.Text(p.right - SansTextWidth(program, kBody), y, program, Style(kBody));
    y += LineHeight(kBody) + 4;
    p.c.SetPen(colors::kBlack, 2);
    p.c.Line(p.left, y, p.right, y);
    y += 12;
    if (!p.data.fault.empty()) {
        // A design with a fault says so before anything else.
        // The fault on lines of its own, one clause a line, so that a long
        // one keeps inside the margins.
        p.c.Text(p.left, y, "This design has a fault:", Style(kBody, true, colors::kRed));
        y += LineHeight(kBody);
        std::string_view rest = p.data.fault;
        while (!rest.empty()) {
            const auto cut = rest.find("; ");
            const std::string_view clause = rest.substr(0, cut == std::string_view::npos ? rest.size() : cut + 1);
            p.c.Text(p.left + 12, y, std::string(clause), Style(kBody, true, colors::kRed));
            y += LineHeight(kBody);
            rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 2);
        }
        p.c.Text(p.left, y,
                 "Figures at a position where it shows are left out; the other figures are those of a faulty design.",
                 Style(kBody, false, colors::kRed));
        y += LineHeight(kBody) + 8;
    }
    return y;
}

// One group of dimensions in two columns, in the editor's order (its left
// column, then its right one).
int DimensionGroup(Page& p, int y, std::string_view title, std::span<const EditorRow> rows) {
    y = p.Heading(y, title);
    const int half = p.ContentWidth() / 2;
    const int line = LineHeight(kSmall);
    const std::size_t perColumn = (rows.size() + 1) / 2;
    // The editors' labels, and each field's name after the longest of them.
    int nameWidth = 0;
    for (std::size_t i = 0; i < rows.size(); ++i)
        nameWidth = std::max(nameWidth, SansTextWidth(EditorRowName(rows, i), kSmall));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DimensionInfo* d = FindDimension(rows[i].id);
        if (d == nullptr) continue;
        const int col = i < perColumn ? 0 : 1;
        const int x = p.left + col * half;
        const int row = static_cast<int>(col == 0 ? i : i - perColumn);
        const int ry = y + row * line;
        p.c.Text(x, ry, EditorRowName(rows, i), Style(kSmall));
        p.c.Text(x + nameWidth + 8, ry, d->field, Style(kSmall - 1, false, kGreyInk));
        const std::string number = ShortestString(DimensionValue(p.g, *d));
        const std::string v = IsAngleDimension(d->id) ? number : LengthWithUnit(number, p.info.unit);
        p.c.Text(x + half - 16 - SansTextWidth(v, kSmall), ry, v, Style(kSmall));
    }
    return y + static_cast<int>(perColumn) * line + 10;
}

int GeometryCheckBlock(Page& p, int y) {
    y = p.Heading(y, "Geometry check");
    int failing = 0;
    for (std::size_t i = 0; i < p.data.checks.size(); ++i) {
        const TurnCheck& t = p.data.checks[i];
        if (t.Closes()) continue;
        ++failing;
        char cause[200];
        FormatGeometryCause(t.firstCause, t.firstAngle, cause, sizeof cause);
        const std::string line = "Notch " + std::to_string(i + 1) + " (reverse arm " +
                                 FixedString(p.data.notches[i], 4) + "): does not close at " +
                                 std::to_string(t.failures) + " of " + std::to_string(t.angles) +
                                 " angles; first: " + cause;
        p.c.Text(p.left, y, line, Style(kBody, false, colors::kRed));
        y += LineHeight(kBody);
    }
    if (failing == 0) {
        p.c.Text(p.left, y, "The linkage closes at every crank angle (1 degree steps) at all nine notches.",
                 Style(kBody, false, colors::kGreen));
        y += LineHeight(kBody);
    }
    const std::string gear = "Mid gear at reverse arm " + FixedString(p.g.revArm.centre, 6) + "; normal travel \xC2\xB1" +
                             ShortestString(p.g.frame.revArmToCentNorm) + ", maximum \xC2\xB1" +
                             ShortestString(p.g.frame.revArmToCentMax) + ".";
    p.c.Text(p.left, y, gear, Style(kBody));
    return y + LineHeight(kBody);
}

// A percentage to one decimal, a dash where the event never happens.
std::string Percent(const std::optional<double>& v) { return v && std::isfinite(*v) ? FixedString(*v, 1) : "-"; }
// A length to four decimals, a dash for a figure that is not a number.
std::string Length(double v) { return std::isfinite(v) ? FixedString(v, 4) : "-"; }

constexpr int kSummaryRows = 5;
int SummaryHeight() { return LineHeight(kHeading) + 4 + (2 + kSummaryRows) * LineHeight(kSmall) + 10; }

// The events a designer looks at first, at full forward, mid gear and full
// reverse (notches 1, 5 and 9), front and rear side by side.
int SummaryBlock(Page& p, int y, std::span<const PositionEvents> events) {
    y = p.Heading(y, "The events at a glance");
    struct Column {
        const char* name;
        std::size_t notch;
    };
    constexpr Column kColumns[] = {{"Full forward", 0}, {"Mid gear", 4}, {"Full reverse", 8}};
    const int label = 190, columnWidth = (p.ContentWidth() - label) / 3, half = columnWidth / 2;
    const int line = LineHeight(kSmall);
    const auto right = [&](int x, const std::string& text, const TextStyle& style) {
        p.c.Text(x - SansTextWidth(text, style.pixelSize), y, text, style);
    };
    for (std::size_t k = 0; k < std::size(kColumns); ++k) {
        const int x = p.left + label + static_cast<int>(k) * columnWidth;
        right(x + columnWidth - 16, kColumns[k].name, Style(kSmall, true));
    }
    y += line;
    for (std::size_t k = 0; k < std::size(kColumns); ++k) {
        const int x = p.left + label + static_cast<int>(k) * columnWidth;
        right(x + half - 16, "front", Style(kSmall - 1, false, kGreyInk));
        right(x + columnWidth - 16, "rear", Style(kSmall - 1, false, kGreyInk));
    }
    y += line;
    struct Row {
        const char* name;
        std::string (*text)(const EndEvents&);
        bool length;
    };
    static const Row kRows[kSummaryRows] = {
        {"Cut-off, % of stroke", [](const EndEvents& e) { return Percent(e.cutOff); }, false},
        {"Release, % of stroke", [](const EndEvents& e) { return Percent(e.release); }, false},
        {"Compression, % of stroke", [](const EndEvents& e) { return Percent(e.compression); }, false},
        {"Lead", [](const EndEvents& e) { return Length(e.lead); }, true},
        {"Largest steam opening", [](const EndEvents& e) { return Length(e.maxSteamOpening); }, true},
    };
    for (const Row& r : kRows) {
        p.c.Text(p.left, y, r.length ? LabelWithUnit(r.name, p.info.unit) : std::string(r.name), Style(kSmall));
        for (std::size_t k = 0; k < std::size(kColumns); ++k) {
            if (kColumns[k].notch >= events.size()) continue;
            const PositionEvents& e = events[kColumns[k].notch];
            const int x = p.left + label + static_cast<int>(k) * columnWidth;
            // No figure of a position that did not close or lost events.
            const bool usable = EventsUsable(e);
            right(x + half - 16, usable ? r.text(e.front) : "-", Style(kSmall));
            right(x + columnWidth - 16, usable ? r.text(e.rear) : "-", Style(kSmall));
        }
        y += line;
    }
    return y + 10;
}

// What the contents call each page: its heading, or a name for the pages
// without one.
constexpr std::string_view kContents[] = {
    "Dimensions, geometry check, the events at a glance",
    kGearTitle,
    "Sine and oval diagrams",
    "Steam and port events diagrams",
    kEventsTitle,
    kRobustnessTitle,
    kCardsTitle,
};
static_assert(std::size(kContents) == kReportPages);
constexpr int kContentsRows = (kReportPages + 1) / 2;

int ContentsHeight() { return LineHeight(kHeading) + 4 + kContentsRows * LineHeight(kSmall); }

int ContentsBlock(Page& p, int y) {
    y = p.Heading(y, "Contents");
    for (int i = 0; i < kReportPages; ++i) {
        const int x = p.left + (i < kContentsRows ? 0 : p.ContentWidth() / 2);
        const std::string line = std::to_string(i + 1) + "  " + std::string(kContents[i]);
        p.c.Text(x, y + (i % kContentsRows) * LineHeight(kSmall), line, Style(kSmall));
    }
    return y + kContentsRows * LineHeight(kSmall);
}

} // namespace

void DrawFirstPage(Page& p) {
    p.c.Clear(colors::kWhite);
    int y = TitleBlock(p, kMargin);
    y = DimensionGroup(p, y, "Frame dimensions", FrameEditorRows());
    y = DimensionGroup(p, y, "Cylinder and valve dimensions", CylinderEditorRows());
    y = GeometryCheckBlock(p, y) + 12;
    // What room the check leaves (a failing design lists each notch) takes
    // the summary and the contents, each only if it fits whole.
    if (y + SummaryHeight() <= p.bottom) y = SummaryBlock(p, y, p.data.events);
    if (y + ContentsHeight() <= p.bottom) ContentsBlock(p, y);
}

} // namespace vx::report
