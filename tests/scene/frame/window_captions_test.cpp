// The captions of the eight windows: their parts and space counts.
#include <gtest/gtest.h>

#include <string>

#include "scene/frame/frame_renderer.h"
#include "scene/frame/window_captions.h"
#include "platform/clock.h"
#include "platform/recording_canvas.h"

namespace vx {
namespace {

TEST(WindowCaptions, EachKindAsTabled) {
    GearState g;
    g.designName = "Nominal";
    const FixedClock clock("10/12/2026", "11:58:07");
    const std::string tail = "Nominal     10/12/2026   11:58:07   Version 2.8";
    struct Case {
        WindowKind kind;
        std::string expected;
    } cases[] = {
        {WindowKind::Main, "VEXLIN Outside Adm            " + tail},
        {WindowKind::SineDiagram, "VEXLIN Outside Adm      Sine Diagram    " + tail},
        {WindowKind::OvalDiagram, "VEXLIN Outside Adm      Oval Diagram    " + tail},
        {WindowKind::SteamDiagram, "VEXLIN Outside Adm      Steam Diagram    " + tail},
        {WindowKind::PortDiagram, "VEXLIN Outside Adm      Port Open/Closed    " + tail},
        {WindowKind::PivotData, "VEXLIN Outside Adm Pivot Data   " + tail},
        {WindowKind::FrameDimensions, "Frame  VEXLIN Adm  Nominal  10/12/2026  11:58:07"},
        {WindowKind::CylinderDimensions,
         "Cylin  VEXLIN Adm  Nominal  10/12/2026  11:58:07"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowCaption(c.kind, g, clock).View(), c.expected);
    }
}

// The frame sets all eight into the model, drawing nothing for them, and a
// design name too long for the buffer is cut, never overrun.
TEST(WindowCaptions, FrameSetsAllEightIntoTheModel) {
    GearState g;
    g.designName = "Big Boy";
    const FixedClock clock("d", "t");
    SetWindowCaptions(g, &clock);
    EXPECT_EQ(g.display.captions[0].View(), "VEXLIN Outside Adm            Big Boy     d   t   Version 2.8");
    EXPECT_EQ(g.display.captions[7].View(), "Cylin  VEXLIN Adm  Big Boy  d  t");

    g.designName = std::string(5000, 'x');
    SetWindowCaptions(g, &clock);
    EXPECT_EQ(g.display.captions[0].size, g.display.captions[0].chars.size());
}

} // namespace
} // namespace vx
