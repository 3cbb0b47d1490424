// The screen data layer through the recording canvas: readouts and their
// positions, the large-font scale, cut-off capture and countdown, the error
// indicator's cycle, the dynamic-variable lines and the undo line.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "scene/frame/frame_renderer.h"
#include "scene/frame/screen_data_layer.h"
#include "model/workspace/defaults.h"
#include "tests/kit/started_gear.h"
#include "model/workspace/motion.h"
#include "model/workspace/frame_advance.h"
#include "platform/recording_canvas.h"
#include "platform/recording_sound.h"
#include "platform/sound.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

struct Placed {
    int x, y;
    std::string text;
    Rgb color;
    friend bool operator==(const Placed&, const Placed&) = default;
};

std::ostream& operator<<(std::ostream& os, const Placed& p) {
    return os << "(" << p.x << ", " << p.y << ") \"" << p.text << "\"";
}

std::vector<Placed> Texts(const RecordingCanvas& c) {
    std::vector<Placed> out;
    for (const auto& op : c.Ops())
        if (op.kind == RecordingCanvas::Kind::Text) out.push_back({op.a[0], op.a[1], op.text, op.style.color});
    return out;
}

const Placed* Find(const std::vector<Placed>& texts, const std::string& prefix) {
    for (const Placed& p : texts)
        if (p.text.rfind(prefix, 0) == 0) return &p;
    return nullptr;
}

// One frame of a part of the layer: its step of the frame's advance, then
// its drawing.
void CutOffFrame(GearState& g, Canvas& c) {
    StepCutOffs(g);
    DrawCutOffReadouts(g, c);
}
void DynVarFrame(GearState& g, Canvas& c) {
    StepDynVarBars(g);
    DrawDynVarLines(g, c);
}
void UndoLineFrame(GearState& g, Canvas& c) {
    StepUndoLine(g);
    DrawUndoLine(g, c);
}

class ScreenData : public test::StartedGear {
protected:
    RecordingCanvas canvas;
};

TEST_F(ScreenData, ReadoutsWithLabelValueAndTwoSpacesAtTheirPlaces) {
    g.piv.x[18] = 7.6224f;
    g.motion.driverAngle = 160;
    g.motion.selectedStep = 0.05f;
    g.ports.pistonPosition = 0.032f; // 0.005 %: shown as 0.01 through the added 0.00001
    g.events.valveOffset = 0.1584f;
    g.ports.frontSteamOpening = -0.3141f;
    g.ports.frontExhaustOpening = 12.5f;
    g.ports.rearSteamOpening = 0.0014f;
    g.ports.rearExhaustOpening = -1234.5678f;
    g.linkAngle = static_cast<float>(8.94 * 3.1415926535897932 / 180);
    DrawReadouts(g, canvas);
    const std::vector<Placed> expected = {
        {199, 25, "Pan Vert", colors::kBlack},          {199, 39, "Pan Horz", colors::kBlack},
        {199, 53, "Zoom", colors::kBlack},              {459, 25, "Rev Arm  7.622  ", colors::kBlack},
        {459, 39, "Driv Ang 160.00  ", colors::kBlack}, {459, 53, "Step Ang  0.05  ", colors::kBlack},
        {545, 25, "Piston %   0.01  ", colors::kBlack}, {545, 37, "ValveCen  0.158  ", colors::kBlack},
        {545, 49, "ValveFSt -0.314  ", colors::kBlack}, {545, 61, "ValveFEx 12.500  ", colors::kBlack},
        {545, 73, "ValveRSt  0.001  ", colors::kBlack}, {545, 85, "ValveREx-1234.568  ", colors::kBlack},
        {545, 97, "ExpLkAng   8.94  ", colors::kBlack},
    };
    EXPECT_EQ(Texts(canvas), expected);
}

TEST_F(ScreenData, LargeFontScalesEveryFixedPosition) {
    g.textScaleX = 1.27f;
    g.textScaleY = 1.22f;
    DrawReadouts(g, canvas);
    const auto texts = Texts(canvas);
    const Placed* revArm = Find(texts, "Rev Arm ");
    ASSERT_NE(revArm, nullptr);
    EXPECT_EQ(revArm->x, 583);
    EXPECT_EQ(revArm->y, 31);
    EXPECT_EQ(Find(texts, "ExpLkAng")->x, 692); // 545 * 1.27 = 692.15
    EXPECT_EQ(Find(texts, "ExpLkAng")->y, 118); // 97 * 1.22 = 118.34
}

// The front steam port closes between two frames at +0.02 and -0.02 while
// the piston moves from 120 to 130: cut-off at 125, shown as 19.5.
TEST_F(ScreenData, CutOffCaughtAtTheInterpolatedClosing) {
    struct Case {
        float step;
        bool drawn;
    } cases[] = {{10, true}, {0, false}, {23, false}, {22.9f, true}};
    for (const Case& c : cases) {
        GearState& s = g;
        s.display.cutOff = CutOffState{120, 0.02f, -1, 0, 0};
        s.frontCutOffText.clear();
        s.motion.tickStep = c.step;
        s.ports.pistonPosition = 130;
        s.ports.frontSteamOpening = -0.02f;
        s.ports.rearSteamOpening = -1;
        canvas.Reset();
        CutOffFrame(s, canvas);
        EXPECT_EQ(s.frontCutOffText, "19.5") << c.step; // caught in any case
        const auto texts = Texts(canvas);
        if (c.drawn) {
            const std::vector<Placed> expected = {{545, 109, "FrontCO% ", colors::kBlack},
                                                  {600, 109, "19.5", colors::kBlack},
                                                  {545, 121, "RearCO% ", colors::kBlack}};
            EXPECT_EQ(texts, expected) << c.step;
        } else {
            EXPECT_TRUE(texts.empty()) << c.step;
        }
        EXPECT_EQ(s.display.cutOff.pistonPrev, 130);
        EXPECT_EQ(s.display.cutOff.frontPrev, -0.02f);
    }
}

TEST_F(ScreenData, RearCutOffCountsFromTheRearEnd) {
    g.display.cutOff = CutOffState{520, 5, 0.02f, 0, 0};
    g.motion.tickStep = 1;
    g.ports.pistonPosition = 530;
    g.ports.frontSteamOpening = 4;
    g.ports.rearSteamOpening = -0.02f;
    CutOffFrame(g, canvas);
    EXPECT_EQ(g.rearCutOffText, "18.0"); // closes at 525: (640 - 525) / 6.4 = 17.97
}

// A caught value stays for nearest(400 / (s + 0.1)) frames, then only the
// label remains.
TEST_F(ScreenData, CutOffCountdown) {
    for (float step : {10.0f, 1.0f, 0.01f}) {
        GearState& s = g;
        s.display.cutOff = CutOffState{120, 0.02f, -1, 0, 0};
        s.motion.tickStep = step;
        s.ports.pistonPosition = 130;
        s.ports.frontSteamOpening = -0.02f;
        s.ports.rearSteamOpening = -1;
        int framesShown = 0;
        for (int frame = 0; frame < 50000; ++frame) {
            canvas.Reset();
            CutOffFrame(s, canvas);
            if (Find(Texts(canvas), "19.5") == nullptr) break;
            ++framesShown;
        }
        EXPECT_EQ(framesShown, static_cast<int>(std::nearbyint(400 / (step + 0.1)))) << step;
        EXPECT_NE(Find(Texts(canvas), "FrontCO% "), nullptr);
    }
}

// The `Error` item shows in frames 1..9, hides with "Error.wav" at frame 10;
// the counter and flag clear at frame 21; reports meanwhile change nothing.
TEST_F(ScreenData, ErrorIndicatorCycle) {
    RecordingSound sound;
    g.geometryError = true;
    g.errorCause = GeometryCause::MainRod;
    g.errorCauseAngle = 212;
    std::string visibleFrames;
    for (int frame = 1; frame <= 25; ++frame) {
        if (frame == 5 || frame == 15) g.geometryError = true; // a report during the cycle
        const int playsBefore = sound.Count(RecordingSound::Kind::Play);
        FrameSounds sounds;
        StepErrorIndicator(g, sounds);
        PlayFrameSounds(sounds.Items(), sound);
        if (g.display.controls.errorVisible) visibleFrames += std::to_string(frame) + " ";
        if (sound.Count(RecordingSound::Kind::Play) != playsBefore) {
            EXPECT_EQ(frame, 10);
            EXPECT_EQ(sound.Calls().back().name, "Error.wav");
        }
        if (frame == 20) {
            EXPECT_TRUE(g.geometryError);
        }
        if (frame == 21) {
            EXPECT_FALSE(g.geometryError);
            EXPECT_EQ(g.display.errorCounter, 0);
        }
    }
    EXPECT_EQ(visibleFrames, "1 2 3 4 5 6 7 8 9 ");
    EXPECT_EQ(sound.Count(RecordingSound::Kind::Play), 1);
    EXPECT_EQ(g.display.controls.errorCause, GeometryCause::MainRod);
    EXPECT_EQ(g.display.controls.errorAngle, 212);
}

// The whole frame with a design whose main rod is too short: the error is
// raised by the solver, shown by the layer, and never while screen data is
// off or the error beep is off.
TEST_F(ScreenData, SolverErrorReachesTheIndicator) {
    g.frame.mainRodLength = 1;
    g.motion.driverAngle = 90;
    g.motion.tickStep = 0;
    AdvanceFrame(g);
    ComposeFrame(g, canvas);
    EXPECT_TRUE(g.display.controls.errorVisible);
    EXPECT_EQ(g.display.controls.errorCause, GeometryCause::MainRod);

    auto quiet = test::StartedDesign();
    quiet->frame.mainRodLength = 1;
    quiet->motion.driverAngle = 90;
    quiet->errorBeepOn = false;
    AdvanceFrame(*quiet);
    ComposeFrame(*quiet, canvas);
    EXPECT_FALSE(quiet->display.controls.errorVisible);
}

TEST_F(ScreenData, DynVarLinesOrTheRedBannerAndTheBarsEnabling) {
    g.dynVarDisplay = true;
    DynVarFrame(g, canvas);
    const std::vector<Placed> banner = {{377, 71, "*******************************", colors::kRed},
                                        {377, 81, "* First Select Dimensions *", colors::kRed},
                                        {377, 95, "*******************************", colors::kRed}};
    EXPECT_EQ(Texts(canvas), banner);
    EXPECT_EQ(g.display.controls.dynVarBarEnabled, (std::array<bool, 5>{false, false, false, false, false}));

    g.dynVarSlots[1] = DynVarSlot{2, 3.25f, "Stroke"};
    g.dynVarSlots[2] = DynVarSlot{1, 5.5f, "Driver Dia"};
    canvas.Reset();
    DynVarFrame(g, canvas);
    const auto texts = Texts(canvas);
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0], (Placed{377, 71, "Stroke", colors::kBlack}));
    EXPECT_EQ(texts[1], (Placed{498, 71, " 3.250", colors::kBlack}));
    EXPECT_EQ(texts[2], (Placed{377, 83, "Driver Dia", colors::kBlack}));
    EXPECT_EQ(texts[7], (Placed{498, 107, " 0.000", colors::kBlack}));
    EXPECT_EQ(g.display.controls.dynVarBarEnabled, (std::array<bool, 5>{false, true, true, false, false}));
}

// The undo line stays beside UnDo, which moves with the layout by both
// factors, and grows with it.
TEST_F(ScreenData, UndoLineMovesWithTheUndoButton) {
    g.dynVarDisplay = true;
    g.undoCount = 3;
    g.undo[1] = UndoEntry{2, 3.0f, 3.25f, "Stroke"};
    g.textScaleX = 1.27f;
    g.textScaleY = 1.22f;
    UndoLineFrame(g, canvas);
    EXPECT_TRUE(g.display.controls.undoVisible);
    const std::vector<Placed> expected = {{406, 156, " 3- Stroke  3.250 to  3.000", colors::kBlack}};
    EXPECT_EQ(Texts(canvas), expected);
    EXPECT_EQ(canvas.Ops().back().style.pixelSize, 13);

    g.screenDataOn = false;
    canvas.Reset();
    UndoLineFrame(g, canvas);
    EXPECT_FALSE(g.display.controls.undoVisible);
    EXPECT_TRUE(canvas.Ops().empty());
}

// What the undo line's place shows: the classic line while undo has an
// entry, the redo line once undo has nothing left, and with the line hidden
// the notice of the last undo or redo for a while, then nothing.
TEST_F(ScreenData, UndoLinePlaceShowsUndoRedoOrTheNotice) {
    struct Row {
        const char* what;
        bool dynVars;
        bool undoEntry; // entry 1 holds Stroke 3 -> 3.25
        int redoCount;  // redo[1] holds Stroke 3 -> 3.5
        int noticeFrames;
        const char* text; // nullptr: nothing drawn
        int noticeFramesAfter;
    };
    const Row rows[] = {
        {"undo entry", true, true, 1, 0, " 1- Stroke  3.250 to  3.000", 0},
        {"only redo", true, false, 1, 0, " 1- ReDo Stroke  3.000 to  3.500", 0},
        {"nothing", true, false, 0, 0, " 0-   0.000 to  0.000", 0},
        {"shown line drops a notice", true, true, 0, 5, " 1- Stroke  3.250 to  3.000", 0},
        {"hidden line, notice", false, true, 1, 5, "UnDone Stroke  3.250 to  3.000", 4},
        {"hidden line, last notice frame", false, false, 0, 1, "UnDone Stroke  3.250 to  3.000", 0},
        {"hidden line, no notice", false, true, 1, 0, nullptr, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        GearState& s = g;
        s.dynVarDisplay = r.dynVars;
        s.undo[1] = r.undoEntry ? UndoEntry{2, 3.0f, 3.25f, "Stroke"} : UndoEntry{};
        s.undoCount = r.undoEntry ? 1 : 0;
        s.redo[1] = UndoEntry{2, 3.0f, 3.5f, "Stroke"};
        s.redoCount = r.redoCount;
        s.noticeEntry = UndoEntry{2, 3.0f, 3.25f, "Stroke"};
        s.noticeRedo = false;
        s.noticeFrames = r.noticeFrames;
        canvas.Reset();
        UndoLineFrame(s, canvas);
        const std::vector<Placed> texts = Texts(canvas);
        if (r.text == nullptr) {
            EXPECT_TRUE(texts.empty());
        } else {
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(texts[0], (Placed{320, 128, r.text, colors::kBlack}));
        }
        EXPECT_EQ(s.noticeFrames, r.noticeFramesAfter);
    }
}

// Hostile values never crash and never write more than the fixed buffers.
TEST_F(ScreenData, HostileValuesStayInTheirTexts) {
    for (float v : {std::nanf(""), INFINITY, -INFINITY, 3.4e38f, -3.4e38f}) {
        GearState& s = g;
        s.piv.x[18] = v;
        s.ports.pistonPosition = v;
        s.ports.frontSteamOpening = v;
        s.motion.tickStep = v;
        s.display.cutOff = CutOffState{v, 1, 1, 0, 0};
        s.dynVarDisplay = true;
        s.dynVarSlots[1] = DynVarSlot{2, v, "Stroke"};
        s.undo[1] = UndoEntry{2, v, v, "Stroke"};
        canvas.Reset();
        UndoLineFrame(s, canvas);
        FrameSounds sounds;
        StepErrorIndicator(s, sounds);
        StepCutOffs(s);
        StepDynVarBars(s);
        DrawScreenDataLayer(s, canvas);
        for (const Placed& p : Texts(canvas)) EXPECT_LT(p.text.size(), 128u);
        EXPECT_LE(s.frontCutOffText.size(), 10u);
    }
}

} // namespace
} // namespace vx
