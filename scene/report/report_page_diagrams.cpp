// Pages 3 and 4: the four valve diagrams, two to a page, each drawn as its
// window draws it.
#include <algorithm>
#include <array>
#include <cmath>

#include "scene/diagrams/diagram_registry.h"
#include "scene/report/report_page.h"

namespace vx::report {
namespace {

constexpr std::array<std::string_view, 2 * kDiagramPages> kCaptions = {"Sine diagram", "Oval diagram",
                                                                      "Steam diagram", "Port events diagram"};

int DiagramPicture(Page& p, const DiagramEntry& d, int y, std::string_view caption) {
    p.c.Text(p.left, y, caption, Style(kBody, true));
    y += LineHeight(kBody) + 2;
    const double scale = std::min(1.0, static_cast<double>(p.ContentWidth()) / d.width);
    p.c.BeginPicture(p.left, y, scale, 0, 0, d.width, d.height);
    p.c.Clear(colors::kWhite);
    p.c.SetPen(colors::kBlack, 1);
    d.draw(p.g, p.c, DiagramRequest{});
    p.c.EndPicture();
    return y + static_cast<int>(std::ceil(d.height * scale)) + 16;
}

} // namespace

void DrawDiagramPage(Page& p, int page) {
    const auto diagrams = AllDiagrams();
    const std::size_t first = 2 * static_cast<std::size_t>(page);
    if (first >= diagrams.size() || first >= kCaptions.size()) return;
    const int y = DiagramPicture(p, diagrams[first], kMargin, kCaptions[first]);
    if (first + 1 < diagrams.size()) DiagramPicture(p, diagrams[first + 1], y, kCaptions[first + 1]);
}

} // namespace vx::report
