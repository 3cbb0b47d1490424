// The dynamic-variable texts shared by the main picture and the diagram
// windows: one undo line (the same text in both, the diagrams padding it),
// one banner, one rule for the bars.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/workspace/defaults.h"
#include "model/workspace/dynvar.h"
#include "model/workspace/frame_advance.h"
#include "platform/recording_canvas.h"
#include "scene/diagrams/diagram_common.h"
#include "scene/frame/dyn_var_texts.h"
#include "scene/frame/screen_data_layer.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

std::string Kept(const GearState& g) { return std::string(g.undoLineText.data()); }

std::string FirstText(const RecordingCanvas& c) {
    for (const auto& op : c.Ops())
        if (op.kind == RecordingCanvas::Kind::Text) return op.text;
    return {};
}

// Both pictures build the line with the same rules: the name cut at 25
// characters, each value at most 10 characters. The main picture keeps the
// line as it is; a diagram pads it with spaces to kUndoLineChars.
TEST(UndoLine, OneLineForTheMainPictureAndTheDiagrams) {
    struct Case {
        const char* what;
        UndoEntry entry;
        int redoCount;
        std::string expected;
    } cases[] = {
        {"plain entry", {2, 3.0f, 3.25f, "Stroke"}, 0, " 1- Stroke  3.250 to  3.000"},
        {"name of 30 characters cut at 25", {2, 3.0f, 3.25f, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"}, 0,
         " 1- ABCDEFGHIJKLMNOPQRSTUVWXY  3.250 to  3.000"},
        {"long values cut at 10 characters", {2, 3.0f, 1234567.25f, "Stroke"}, 0,
         " 1- Stroke 1234567.25 to  3.000"},
        {"redo line once undo is empty", {}, 2, " 2- ReDo Stroke  3.000 to  3.250"},
        // Three decimals would read "0.688 to 0.688": as many as show the change.
        {"a small step shows its digits", {2, 0.688f, 0.6885f, "Eccentric Circle Dia"}, 0,
         " 1- Eccentric Circle Dia 0.6885 to 0.6880"},
        {"a tiny step shows more", {2, 2.0f, 2.0000021f, "Stroke"}, 0, " 1- Stroke 2.000002 to 2.000000"},
        {"a long value keeps its digits too", {2, 1234.5f, 1234.5005f, "Stroke"}, 0,
         " 1- Stroke 1234.5005 to 1234.5000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto g = test::StartedDesign();
        g->screenDataOn = g->dynVarDisplay = g->undoDisplay = true;
        g->undoCount = c.entry.id > 0 ? 1 : 0;
        g->undo[1] = c.entry;
        g->redoCount = c.redoCount;
        g->redo[1] = UndoEntry{2, 3.0f, 3.25f, "Stroke"};

        FixedText<128> line;
        ComposeUndoLine(*g, line);
        EXPECT_EQ(std::string(line.View()), c.expected);

        RecordingCanvas main;
        StepUndoLine(*g); // the frame keeps the line it shows
        DrawUndoLine(*g, main);
        EXPECT_EQ(FirstText(main), c.expected);
        EXPECT_EQ(Kept(*g), c.expected);

        RebuildDiagramUndoLine(*g);
        std::string padded = c.expected;
        if (padded.size() < kUndoLineChars) padded.resize(kUndoLineChars, ' ');
        EXPECT_EQ(Kept(*g), padded);
    }
}

TEST(UndoLine, KeptTextIsCutToItsCapacity) {
    auto g = std::make_unique<GearState>();
    const std::string longer(g->undoLineText.size() + 20, 'x');
    KeepUndoLineText(*g, longer);
    EXPECT_EQ(Kept(*g), longer.substr(0, g->undoLineText.size() - 1));
}

// One banner and one bar rule: the main picture and a diagram show the same
// three lines with the same spacing, and enable the same bars.
TEST(FirstSelectBanner, SameLinesInBothPicturesAndTheSameBars) {
    auto g = test::StartedDesign();
    g->dynVarDisplay = g->screenDataOn = true;
    ASSERT_FALSE(DynVarSlotAssigned(*g, 1));
    RecordingCanvas main, diagram;
    StepDynVarBars(*g);
    DrawDynVarLines(*g, main);
    DrawDynVarBlock(*g, diagram);
    std::vector<std::pair<int, std::string>> mainLines, diagramLines;
    for (const auto& op : main.Ops())
        if (op.kind == RecordingCanvas::Kind::Text) mainLines.emplace_back(op.a[1], op.text);
    for (const auto& op : diagram.Ops())
        if (op.kind == RecordingCanvas::Kind::Text && op.style.color == colors::kRed)
            diagramLines.emplace_back(op.a[1], op.text);
    ASSERT_EQ(mainLines.size(), kFirstSelectBanner.size());
    ASSERT_EQ(diagramLines.size(), kFirstSelectBanner.size());
    for (std::size_t i = 0; i < kFirstSelectBanner.size(); ++i) {
        EXPECT_EQ(mainLines[i].second, kFirstSelectBanner[i].text);
        EXPECT_EQ(diagramLines[i].second, kFirstSelectBanner[i].text);
        EXPECT_EQ(mainLines[i].first - mainLines[0].first, kFirstSelectBanner[i].dy);
        EXPECT_EQ(diagramLines[i].first - diagramLines[0].first, kFirstSelectBanner[i].dy);
    }

    g->dynVarSlots[3] = DynVarSlot{2, g->frame.stroke, "Stroke"};
    StepDynVarBars(*g);
    DrawDynVarLines(*g, main);
    const DynVarControlStates states = DynVarControls(*g);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(g->display.controls.dynVarBarEnabled[static_cast<std::size_t>(n)], n == 3) << n;
        EXPECT_EQ(states.barEnabled[static_cast<std::size_t>(n)], n == 3) << n;
    }
    EXPECT_FALSE(DynVarSlotAssigned(*g, -1));
    EXPECT_FALSE(DynVarSlotAssigned(*g, 5));
}

} // namespace
} // namespace vx
