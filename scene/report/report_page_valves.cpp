// The valve setting's pages: the text the window and the command line show,
// its columns kept: each run of characters that stands after two blanks is
// set right-aligned at the column where it ends, as the text's own figures
// are, and a run at the start of a line left-aligned.
#include <algorithm>
#include <vector>

#include "scene/diagrams/table_drawing.h"
#include "scene/report/report_page.h"

namespace vx::report {
namespace {

std::vector<std::string_view> TextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

int FirstLine(const Page& p) { return kMargin + LineHeight(kHeading) + 4; }
int LinesPerPage(const Page& p) { return std::max(1, (p.bottom - FirstLine(p)) / LineHeight(kSmall)); }

void DrawColumns(Page& p, int y, std::string_view line) {
    // A digit's advance: the text's columns are that wide on the page.
    const int cw = std::max(1, SansTextWidth("0", kSmall));
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        // A run ends at two blanks or the line's end; single blanks belong to it.
        while (i < line.size() && !(line[i] == ' ' && (i + 1 >= line.size() || line[i + 1] == ' '))) ++i;
        const std::string_view run = line.substr(start, i - start);
        const bool leftAligned = start == 0 || start < 4;
        const int x = leftAligned ? p.left + static_cast<int>(start) * cw
                                  : p.left + static_cast<int>(i) * cw - SansTextWidth(run, kSmall);
        p.c.Text(x, y, run, Style(kSmall));
    }
}

} // namespace

int ValveSettingPages(const Page& p) {
    if (p.data.valveSetting.empty()) return 0;
    const int lines = static_cast<int>(TextLines(p.data.valveSetting).size());
    const int per = LinesPerPage(p);
    return (lines + per - 1) / per;
}

void DrawValveSettingPages(Page& p) {
    const std::vector<std::string_view> lines = TextLines(p.data.valveSetting);
    const int per = LinesPerPage(p);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k > 0 && k % static_cast<std::size_t>(per) == 0) p.Next();
        if (k % static_cast<std::size_t>(per) == 0) p.Heading(kMargin, kValveSettingTitle);
        const int y = FirstLine(p) + static_cast<int>(k % static_cast<std::size_t>(per)) * LineHeight(kSmall);
        DrawColumns(p, y, lines[k]);
    }
}

} // namespace vx::report
