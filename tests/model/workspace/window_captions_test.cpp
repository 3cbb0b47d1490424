// The captions of the eight windows: their parts and space counts.
#include <gtest/gtest.h>

#include <string>

#include "model/state/gear_state.h"
#include "model/workspace/window_captions.h"

namespace vx {
namespace {

TEST(WindowCaptions, EachKindAsTabled) {
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
        EXPECT_EQ(WindowCaption(c.kind, "Nominal", "10/12/2026", "11:58:07").View(), c.expected);
    }
}

// All eight are set into the frame state at once, and a design name too
// long for the buffer is cut, never overrun.
TEST(WindowCaptions, AllEightIntoTheFrameState) {
    GearState g;
    g.designName = "Big Boy";
    SetWindowCaptions(g, g.designName, "d", "t");
    EXPECT_EQ(g.display.captions[0].View(), "VEXLIN Outside Adm            Big Boy     d   t   Version 2.8");
    EXPECT_EQ(g.display.captions[7].View(), "Cylin  VEXLIN Adm  Big Boy  d  t");

    g.designName = std::string(5000, 'x');
    SetWindowCaptions(g, g.designName, "d", "t");
    EXPECT_EQ(g.display.captions[0].size, g.display.captions[0].chars.size());
}

} // namespace
} // namespace vx
