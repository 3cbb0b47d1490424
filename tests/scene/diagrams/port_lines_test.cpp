// The port lines of the sine and oval diagrams leave the travel scale's
// labels (0.3, 0.0, -0.3, ...) readable: no lime or red line crosses a
// label's box, at the default and at a large and a small vertical scale.
#include <gtest/gtest.h>

#include <string>

#include "model/workspace/defaults.h"
#include "platform/recording_canvas.h"
#include "scene/diagrams/oval_diagram.h"
#include "scene/diagrams/sine_diagram.h"
#include "scene/diagrams/valve_events_drawing.h"

namespace vx {
namespace {

using Draw = void (*)(const GearState&, Canvas&, LeadLapTable*);

TEST(PortLines, LeaveTheTravelScaleLabelsReadable) {
    const struct {
        const char* name;
        Draw draw;
    } diagrams[] = {{"sine", DrawSineDiagram}, {"oval", DrawOvalDiagram}};
    for (const auto& d : diagrams)
        for (const float scale : {1.5f, 1.0f, 3.0f}) {
            SCOPED_TRACE(std::string(d.name) + " at scale " + std::to_string(scale));
            GearState g;
            StartUp(g);
            g.revArm.positionCount = 3;
            g.revArm.verticalScale = scale;
            RecordingCanvas rc;
            d.draw(g, rc, nullptr);
            int labels = 0;
            for (const RecordingCanvas::Op& op : rc.Ops()) {
                // The scale's labels: numbers left of the ticks.
                if (op.kind != RecordingCanvas::Kind::Text || op.a[0] > 20) continue;
                if (op.text.find_first_not_of("-0123456789.") != std::string::npos) continue;
                ++labels;
                const int left = op.a[0], right = left + SansTextWidth(op.text, op.style.pixelSize);
                const int top = op.a[1], bottom = top + 12;
                for (const auto& s : rc.Segments()) {
                    if (!(s.color == colors::kLime || s.color == colors::kRed) || s.y1 != s.y2) continue;
                    const bool crosses = s.y1 >= top && s.y1 < bottom && std::min(s.x1, s.x2) < right &&
                                         std::max(s.x1, s.x2) > left;
                    EXPECT_FALSE(crosses) << "a port line at y " << s.y1 << " strikes through \"" << op.text << "\"";
                }
            }
            EXPECT_GE(labels, 9); // -0.4 .. 0.4 at scale 1
        }
}

} // namespace
} // namespace vx
