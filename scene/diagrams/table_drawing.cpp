#include "scene/diagrams/table_drawing.h"

#include <cmath>

namespace vx {
TextStyle SansStyle(int px, Rgb color, bool bold) {
    TextStyle s;
    s.face = FontFace::Sans;
    s.pixelSize = px;
    s.bold = bold;
    s.color = color;
    return s;
}

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

int TableDigitWidth(int px) { return static_cast<int>(std::lround(0.556 * px)); }

int TableLineHeight(int px) { return px + px / 3 + 1; }

int TableColumnWidth(const TableColumn& col, int px) { return (col.cells + 1) * TableDigitWidth(px); }

int TableWidth(std::span<const TableColumn> cols, int px) {
    int w = 0;
    for (const TableColumn& col : cols) w += TableColumnWidth(col, px);
    return w;
}

int DrawTableHeading(Canvas& c, std::span<const TableColumn> cols, std::size_t rows, const TableInks& inks, int left,
                     int top, int px) {
    const int line = TableLineHeight(px);
    const int ruleBottom = top + 2 * line + static_cast<int>(rows) * line + 4;
    int x = left;
    for (const TableColumn& col : cols) {
        const int w = TableColumnWidth(col, px);
        if (col.group[0] != '\0') {
            c.Text(x + TableDigitWidth(px) / 2, top, col.group, SansStyle(px, colors::kBlack, true));
            c.SetPen(colors::kSilver, 1);
            c.Line(x + 2, top, x + 2, ruleBottom);
        }
        const std::string_view label = col.label;
        const Rgb ink = label == "front" ? inks.front : label == "rear" ? inks.rear : colors::kBlack;
        c.Text(x + w - SansTextWidth(label, px), top + line, label, SansStyle(px, ink));
        x += w;
    }
    const int y = top + 2 * line + 2;
    c.SetPen(colors::kBlack, 1);
    c.Line(left, y - 1, left + TableWidth(cols, px), y - 1);
    return y;
}

void DrawTableFigure(Canvas& c, const TableCellBox& box, std::string_view text, const TextStyle& style) {
    c.Text(box.x + box.width - SansTextWidth(text, style.pixelSize, style.bold), box.y, text, style);
}

int DrawTableFoot(Canvas& c, std::span<const TableColumn> cols, int left, int y, int px) {
    c.SetPen(colors::kBlack, 1);
    c.Line(left, y + 1, left + TableWidth(cols, px), y + 1);
    return y + 4;
}

} // namespace vx
