// Page 5: the exact valve events of the nine notches, as the events window
// draws its tables, with how to read them.
#include <algorithm>
#include <cmath>

#include "base/fixed_format.h"
#include "model/gear/geometry_check.h"
#include "scene/diagrams/valve_events_drawing.h"
#include "scene/report/report_page.h"

namespace vx::report {
namespace {

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

} // namespace

void DrawEventsPage(Page& p) {
    const std::span<const PositionEvents> events = p.data.events;
    int y = p.Heading(kMargin, kEventsTitle);
    const int width = ValveEventsTablesWidth(11);
    const double scale = std::min(1.0, static_cast<double>(p.ContentWidth()) / width);
    // The tables drawn as the events window draws them, scaled to the page.
    constexpr int kTablesHeight = 400;
    p.c.BeginPicture(p.left, y, scale, 0, 0, width, kTablesHeight);
    const int used = DrawValveEventsTables(p.c, events, EventThresholds{}, p.data.design.revArm.centre, 0, 0, 11);
    p.c.EndPicture();
    y += static_cast<int>(std::ceil(std::min(used, kTablesHeight) * scale)) + 14;
    for (const std::string_view line : kReading) {
        p.c.Text(p.left, y, line, Style(kBody));
        y += LineHeight(kBody);
    }
    if (p.info.unit != LengthUnit::None) {
        p.c.Text(p.left, y, "The lead and the openings are in " + std::string(LengthUnitSymbol(p.info.unit)) + ".",
                 Style(kBody));
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
}

} // namespace vx::report
