#include "scene/report/design_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "scene/diagrams/diagram_registry.h"
#include "scene/diagrams/sensitivity_drawing.h"
#include "scene/diagrams/tolerance_drawing.h"
#include "scene/diagrams/valve_events_drawing.h"
#include "scene/diagrams/work_drawing.h"
#include "scene/editors/editor_layout.h"
#include "scene/frame/frame_services.h"
#include "scene/frame/mechanism_layer.h"
#include "model/dimensions.h"
#include "model/fixed_format.h"
#include "model/geometry_check.h"
#include "model/ports.h"
#include "model/sensitivity.h"
#include "model/solver.h"
#include "model/tolerance.h"
#include "model/valve_events.h"
#include "model/view.h"
#include "model/work.h"
#include "model/work_text.h"

namespace vx {
namespace {

// Page margins and text sizes, page units (1/96 inch).
constexpr int kMargin = 56;
constexpr int kBody = 11;
constexpr int kSmall = 10;
constexpr int kHeading = 14;
constexpr int kTitle = 22;
constexpr Rgb kGreyInk{96, 96, 96};

TextStyle Style(int px, bool bold = false, Rgb color = colors::kBlack) {
    TextStyle s;
    s.pixelSize = px;
    s.bold = bold;
    s.color = color;
    return s;
}

int LineHeight(int px) { return px + px / 3 + 2; }



struct Page {
    PagedCanvas& c;
    const GearState& g;
    const ReportInfo& info;
    int number = 1;
    int left = kMargin, right = 0, bottom = 0;

    int ContentWidth() const { return right - left; }

    void Footer() {
        const int y = c.Height() - kMargin + 2;
        c.SetPen(colors::kSilver, 1);
        c.Line(left, y - 5, right, y - 5);
        c.Text(left, y, "Vexlin design report: " + g.designName, Style(kSmall, false, kGreyInk));
        const std::string n = "Page " + std::to_string(number) + " of " + std::to_string(kReportPages);
        c.Text(right - SansTextWidth(n, kSmall), y, n, Style(kSmall, false, kGreyInk));
    }
    void Next() {
        Footer();
        c.NewPage();
        ++number;
    }
    int Heading(int y, std::string_view text) {
        c.Text(left, y, text, Style(kHeading, true));
        return y + LineHeight(kHeading) + 4;
    }
};

// ---------------------------------------------------------------------------
// Page 1: title block, dimensions, geometry check.

int TitleBlock(Page& p, int y) {
    p.c.Text(p.left, y, "Vexlin design report", Style(kTitle, true));
    y += LineHeight(kTitle) + 4;
    p.c.Text(p.left, y, "Design: " + p.g.designName, Style(kHeading, true));
    y += LineHeight(kHeading);
    p.c.Text(p.left, y, "Date: " + p.info.date, Style(kBody));
    const std::string program = "Program: Vexlin " + p.info.version;
    p.c.Text(p.right - SansTextWidth(program, kBody), y, program, Style(kBody));
    y += LineHeight(kBody) + 4;
    p.c.SetPen(colors::kBlack, 2);
    p.c.Line(p.left, y, p.right, y);
    return y + 12;
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
        const std::string v = ShortestString(DimensionValue(p.g, *d));
        p.c.Text(x + half - 16 - SansTextWidth(v, kSmall), ry, v, Style(kSmall));
    }
    return y + static_cast<int>(perColumn) * line + 10;
}

int GeometryCheckBlock(Page& p, int y, std::span<const float> notches) {
    y = p.Heading(y, "Geometry check");
    int failing = 0;
    for (std::size_t i = 0; i < notches.size(); ++i) {
        const TurnCheck t = CheckTurn(p.g, notches[i], 1.0);
        if (t.Closes()) continue;
        ++failing;
        char cause[200];
        FormatGeometryCause(t.firstCause, t.firstAngle, cause, sizeof cause);
        const std::string line = "Notch " + std::to_string(i + 1) + " (reverse arm " + FixedString(notches[i], 4) +
                                 "): does not close at " + std::to_string(t.failures) + " of " +
                                 std::to_string(t.angles) + " angles; first: " + cause;
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
std::string Percent(const std::optional<float>& v) { return v && std::isfinite(*v) ? FixedString(*v, 1) : "-"; }
// A length to four decimals, a dash for a figure that is not a number.
std::string Length(float v) { return std::isfinite(v) ? FixedString(v, 4) : "-"; }

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
    };
    static const Row kRows[kSummaryRows] = {
        {"Cut-off, % of stroke", [](const EndEvents& e) { return Percent(e.cutOff); }},
        {"Release, % of stroke", [](const EndEvents& e) { return Percent(e.release); }},
        {"Compression, % of stroke", [](const EndEvents& e) { return Percent(e.compression); }},
        {"Lead", [](const EndEvents& e) { return Length(e.lead); }},
        {"Largest steam opening", [](const EndEvents& e) { return Length(e.maxSteamOpening); }},
    };
    for (const Row& r : kRows) {
        p.c.Text(p.left, y, r.name, Style(kSmall));
        for (std::size_t k = 0; k < std::size(kColumns); ++k) {
            if (kColumns[k].notch >= events.size()) continue;
            const PositionEvents& e = events[kColumns[k].notch];
            const int x = p.left + label + static_cast<int>(k) * columnWidth;
            right(x + half - 16, r.text(e.front), Style(kSmall));
            right(x + columnWidth - 16, r.text(e.rear), Style(kSmall));
        }
        y += line;
    }
    return y + 10;
}

// The pages' headings, and what the contents call the pages without one.
constexpr std::string_view kGearTitle = "The gear at crank angle 45 degrees";
constexpr std::string_view kEventsTitle = "Valve events of the nine notches";
constexpr std::string_view kRobustnessTitle = "How sure are the events: sensitivity and tolerance";
constexpr std::string_view kCardsTitle = "Indicator cards of the nine notches";
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

// ---------------------------------------------------------------------------
// Page 2: the gear in three positions.

// The part of the main picture the mechanism takes, with a margin.
struct Box {
    int x0, y0, x1, y1;
};
Box MechanismBox(const GearState& g) {
    Box b{kFrameWidth, kFrameHeight, 0, 0};
    const auto add = [&b](int x, int y) {
        b.x0 = std::min(b.x0, x);
        b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x);
        b.y1 = std::max(b.y1, y);
    };
    for (int i = 0; i < kScreenPivotCount; ++i) add(g.piv.sx[static_cast<std::size_t>(i)], g.piv.sy[static_cast<std::size_t>(i)]);
    for (const ScreenPoint& s : g.cylOutline) add(s.x, s.y);
    for (const ScreenPoint& s : g.valveOutline) add(s.x, s.y);
    const double r = static_cast<double>(g.frame.driverDia) / 2 * static_cast<double>(g.view.zoom);
    const int wheel = std::isfinite(r) ? static_cast<int>(std::min(std::fabs(r), 2000.0)) : 0;
    add(g.piv.sx[1] - wheel, g.piv.sy[1] - wheel);
    add(g.piv.sx[1] + wheel, g.piv.sy[1] + wheel);
    constexpr int kPad = 12;
    b.x0 = std::clamp(b.x0 - kPad, 0, kFrameWidth);
    b.y0 = std::clamp(b.y0 - kPad, 0, kFrameHeight);
    b.x1 = std::clamp(b.x1 + kPad, 0, kFrameWidth);
    b.y1 = std::clamp(b.y1 + kPad, 0, kFrameHeight);
    return b;
}

// The caption names the position the picture is drawn at.
int GearPicture(Page& p, GearState& g, int y, float position, std::string_view name, int maxHeight) {
    const std::string caption = std::string(name) + " (reverse arm " + FixedString(position, 4) + ")";
    g.motion.reverseArmPosition = position;
    g.motion.driverAngle = 45;
    for (int i = 0; i < 8; ++i) SolveLinkage(g); // the rocker settled
    ComputePortOpenings(g);
    ComputePivotScreenPoints(g);
    ComputeOutlinePoints(g);
    p.c.Text(p.left, y, caption, Style(kBody, true));
    y += LineHeight(kBody) + 2;
    const Box b = MechanismBox(g);
    const int w = b.x1 - b.x0, h = b.y1 - b.y0;
    if (w <= 0 || h <= 0) {
        p.c.Text(p.left, y, "(the gear lies outside the picture)", Style(kBody, false, colors::kRed));
        return y + LineHeight(kBody) + 8;
    }
    const double scale = std::min(static_cast<double>(p.ContentWidth()) / w, static_cast<double>(maxHeight) / h);
    p.c.BeginPicture(p.left, y, scale, b.x0, b.y0, w, h);
    p.c.Clear(colors::kWhite);
    p.c.SetPen(colors::kBlack, 1);
    DrawMechanismLayer(g, p.c);
    p.c.EndPicture();
    p.c.SetPen(colors::kSilver, 1);
    const int ph = static_cast<int>(std::ceil(h * scale));
    const int pw = static_cast<int>(std::ceil(w * scale));
    p.c.Line(p.left, y, p.left + pw, y);
    p.c.Line(p.left + pw, y, p.left + pw, y + ph);
    p.c.Line(p.left + pw, y + ph, p.left, y + ph);
    p.c.Line(p.left, y + ph, p.left, y);
    return y + ph + 18;
}

// ---------------------------------------------------------------------------
// Pages 3 and 4: the diagrams, two to a page.

int DiagramPicture(Page& p, GearState& g, const DiagramEntry& d, int y, std::string_view caption) {
    p.c.Text(p.left, y, caption, Style(kBody, true));
    y += LineHeight(kBody) + 2;
    const double scale = std::min(1.0, static_cast<double>(p.ContentWidth()) / d.width);
    p.c.BeginPicture(p.left, y, scale, 0, 0, d.width, d.height);
    p.c.Clear(colors::kWhite);
    p.c.SetPen(colors::kBlack, 1);
    DiagramRequest request;
    d.draw(g, p.c, request);
    p.c.EndPicture();
    return y + static_cast<int>(std::ceil(d.height * scale)) + 16;
}

// ---------------------------------------------------------------------------
// Page 5: the events of the nine notches.

constexpr std::string_view kReading[] = {
    "Each row is one notch of the reverse arm, from normal full forward (1) through mid gear (5) to normal full",
    "reverse (9), running forward up to mid gear and in reverse above it. The first table gives where in the",
    "stroke each event happens, in percent of the stroke measured from that end's own dead centre, the front",
    "and rear ends side by side; F-R is front minus rear, the figure a designer squares. The lead is the steam",
    "opening with the crank on that end's dead centre. The second table gives the crank angles of the same",
    "events, the largest openings and how many times each port opens in a turn (more than once is marked).",
    "Every event is found where the opening changes sign, to 0.0005 degree; a dash means the event never",
    "happens (the port never opens, or never closes).",
};

int EventsBlock(Page& p, int y, std::span<const PositionEvents> events) {
    y = p.Heading(y, kEventsTitle);
    const int width = ValveEventsTablesWidth(11);
    const double scale = std::min(1.0, static_cast<double>(p.ContentWidth()) / width);
    // The tables drawn as the events window draws them, scaled to the page.
    constexpr int kTablesHeight = 400;
    p.c.BeginPicture(p.left, y, scale, 0, 0, width, kTablesHeight);
    const int used = DrawValveEventsTables(p.c, events, EventThresholds{}, 0, 0, 11);
    p.c.EndPicture();
    y += static_cast<int>(std::ceil(std::min(used, kTablesHeight) * scale)) + 14;
    for (const std::string_view line : kReading) {
        p.c.Text(p.left, y, line, Style(kBody));
        y += LineHeight(kBody);
    }
    y += 6;
    for (const PositionEvents& e : events) {
        if (e.Closes()) continue;
        char cause[200];
        FormatGeometryCause(e.firstCause, e.firstCauseAngle, cause, sizeof cause);
        p.c.Text(p.left, y, "Reverse arm " + FixedString(e.position, 4) + ": " + cause, Style(kBody, false, colors::kRed));
        y += LineHeight(kBody);
    }
    return y;
}

// ---------------------------------------------------------------------------
// The sensitivity ranking and the spread under tolerance.

// Samples of the report's tolerance run: a tenth of the command's default
// keeps the report quick; the page says so.
constexpr int kReportToleranceSamples = 100;
constexpr int kReportRankingRows = 8;

int RankingPicture(Page& p, const SensitivityResult& r, std::size_t position, int y, std::string_view caption) {
    p.c.Text(p.left, y, caption, Style(kBody, true));
    y += LineHeight(kBody) + 2;
    constexpr int kWidth = 900;
    const int height = kSensitivityRowHeight * (kReportRankingRows + 3) + 6;
    const double scale = std::min(1.0, static_cast<double>(p.ContentWidth()) / kWidth);
    p.c.BeginPicture(p.left, y, scale, 0, 0, kWidth, height);
    p.c.Clear(colors::kWhite);
    DrawSensitivityChart(p.c, r, position, EventFigure::CutOffDiff, kReportRankingRows, 0, 0, kWidth);
    p.c.EndPicture();
    return y + static_cast<int>(std::ceil(height * scale)) + 12;
}

void RobustnessPage(Page& p, const GearState& design) {
    int y = p.Heading(kMargin, kRobustnessTitle);
    SensitivitySettings ss;
    const double norm = design.frame.revArmToCentNorm;
    ss.offsets = {-norm, norm};
    const SensitivityResult sr = ComputeSensitivity(design, ss);
    y = RankingPicture(p, sr, 0, y, "The dimensions that move the front-rear cut-off difference most at normal full forward");
    y = RankingPicture(p, sr, 1, y, "The same at normal full reverse");

    ToleranceSettings ts = DefaultToleranceSettings();
    ts.samples = kReportToleranceSamples;
    const std::string title = "Spread of the events with every length made to \xC2\xB1" +
                              FixedString(kDefaultLengthTolerance, 3) + " and every angle to \xC2\xB1" +
                              FixedString(kDefaultAngleTolerance, 1) + "\xC2\xB0, no wear";
    p.c.Text(p.left, y, title, Style(kBody, true));
    y += LineHeight(kBody);
    p.c.Text(p.left, y,
             std::to_string(ts.samples) + " samples; the tolerance command takes 1000 (vexlin-cli tolerance).",
             Style(kBody));
    y += LineHeight(kBody) + 2;
    if (!sr.Closes()) {
        p.c.Text(p.left, y, "Not run: the design itself does not close at every notch.", Style(kBody, false, colors::kRed));
        return;
    }
    const ToleranceResult tr = RunTolerance(design, ts);
    constexpr int kWidth = 1000, kHeight = 660;
    const double scale = std::min(1.0, std::min(static_cast<double>(p.ContentWidth()) / kWidth,
                                                static_cast<double>(p.bottom - y) / kHeight));
    p.c.BeginPicture(p.left, y, scale, 0, 0, kWidth, kHeight);
    p.c.Clear(colors::kWhite);
    DrawToleranceSummary(p.c, tr, 0, 0, kWidth);
    p.c.EndPicture();
}

// Page 7: the indicator cards of the nine notches.

constexpr std::string_view kWorkReading[] = {
    "Each card is one end's ideal indicator",
    "card: pressure against volume from the",
    "exact events, front (green) and rear",
    "(maroon) overlaid, the clearance hatched",
    "left of the dead centre. MEP is the card's",
    "area over the stroke: the mean push on",
    "the piston. Front minus rear shows how",
    "evenly the two ends work; the designer",
    "squares it. The economy curve shows MEP",
    "and steam per unit of work against",
    "cut-off: early cut-off uses steam best,",
    "late cut-off gives the most effort.",
};

void WorkPage(Page& p, const GearState& design, int y) {
    const WorkSettings settings;
    GearState scratch = design;
    WorkTable t;
    ComputeWorkTable(scratch, design, settings, t);
    y = p.Heading(y, kCardsTitle);
    p.c.Text(p.left, y,
             "Ideal cards from the exact valve events: " + WorkSettingsText(settings) +
                 "; absolute pressures, MEP in the unit of p1",
             Style(kBody));
    y += LineHeight(kBody) + 6;
    const int cardsHeight = 3 * 158;
    DrawWorkCards(p.c, t.notches, settings, p.left, y, p.ContentWidth() + 10, cardsHeight, 3, 10);
    y += cardsHeight + 8;
    const int curveWidth = p.ContentWidth() / 2;
    DrawEconomyCurve(p.c, t.notches, settings, p.left, y, curveWidth, 200, 10);
    int ty = y + 4;
    for (const std::string_view line : kWorkReading) {
        p.c.Text(p.left + curveWidth + 24, ty, line, Style(kBody));
        ty += LineHeight(kBody);
    }
    y += 214;
    const int width = WorkTableWidth(11);
    const double scale = std::min(1.0, static_cast<double>(p.ContentWidth()) / width);
    const int tableHeight = std::max(40, p.bottom - y);
    p.c.BeginPicture(p.left, y, scale, 0, 0, width, static_cast<int>(tableHeight / scale));
    DrawWorkTable(p.c, t.notches, 0, 0, 11);
    p.c.EndPicture();
}

} // namespace

void DrawDesignReport(GearState g, PagedCanvas& c, const ReportInfo& info) {
    // The pictures as a reader wants them: no dynamic-variable block.
    g.dynVarDisplay = false;
    g.undoDisplay = false;
    g.motion.running = false;
    // The diagrams draw the positions list; a list not yet counted counts
    // its used prefix (mid gear, full forward, full reverse after the
    // mid-gear search), as the positions dialog would.
    if (g.revArm.positionCount <= 0) {
        int n = 0;
        while (n < kRevArmPositions && g.revArm.position[static_cast<std::size_t>(n + 1)] != 0) ++n;
        g.revArm.positionCount = n;
    }
    const GearState design = g;
    Page p{c, design, info};
    p.right = c.Width() - kMargin;
    p.bottom = c.Height() - kMargin - 12;
    const auto notches = NotchPositions(design);

    std::array<PositionEvents, kNotchCount> events;
    ComputeValveEventsTable(design, notches, EventDirection::Auto, events);

    c.Clear(colors::kWhite);
    int y = TitleBlock(p, kMargin);
    y = DimensionGroup(p, y, "Frame dimensions", FrameEditorRows());
    y = DimensionGroup(p, y, "Cylinder and valve dimensions", CylinderEditorRows());
    y = GeometryCheckBlock(p, y, notches) + 12;
    // What room the check leaves (a failing design lists each notch) takes
    // the summary and the contents, each only if it fits whole.
    if (y + SummaryHeight() <= p.bottom) y = SummaryBlock(p, y, events);
    if (y + ContentsHeight() <= p.bottom) ContentsBlock(p, y);
    p.Next();

    y = p.Heading(kMargin, kGearTitle);
    const int pictureHeight = (p.bottom - y) / 3 - LineHeight(kBody) - 20;
    const float centre = design.revArm.centre, norm = design.frame.revArmToCentNorm;
    y = GearPicture(p, g, y, centre - norm, "Normal full forward", pictureHeight);
    y = GearPicture(p, g, y, centre, "Mid gear", pictureHeight);
    GearPicture(p, g, y, centre + norm, "Normal full reverse", pictureHeight);
    p.Next();

    constexpr std::array<std::string_view, 4> kCaptions = {"Sine diagram", "Oval diagram", "Steam diagram",
                                                            "Port events diagram"};
    const auto diagrams = AllDiagrams();
    for (std::size_t i = 0; i < diagrams.size() && i < kCaptions.size(); i += 2) {
        g = design;
        y = DiagramPicture(p, g, diagrams[i], kMargin, kCaptions[i]);
        if (i + 1 < diagrams.size()) {
            g = design;
            DiagramPicture(p, g, diagrams[i + 1], y, kCaptions[i + 1]);
        }
        p.Next();
    }

    EventsBlock(p, kMargin, events);
    p.Next();
    RobustnessPage(p, design);
    p.Next();
    WorkPage(p, design, kMargin);
    p.Footer();
}

} // namespace vx
