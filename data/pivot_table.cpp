#include "data/pivot_table.h"

#include <algorithm>
#include <cmath>

#include "base/fixed_format.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"

namespace vx {
namespace {

constexpr std::size_t kCut = 10;

void AppendFixedCut(std::string& out, double v, int w, int d) {
    char buf[kNumberBuffer];
    out += FormatFixedCut(buf, v, w, d, kCut);
}

// Runs f(angle) for every row angle, with the driver angle set and the gear
// solved; the motion is restored afterwards.
template <class F>
void ForEachRow(GearState& g, F&& f) {
    const float step = g.motion.selectedStep;
    const float savedAngle = g.motion.driverAngle;
    const float savedStep = g.motion.tickStep;
    g.motion.driverAngle = 0;
    g.motion.tickStep = 0;
    const long long rows = PivotTableRowCount(step);
    float a = 0;
    for (long long r = 0; r < rows; ++r) {
        g.motion.driverAngle = a;
        SolveLinkage(g);
        f(a);
        a = static_cast<float>(a + step);
    }
    g.motion.driverAngle = savedAngle;
    g.motion.tickStep = savedStep;
}

} // namespace

PivotPicks PickedPivots(const GearState& g) {
    PivotPicks p{};
    for (int k = 1; k <= kPickSlots; ++k)
        p[static_cast<std::size_t>(k - 1)] =
            std::clamp(Nearest(g.pickPivot[static_cast<std::size_t>(k)]), 0, kPivotCount - 1);
    return p;
}

long long PivotTableRowCount(float step) {
    long long rows = 0;
    float a = 0;
    while (a <= 360 && rows < kMaxPivotTableRows) {
        ++rows;
        const auto next = static_cast<float>(a + step);
        if (!(next > a)) break; // a step of 0, negative, NaN or too small to count
        a = next;
    }
    return rows;
}

void BuildPivotTable(GearState& g, const PivotPicks& picks, std::string_view date, std::string_view time,
                     std::string& out) {
    out.clear();
    out.reserve(static_cast<std::size_t>(PivotTableRowCount(g.motion.selectedStep)) * 140 + 512);
    out += "Pivot Data   ";
    out += g.designName;
    out += "     ";
    out += date;
    out += "   ";
    out += time;
    out += "\n       Reverse Arm ";
    AppendFixedCut(out, g.motion.reverseArmPosition, 7, 3);
    out += "      Step Angle ";
    AppendFixedCut(out, g.motion.selectedStep, 7, 3);
    out += "\n  Driver";
    constexpr int kBeforeNumber[kPickSlots] = {9, 19, 19, 18, 19, 18};
    for (int k = 0; k < kPickSlots; ++k) {
        out.append(static_cast<std::size_t>(kBeforeNumber[k]), ' ');
        out += "No.";
        out += static_cast<char>('1' + k);
    }
    out += '\n';
    out += "  Angle     Vert   Horz";
    for (const int spaces : {9, 10, 9, 10, 9}) {
        out.append(static_cast<std::size_t>(spaces), ' ');
        out += "Vert   Horz";
    }
    out += '\n';
    ForEachRow(g, [&](float a) {
        AppendFixedCut(out, a, 7, 2);
        for (int k = 0; k < kPickSlots; ++k) {
            const auto p = static_cast<std::size_t>(picks[static_cast<std::size_t>(k)]);
            out += "   ";
            AppendFixedCut(out, g.piv.y[p], k == 0 ? 7 : 9, 3);
            out += "  ";
            AppendFixedCut(out, g.piv.x[p], 7, 3);
        }
        out += '\n';
    });
}

void BuildPivotCsv(GearState& g, std::span<const int> pivots, std::string& out) {
    out.clear();
    out.reserve(static_cast<std::size_t>(PivotTableRowCount(g.motion.selectedStep)) * (20 + 30 * pivots.size()) + 256);
    out += "angle";
    for (const int p : pivots) {
        const std::string n = std::to_string(p);
        out += ",p" + n + "x,p" + n + "y";
    }
    out += '\n';
    char buf[kNumberBuffer];
    ForEachRow(g, [&](float a) {
        out += FormatShortest(buf, a);
        for (const int p : pivots) {
            out += ',';
            out += FormatShortest(buf, g.piv.x[static_cast<std::size_t>(p)]);
            out += ',';
            out += FormatShortest(buf, g.piv.y[static_cast<std::size_t>(p)]);
        }
        out += '\n';
    });
}

} // namespace vx
