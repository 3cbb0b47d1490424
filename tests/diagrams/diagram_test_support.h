// Helpers for the diagram tests: a started gear with a chosen position
// list, and look-ups in a recorded drawing.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/defaults.h"
#include "model/gear_state.h"
#include "platform/recording_canvas.h"

namespace vx::test {

// The default design after start-up, with the given absolute positions as
// the diagrams' list (positionCount set to their number).
inline GearState GearWithPositions(std::initializer_list<float> positions) {
    GearState g;
    StartUp(g);
    g.revArm.position.fill(0);
    int k = 0;
    for (float p : positions) g.revArm.position[static_cast<std::size_t>(++k)] = p;
    g.revArm.positionCount = k;
    return g;
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
