// Page 6: how sure the events are: the dimensions that move the front-rear
// cut-off difference most, and the spread of the events under tolerance.
#include <algorithm>
#include <cmath>

#include "base/fixed_format.h"
#include "scene/diagrams/sensitivity_drawing.h"
#include "scene/diagrams/tolerance_drawing.h"
#include "scene/report/report_page.h"

namespace vx::report {
namespace {

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

} // namespace

void DrawRobustnessPage(Page& p) {
    const SensitivityResult& sr = p.data.sensitivity;
    int y = p.Heading(kMargin, kRobustnessTitle);
    y = RankingPicture(p, sr, 0, y, "The dimensions that move the front-rear cut-off difference most at normal full forward");
    y = RankingPicture(p, sr, 1, y, "The same at normal full reverse");

    const std::string title = "Spread of the events with every length made to \xC2\xB1" +
                              LengthWithUnit(FixedString(kDefaultLengthTolerance, 3), p.info.unit) +
                              " and every angle to \xC2\xB1" +
                              FixedString(kDefaultAngleTolerance, 1) + "\xC2\xB0, no wear";
    p.c.Text(p.left, y, title, Style(kBody, true));
    y += LineHeight(kBody);
    p.c.Text(p.left, y,
             std::to_string(kReportToleranceSamples) + " samples; the tolerance command takes 1000 (vexlin-cli tolerance).",
             Style(kBody));
    y += LineHeight(kBody) + 2;
    // The spread is run only on a design that closes at both positions.
    if (!p.data.tolerance) {
        p.c.Text(p.left, y, "Not run: the design itself does not close at every notch.", Style(kBody, false, colors::kRed));
        return;
    }
    constexpr int kWidth = 1000, kHeight = 660;
    const double scale = std::min(1.0, std::min(static_cast<double>(p.ContentWidth()) / kWidth,
                                                static_cast<double>(p.bottom - y) / kHeight));
    p.c.BeginPicture(p.left, y, scale, 0, 0, kWidth, kHeight);
    p.c.Clear(colors::kWhite);
    DrawToleranceSummary(p.c, *p.data.tolerance, 0, 0, kWidth);
    p.c.EndPicture();
}

} // namespace vx::report
