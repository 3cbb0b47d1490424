// Undo and redo over sequences of edits: each sequence is a row of a table,
// written as tokens: "S4" commits Stroke = 4 as the editor does, "A-10"
// commits Ecc Fwd Angle = -10, "U" is one undo, "R" one redo, "U*7" seven
// undos, "S1..105" 105 commits of Stroke = 1, 2, ..., 105.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <sstream>
#include <string>

#include "model/workspace/dimension_edit.h"
#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "model/workspace/undo_redo.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

class UndoRedo : public test::StartedGear {};

constexpr int kStroke = 2;
constexpr int kEccFwdAngle = 6;

int ToInt(std::string_view s) {
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

void Edit(GearState& g, int id, float v) {
    g.undoPending = true; // a key was typed in the box
    CommitEditorBox(g, id, v);
}

void RunSequence(GearState& g, const std::string& sequence) {
    std::istringstream in(sequence);
    std::string t;
    while (in >> t) {
        const char op = t[0];
        const std::string_view rest = std::string_view(t).substr(1);
        if (op == 'U' || op == 'R') {
            const int times = rest.empty() ? 1 : ToInt(rest.substr(1));
            for (int i = 0; i < times; ++i) (op == 'U' ? UndoChange(g) : RedoChange(g));
            continue;
        }
        const int id = op == 'S' ? kStroke : kEccFwdAngle;
        const auto range = rest.find("..");
        if (range == std::string_view::npos) {
            Edit(g, id, static_cast<float>(ToInt(rest)));
        } else {
            for (int v = ToInt(rest.substr(0, range)); v <= ToInt(rest.substr(range + 2)); ++v)
                Edit(g, id, static_cast<float>(v));
        }
    }
}

struct Row {
    const char* sequence;
    float stroke; // 0: the start value
    float angle;  // 0: the start value
    int undoCount, redoCount;
    const char* undoLine; // the redo line, or "" when the classic line shows
};

TEST_F(UndoRedo, EditUndoRedoSequences) {
    const float stroke0 = g.frame.stroke;
    const float angle0 = g.frame.eccFwdAngle;
    const Row rows[] = {
        {"", 0, 0, 0, 0, ""},
        {"U R", 0, 0, 0, 0, ""},  // nothing to undo, nothing to redo
        {"S4", 4, 0, 1, 0, ""},
        {"S4 U", 0, 0, 0, 1, " 1- ReDo Stroke  3.000 to  4.000"},
        {"S4 U R", 4, 0, 1, 0, ""},
        {"S4 S5 U U", 0, 0, 0, 2, " 2- ReDo Stroke  3.000 to  4.000"},
        {"S4 S5 U U R", 4, 0, 1, 1, ""},
        {"S4 S5 U U R R", 5, 0, 2, 0, ""},
        {"S4 S5 U U R R R", 5, 0, 2, 0, ""}, // one redo too many changes nothing
        {"S4 S5 U S6 R", 6, 0, 2, 0, ""},    // a new change empties the redo list
        {"S4 S5 U U S6 R U", 0, 0, 0, 1, " 1- ReDo Stroke  3.000 to  6.000"},
        {"S4 A-10 U", 4, 0, 1, 1, ""},       // undo still has Stroke: the classic line
        {"S4 A-10 U R", 4, 350, 2, 0, ""},   // the angle comes back folded
        {"A-10 S4 U U R", 0, 350, 1, 1, ""},
        // The classic limit: 99 entries, the oldest forgotten.
        {"S1..105", 105, 0, 99, 0, ""},
        {"S1..105 U*105", 6, 0, 0, 99, "99- ReDo Stroke  6.000 to  7.000"},
        {"S1..105 U*105 R*105", 105, 0, 99, 0, ""},
        {"S1..105 U*50 R*20", 75, 0, 69, 30, ""},
        {"S1..105 U*50 S200 R", 200, 0, 50, 0, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sequence);
        GearState s = g;
        RunSequence(s, r.sequence);
        EXPECT_FLOAT_EQ(s.frame.stroke, r.stroke != 0 ? r.stroke : stroke0);
        EXPECT_FLOAT_EQ(s.frame.eccFwdAngle, r.angle != 0 ? r.angle : angle0);
        EXPECT_EQ(s.undoCount, r.undoCount);
        EXPECT_EQ(s.redoCount, r.redoCount);
        FixedText<128> line;
        EXPECT_EQ(ComposeRedoLine(s, line), *r.undoLine != '\0');
        EXPECT_EQ(line.View(), r.undoLine);
        // The UnDo buttons follow the undo list.
        EXPECT_EQ(s.undoButtonEnabled[0], s.undo[1].id != 0);
    }
}

TEST_F(UndoRedo, NoticeSaysWhatWasUndoneAndRedone) {
    Edit(g, kStroke, 4);
    FixedText<128> notice;
    EXPECT_FALSE(ComposeUndoNotice(g, notice));
    ASSERT_TRUE(UndoChange(g));
    EXPECT_TRUE(ComposeUndoNotice(g, notice));
    EXPECT_EQ(notice.View(), "UnDone Stroke  4.000 to  3.000");
    ASSERT_TRUE(RedoChange(g));
    notice.Clear();
    EXPECT_TRUE(ComposeUndoNotice(g, notice));
    EXPECT_EQ(notice.View(), "ReDone Stroke  3.000 to  4.000");
    EXPECT_EQ(g.dynVarSlots[1].value, 4.0f);
}

TEST_F(UndoRedo, NoticeShowsASmallStep) {
    Edit(g, kStroke, 3.0005f);
    ASSERT_TRUE(UndoChange(g));
    FixedText<128> notice;
    EXPECT_TRUE(ComposeUndoNotice(g, notice));
    EXPECT_EQ(notice.View(), "UnDone Stroke 3.0005 to 3.0000");
}

TEST_F(UndoRedo, ClearingUndoForgetsRedo) {
    Edit(g, kStroke, 4);
    UndoChange(g);
    ClearUndo(g);
    EXPECT_EQ(g.redoCount, 0);
    EXPECT_FALSE(RedoChange(g));
    EXPECT_FLOAT_EQ(g.frame.stroke, 3.0f);
}

// Undo and redo restore the exact bits, whatever made the change: a typed
// commit or a bar gesture, with the dimension in a slot (the slots are
// refreshed after an undo without writing the dimension again).
TEST_F(UndoRedo, UndoAndRedoRestoreTheExactBits) {
    for (const DimensionInfo& d : AllDimensions()) {
        if (!IsDynamicVariable(d.id)) continue;
        SCOPED_TRACE(d.field);
        for (const bool gesture : {false, true}) {
            // A value that one step up and back would not give back.
            const float start = IsAngleDimension(d.id) ? 123.456787f : 1.82099998f;
            WriteDimensionById(g, d.id, start);
            const float stored = DimensionValue(g, d);
            g.dynVarSlots[1] = DynVarSlot{d.id, stored, d.shortName};
            if (gesture) {
                DynVarBarEnter(g, 1);
                DynVarBarChange(g, 1, 10);
                DynVarBarChange(g, 1, 0);
                DynVarBarGestureEnd(g, 1);
            } else {
                Edit(g, d.id, stored + 0.0123f);
            }
            const float changed = DimensionValue(g, d);
            ASSERT_NE(changed, stored);
            ASSERT_TRUE(UndoChange(g));
            EXPECT_EQ(std::bit_cast<std::uint32_t>(DimensionValue(g, d)), std::bit_cast<std::uint32_t>(stored));
            EXPECT_EQ(std::bit_cast<std::uint32_t>(g.dynVarSlots[1].value), std::bit_cast<std::uint32_t>(stored));
            ASSERT_TRUE(RedoChange(g));
            EXPECT_EQ(std::bit_cast<std::uint32_t>(DimensionValue(g, d)), std::bit_cast<std::uint32_t>(changed));
            ClearUndo(g);
        }
    }
}

// A mid-gear search after a change goes with the newest entry: undo puts the
// figures from before it back, redo the ones after; a search that changed
// nothing, or with no change to undo, is not kept.
TEST_F(UndoRedo, MidGearSearchGoesWithTheNewestChange) {
    const MidGearFigures original = TakeMidGearFigures(g);
    RecordMidGearSearch(g, original);
    EXPECT_FALSE(g.undo[1].midGearSearched) << "no entry to keep it";

    Edit(g, kStroke, 4);
    MidGearFigures moved = original;
    moved.centre += 0.5f;
    moved.positions[1] = moved.centre;
    moved.reverseArmPosition = moved.centre;
    PutMidGearFigures(g, moved);
    RecordMidGearSearch(g, original);
    ASSERT_TRUE(g.undo[1].midGearSearched);
    // A second search keeps the figures from before the first.
    MidGearFigures again = moved;
    again.centre += 0.25f;
    PutMidGearFigures(g, again);
    RecordMidGearSearch(g, moved);
    EXPECT_EQ(g.undo[1].midGearBefore, original);
    EXPECT_EQ(g.undo[1].midGearAfter, again);

    ASSERT_TRUE(UndoChange(g));
    EXPECT_EQ(TakeMidGearFigures(g), original);
    EXPECT_EQ(g.frame.stroke, 3.0f);
    ASSERT_TRUE(RedoChange(g));
    EXPECT_EQ(TakeMidGearFigures(g), again);
    EXPECT_EQ(g.frame.stroke, 4.0f);

    // A new change starts without a search of its own.
    Edit(g, kStroke, 5);
    EXPECT_FALSE(g.undo[1].midGearSearched);
    RecordMidGearSearch(g, TakeMidGearFigures(g));
    EXPECT_FALSE(g.undo[1].midGearSearched) << "nothing moved";
}

} // namespace
} // namespace vx
