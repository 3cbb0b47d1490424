// A table of figures drawn through a Canvas, as the events tables and the
// work table show theirs: two heading lines (a group's words over its first
// column, each column's label right-aligned over its figures, "front" and
// "rear" in their ends' inks), a faint rule at each group's left edge down
// past the last row, a rule under the heading, one row of right-aligned
// figures per item and a rule under the last row. Widths are counted in digit
// cells of the sans face, so a table's width is known before it is drawn.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "platform/canvas.h"

namespace vx {

struct TableColumn {
    const char* group; // first heading line, over the columns that share it ("" for none)
    const char* label; // second heading line
    int cells;         // width in digit cells
    int figure = 0;    // which figure the column shows, as the table's drawer numbers them
};

// The inks of the "front" and "rear" labels.
struct TableInks {
    Rgb front;
    Rgb rear;
};

// Where one cell's figure goes: the column's left edge and width, and the
// text's top.
struct TableCellBox {
    int x;
    int width;
    int y;
};

// Text of the sans face of `px` pixels.
TextStyle SansStyle(int px, Rgb color = colors::kBlack, bool bold = false);

// Width estimate of a text in the sans face (for right-aligned numbers).
int SansTextWidth(std::string_view text, int pixelSize, bool bold = false);

int TableDigitWidth(int px);
int TableLineHeight(int px);
int TableColumnWidth(const TableColumn& col, int px);
int TableWidth(std::span<const TableColumn> cols, int px);

// The two heading lines from `top` and the rule under them; the group rules
// reach down past `rows` rows. Returns the top of the first row.
int DrawTableHeading(Canvas& c, std::span<const TableColumn> cols, std::size_t rows, const TableInks& inks, int left,
                     int top, int px);

// A figure right-aligned in its cell.
void DrawTableFigure(Canvas& c, const TableCellBox& box, std::string_view text, const TextStyle& style);

// The rule under the last row, whose bottom is `y`; returns the y below it.
int DrawTableFoot(Canvas& c, std::span<const TableColumn> cols, int left, int y, int px);

// Rows 0..rows-1 from `top`, each cell drawn by draw(row, column, box)
// (usually through DrawTableFigure), and the rule under them. Returns the y
// below the table.
template <class DrawCell>
int DrawTableRows(Canvas& c, std::span<const TableColumn> cols, std::size_t rows, int left, int top, int px,
                  DrawCell&& draw) {
    const int line = TableLineHeight(px);
    int y = top;
    for (std::size_t row = 0; row < rows; ++row) {
        int x = left;
        for (const TableColumn& col : cols) {
            const int w = TableColumnWidth(col, px);
            draw(row, col, TableCellBox{x, w, y + 1});
            x += w;
        }
        y += line;
    }
    return DrawTableFoot(c, cols, left, y, px);
}

} // namespace vx
