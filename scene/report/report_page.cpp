#include "scene/report/report_page.h"

#include "scene/diagrams/table_drawing.h"

namespace vx::report {

TextStyle Style(int px, bool bold, Rgb color) {
    TextStyle s;
    s.pixelSize = px;
    s.bold = bold;
    s.color = color;
    return s;
}

int LineHeight(int px) { return px + px / 3 + 2; }

void Page::Footer() {
    const int y = c.Height() - kMargin + 2;
    c.SetPen(colors::kSilver, 1);
    c.Line(left, y - 5, right, y - 5);
    c.Text(left, y, "Vexlin design report: " + g.designName, Style(kSmall, false, kGreyInk));
    const std::string n = "Page " + std::to_string(number) + " of " + std::to_string(pages);
    c.Text(right - SansTextWidth(n, kSmall), y, n, Style(kSmall, false, kGreyInk));
}

void Page::Next() {
    Footer();
    c.NewPage();
    ++number;
}

int Page::Heading(int y, std::string_view text) {
    c.Text(left, y, text, Style(kHeading, true));
    return y + LineHeight(kHeading) + 4;
}

} // namespace vx::report
