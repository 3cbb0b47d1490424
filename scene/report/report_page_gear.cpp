// Page 2: the gear in three positions, each as the main picture draws its
// mechanism, cut to the part the mechanism takes.
#include <algorithm>
#include <array>
#include <cmath>

#include "base/fixed_format.h"
#include "scene/frame/frame_services.h"
#include "scene/frame/mechanism_layer.h"
#include "scene/report/report_page.h"

namespace vx::report {
namespace {

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
int GearPicture(Page& p, const ReportGearPicture& picture, int y, std::string_view name, int maxHeight) {
    const GearState& g = picture.gear;
    const std::string caption = std::string(name) + " (reverse arm " + FixedString(picture.position, 4) + ")";
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

// The pictures' names, in the order of ReportData::gearPictures.
constexpr std::array<std::string_view, kReportGearPictures> kGearNames = {"Normal full forward", "Mid gear",
                                                                          "Normal full reverse"};

} // namespace

void DrawGearPage(Page& p) {
    int y = p.Heading(kMargin, kGearTitle);
    const int pictureHeight = (p.bottom - y) / 3 - LineHeight(kBody) - 20;
    for (std::size_t k = 0; k < kGearNames.size(); ++k)
        y = GearPicture(p, p.data.gearPictures[k], y, kGearNames[k], pictureHeight);
}

} // namespace vx::report
