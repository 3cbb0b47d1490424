// Helpers for the diagram tests: a started gear with a chosen position
// list, and look-ups in a recorded drawing.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/workspace/defaults.h"
#include "model/state/gear_state.h"
#include "model/gear/solver.h"
#include "platform/recording_canvas.h"
#include "tests/kit/designs.h"

namespace vx::test {

// The default design after start-up, with the given absolute positions as
// the diagrams' list (positionCount set to their number).
inline GearState GearWithPositions(std::initializer_list<float> positions) {
    GearState g = *StartedDesign();
    g.revArm.position.fill(0);
    int k = 0;
    for (float p : positions) g.revArm.position[static_cast<std::size_t>(++k)] = p;
    g.revArm.positionCount = k;
    return g;
}

// The lead figures a diagram must print for a position at mid gear, from a
// sweep of the solver of its own over the diagram's driver angles: the
// upper lead is the upper lead term plus the largest X the valve spindle
// joint (pivot 4) reaches, not below 0; the lower lead is the lower lead
// term minus its smallest X, not above 1000.
struct SweptLeads {
    double upper = 0;
    double lower = 0;
};
inline SweptLeads SweepLeads(GearState g, float position, const std::vector<float>& angles) {
    g.motion.reverseArmPosition = position;
    float hi = 0, lo = 1000;
    for (float a : angles) {
        g.motion.driverAngle = a;
        SolveLinkage(g);
        hi = std::max(hi, g.piv.x[4]);
        lo = std::min(lo, g.piv.x[4]);
    }
    return {static_cast<double>(g.events.upperLeadTerm) + hi, static_cast<double>(g.events.lowerLeadTerm) - lo};
}

// The number a text shows (leading spaces allowed), or NaN.
inline double NumberIn(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::numeric_limits<double>::quiet_NaN();
    return v;
}

// The texts drawn at (x, y), in order.
inline std::vector<RecordingCanvas::Op> TextsAt(const RecordingCanvas& rc, int x, int y) {
    std::vector<RecordingCanvas::Op> out;
    for (const auto& op : rc.Ops())
        if (op.kind == RecordingCanvas::Kind::Text && op.a[0] == x && op.a[1] == y) out.push_back(op);
    return out;
}

// The texts drawn, in order.
inline std::vector<RecordingCanvas::Op> Texts(const RecordingCanvas& rc) {
    std::vector<RecordingCanvas::Op> out;
    for (const auto& op : rc.Ops())
        if (op.kind == RecordingCanvas::Kind::Text) out.push_back(op);
    return out;
}

// The first text equal to `text`, if any.
inline std::optional<RecordingCanvas::Op> FindText(const RecordingCanvas& rc, std::string_view text) {
    for (const auto& op : rc.Ops())
        if (op.kind == RecordingCanvas::Kind::Text && op.text == text) return op;
    return std::nullopt;
}

inline int CountText(const RecordingCanvas& rc, std::string_view text) {
    int n = 0;
    for (const auto& op : rc.Ops())
        if (op.kind == RecordingCanvas::Kind::Text && op.text == text) ++n;
    return n;
}

// Whether a text was drawn at (x, y).
inline bool HasTextAt(const RecordingCanvas& rc, std::string_view text, int x, int y) {
    for (const auto& op : rc.Ops())
        if (op.kind == RecordingCanvas::Kind::Text && op.text == text && op.a[0] == x && op.a[1] == y) return true;
    return false;
}

// Segments in a given pen colour.
inline std::vector<RecordingCanvas::Segment> SegmentsIn(const RecordingCanvas& rc, Rgb color) {
    std::vector<RecordingCanvas::Segment> out;
    for (const auto& s : rc.Segments())
        if (s.color == color) out.push_back(s);
    return out;
}

} // namespace vx::test
