// Page 7: the indicator cards of the nine notches, the economy curve and
// the work table.
#include <algorithm>

#include "model/analysis/work_text.h"
#include "scene/diagrams/work_drawing.h"
#include "scene/report/report_page.h"

namespace vx::report {
namespace {

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

} // namespace

void DrawWorkPage(Page& p) {
    const WorkSettings& settings = p.data.workSettings;
    const WorkTable& t = p.data.work;
    int y = p.Heading(kMargin, kCardsTitle);
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
    DrawWorkTable(p.c, t.notches, p.data.design.revArm.centre, 0, 0, 11);
    p.c.EndPicture();
}

} // namespace vx::report
