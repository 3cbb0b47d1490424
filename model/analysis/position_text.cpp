#include "model/analysis/position_text.h"

#include "base/fixed_format.h"

namespace vx {

void AppendTextLabel(std::string& out, std::string_view label) {
    out += label;
    if (label.size() < kTextLabelWidth) out.append(kTextLabelWidth - label.size(), ' ');
}

void AppendPositionBlockHead(std::string& out, double position, bool forward, double centre, Digits digits) {
    char buf[kNumberBuffer];
    out += "Reverse arm ";
    out += FormatFigure(buf, position, 0, 6, digits);
    out += " (mid gear ";
    const double offset = static_cast<double>(position) - static_cast<double>(centre);
    if (offset >= 0) out += '+';
    out += FormatFigure(buf, offset, 0, 6, digits);
    out += forward ? "), running forward\n" : "), running in reverse\n";
    AppendTextLabel(out, "");
    for (const std::string_view h : {"front", "rear", "front-rear"}) {
        out.append(static_cast<std::size_t>(kTextColumnWidth) - h.size(), ' ');
        out += h;
    }
    out += '\n';
}

} // namespace vx
