#include <vector>

#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "model/workspace/jog.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

// Commits a value the way a dimension box does on exit, with an undo entry.
void CommitLikeEditor(GearState& g, int id, float value) {
    const DimensionInfo* d = FindDimension(id);
    g.undoPending = true;
    BeginUndoEntry(g);
    g.undo[1].id = id;
    g.undo[1].oldValue = DimensionValue(g, *d);
    CommitDimension(g, id, value);
    g.dynVarSlots[0] = {id, DimensionValue(g, *d), d->shortName};
    SelectDynVar(g);
    g.undo[1].newValue = g.dynVarSlots[0].value;
    g.undo[1].name = g.dynVarSlots[0].name;
    g.undoPending = false;
}

TEST_F(StartedGear, SelectionUpdatesInPlaceAndPushesTheOldestOut) {
    for (int id : {1, 2, 3, 4}) CommitLikeEditor(g, id, 5.0f);
    EXPECT_EQ(g.dynVarSlots[1].id, 4);
    EXPECT_EQ(g.dynVarSlots[4].id, 1);
    CommitLikeEditor(g, 2, 3.5f); // already held: stays in slot 3
    EXPECT_EQ(g.dynVarSlots[3].id, 2);
    EXPECT_EQ(g.dynVarSlots[3].value, 3.5f);
    EXPECT_EQ(g.dynVarSlots[1].id, 4);
    CommitLikeEditor(g, 101, 17.0f); // a fifth pushes id 1 out
    EXPECT_EQ(g.dynVarSlots[1].id, 101);
    EXPECT_EQ(g.dynVarSlots[1].name, "Cyl ctr to Driver ctr");
    EXPECT_EQ(g.dynVarSlots[4].id, 2);
}

TEST_F(StartedGear, StepSlotMovesItsDimension) {
    struct Case {
        int id;
        float step;
        float expected;    // model value after the step
        float slotValue;   // slot keeps the unwrapped value
    } cases[] = {
        {2, 0.001f, 3.001f, 3.001f},
        {6, -0.01f, 301.0f, 301.0f},       // angles step 100 times as far
        {21, 3.0f, 15.0f, 375.0f},         // 75 + 300, folded in the model only
        {24, 0.5f, 8.133f, 8.133f},        // a pivot coordinate
    };
    for (const Case& c : cases) {
        GearState s = g;
        s.dynVarSlots[2] = {c.id, 0, "x"};
        s.dynVarStep = c.step;
        s.frontCutOffText = "12";
        StepSlot(s, 2);
        EXPECT_FLOAT_EQ(DimensionValue(s, *FindDimension(c.id)), c.expected) << c.id;
        EXPECT_FLOAT_EQ(s.dynVarSlots[2].value, c.slotValue) << c.id;
        EXPECT_TRUE(s.frontCutOffText.empty());
    }
    for (int id : {0, 25, 26, 55}) {
        GearState s = g;
        s.dynVarSlots[1] = {id, 7, "x"};
        s.dynVarStep = 1;
        s.frontCutOffText = "12";
        StepSlot(s, 1);
        EXPECT_EQ(s.frame.revArmToCentNorm, 1.0f);
        EXPECT_EQ(s.dynVarSlots[1].value, 7.0f) << id;
        EXPECT_EQ(s.frontCutOffText, "12") << id << ": nothing at all happens";
    }
}

TEST_F(StartedGear, AngleSteppedBelowZeroIsStoredPlusATurn) {
    g.frame.eccRevAngle = 0.05f;
    g.dynVarSlots[1] = {7, 0, "x"};
    g.dynVarStep = -0.001f;
    StepSlot(g, 1);
    EXPECT_FLOAT_EQ(g.frame.eccRevAngle, 359.95f);
    EXPECT_FLOAT_EQ(g.dynVarSlots[1].value, -0.05f);
}

TEST_F(StartedGear, UndoStepsBackThroughCommittedChanges) {
    CommitLikeEditor(g, 102, 0.5f);
    CommitLikeEditor(g, 3, 12.0f);
    EXPECT_EQ(g.undoCount, 2);
    EXPECT_TRUE(g.undoButtonEnabled[0] && g.undoButtonEnabled[4]);
    UndoLast(g);
    EXPECT_EQ(g.frame.mainRodLength, 10.0f);
    EXPECT_EQ(g.undoCount, 1);
    // Undoing the cylinder line moves the crosshead line and spindle together.
    UndoLast(g);
    EXPECT_EQ(g.fixedPivots.cylinderCentreY, 0.0f);
    EXPECT_FLOAT_EQ(g.piv.y[4], 2.062f);
    EXPECT_EQ(g.undoCount, 0);
    EXPECT_FALSE(g.undoButtonEnabled[0]);
}

TEST_F(StartedGear, UndoListKeepsNinetyNineEntries) {
    for (int i = 0; i < 120; ++i) CommitLikeEditor(g, 2, 3.0f + i * 0.01f);
    EXPECT_EQ(g.undoCount, 99);
    EXPECT_FLOAT_EQ(g.undo[1].newValue, 3.0f + 119 * 0.01f);
    EXPECT_FLOAT_EQ(g.undo[99].newValue, 3.0f + 21 * 0.01f);
    BeginUndoEntry(g); // not pending: nothing moves
    EXPECT_FLOAT_EQ(g.undo[1].newValue, 3.0f + 119 * 0.01f);
    ClearUndo(g);
    EXPECT_EQ(g.undoCount, 0);
    EXPECT_EQ(g.undo[1].id, 0);
}

TEST(JogStep, ClicksDragsAndRepeats) {
    struct Case {
        const char* what;
        std::vector<int> positions; // as reported, each followed by the reset to 0 unless noted
        std::vector<double> steps;  // the step of each reported user position
    } cases[] = {
        {"right arrow", {1}, {0.1}},
        {"left arrow", {-1}, {-0.1}},
        {"trough right", {10}, {1.0}},
        {"trough left", {-10}, {-1.0}},
        {"same position twice", {40, 40}, {4.0, 0.0}},
        {"drag back towards the middle", {40, 30}, {4.0, -3.0}},
        {"drag left then back", {-40, -30}, {-4.0, 3.0}},
    };
    for (const Case& c : cases) {
        JogMemory m;
        for (std::size_t i = 0; i < c.positions.size(); ++i) {
            EXPECT_DOUBLE_EQ(JogStep(m, c.positions[i], kPanZoomJog), c.steps[i]) << c.what << " #" << i;
            EXPECT_EQ(JogStep(m, 0, kPanZoomJog), 0.0) << c.what << ": the reset moves nothing";
        }
    }
    JogMemory m;
    EXPECT_DOUBLE_EQ(JogStep(m, 25, kReferenceJog), 0.025);
    EXPECT_EQ(m.last, 25);
}

TEST_F(StartedGear, BarGestureStepsTheSlotAndMakesOneUndoEntry) {
    CommitLikeEditor(g, 2, 3.0f);
    ClearUndo(g);
    DynVarBarEnter(g, 1);
    for (int repeat = 0; repeat < 5; ++repeat) {
        DynVarBarChange(g, 1, 1); // held right arrow
        DynVarBarChange(g, 1, 0); // the bar put back to 0
    }
    EXPECT_FLOAT_EQ(g.frame.stroke, 3.005f);
    DynVarBarGestureEnd(g, 1);
    EXPECT_EQ(g.undoCount, 1);
    EXPECT_EQ(g.undo[1].id, 2);
    EXPECT_EQ(g.undo[1].oldValue, 3.0f);
    EXPECT_FLOAT_EQ(g.undo[1].newValue, 3.005f);
    EXPECT_FALSE(g.undoPending);
    UndoLast(g);
    EXPECT_EQ(g.frame.stroke, 3.0f);
}

TEST_F(StartedGear, EmptySlotGestureRecordsAnEmptyEntry) {
    DynVarBarEnter(g, 3);
    DynVarBarChange(g, 3, 10);
    DynVarBarChange(g, 3, 0);
    DynVarBarGestureEnd(g, 3);
    EXPECT_EQ(g.undo[1].id, 0);
    EXPECT_TRUE(g.undoButtonEnabled[0]);
    EXPECT_EQ(g.frame.stroke, 3.0f);
}

} // namespace
} // namespace vx
