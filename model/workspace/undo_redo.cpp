#include "model/workspace/undo_redo.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "base/fixed_format.h"
#include "model/gear/reverse_arm.h"

namespace vx {
namespace {

void PushRedo(GearState& g, const UndoEntry& e) {
    for (int i = kUndoEntries - 2; i >= 1; --i)
        g.redo[static_cast<std::size_t>(i + 1)] = g.redo[static_cast<std::size_t>(i)];
    g.redo[1] = e;
    g.redoCount = std::min(g.redoCount + 1, kUndoEntries - 1);
}

UndoEntry PopRedo(GearState& g) {
    const UndoEntry e = g.redo[1];
    for (int i = 1; i < kUndoEntries - 1; ++i)
        g.redo[static_cast<std::size_t>(i)] = g.redo[static_cast<std::size_t>(i + 1)];
    g.redo[kUndoEntries - 1] = UndoEntry{};
    --g.redoCount;
    return e;
}

void Notice(GearState& g, const UndoEntry& e, bool redo) {
    g.noticeEntry = e;
    g.noticeRedo = redo;
    g.noticeFrames = kUndoNoticeFrames;
}

// The undo line writes its two values with three decimals, in ten
// characters at most. Where three decimals cannot tell two different values
// apart (a nudge of 0.0005), both take as many more decimals as it needs to
// show the change, up to nine, and the cut grows with them.
constexpr int kChangeDecimals = 3;
constexpr int kMostChangeDecimals = 9;
constexpr std::size_t kChangeValueChars = 10;

int ChangeDecimals(double from, double to) {
    if (from == to || !std::isfinite(from) || !std::isfinite(to)) return kChangeDecimals;
    for (int d = kChangeDecimals; d <= kMostChangeDecimals; ++d) {
        char a[kNumberBuffer];
        char b[kNumberBuffer];
        if (FormatFixed(a, from, 0, d) != FormatFixed(b, to, 0, d)) return d;
    }
    return kChangeDecimals; // the same to nine decimals: the classic line
}

void AppendChangeValues(FixedText<128>& out, double from, double to) {
    const int d = ChangeDecimals(from, to);
    const std::size_t cut = kChangeValueChars + static_cast<std::size_t>(d - kChangeDecimals);
    char buf[kNumberBuffer];
    out.Append(FormatFixedCut(buf, from, 6, d, cut));
    out.Append(" to ");
    out.Append(FormatFixedCut(buf, to, 6, d, cut));
}

void AppendChange(FixedText<128>& out, std::string_view name, float from, float to) {
    out.Append(name.substr(0, 25));
    out.Append(" ");
    AppendChangeValues(out, from, to);
}

} // namespace

MidGearFigures TakeMidGearFigures(const GearState& g) {
    MidGearFigures f;
    f.centre = g.revArm.centre;
    for (std::size_t k = 1; k <= 3; ++k) f.positions[k] = g.revArm.position[k];
    f.reverseArmPosition = g.motion.reverseArmPosition;
    f.pivot18X = g.piv.x[18];
    return f;
}

void PutMidGearFigures(GearState& g, const MidGearFigures& f) {
    g.revArm.centre = f.centre;
    for (std::size_t k = 1; k <= 3; ++k) g.revArm.position[k] = f.positions[k];
    g.motion.reverseArmPosition = f.reverseArmPosition;
    g.motion.direction = DirectionAt(f.reverseArmPosition, f.centre);
    g.piv.x[18] = f.pivot18X;
    g.revArm.diagramRedrawPending = true;
}

void RecordMidGearSearch(GearState& g, const MidGearFigures& before) {
    UndoEntry& e = g.undo[1];
    if (e.id <= 0) return;
    const MidGearFigures after = TakeMidGearFigures(g);
    if (!e.midGearSearched) {
        if (after == before) return;
        e.midGearBefore = before;
    }
    e.midGearSearched = true;
    e.midGearAfter = after;
}

bool UndoChange(GearState& g) {
    if (g.undo[1].id <= 0) return false;
    const UndoEntry e = g.undo[1];
    UndoLast(g);
    PushRedo(g, e);
    Notice(g, e, false);
    return true;
}

bool RedoChange(GearState& g) {
    if (g.redoCount <= 0) return false;
    const UndoEntry e = PopRedo(g);
    WriteDimensionById(g, e.id, e.newValue);
    if (e.midGearSearched) PutMidGearFigures(g, e.midGearAfter);
    g.frontCutOffText.clear();
    g.rearCutOffText.clear();
    // The slot of that dimension shows the value as the change left it.
    for (int k = 1; k <= 4; ++k) {
        DynVarSlot& s = g.dynVarSlots[static_cast<std::size_t>(k)];
        if (s.id == e.id) s.value = e.newValue;
    }
    PushUndoEntry(g);
    g.undo[1] = e;
    Notice(g, e, true);
    return true;
}

bool ComposeRedoLine(const GearState& g, FixedText<128>& out) {
    if (g.undo[1].id != 0 || g.redoCount <= 0) return false;
    const UndoEntry& e = g.redo[1];
    char buf[kNumberBuffer];
    out.Append(FormatFixed(buf, g.redoCount, 2, 0));
    out.Append("- ReDo ");
    AppendChange(out, e.name, e.oldValue, e.newValue);
    return true;
}

bool ComposeUndoNotice(const GearState& g, FixedText<128>& out) {
    if (g.noticeFrames <= 0) return false;
    AppendUndoNotice(g, out);
    return true;
}

void AppendUndoNotice(const FrameState& f, FixedText<128>& out) {
    const UndoEntry& e = f.noticeEntry;
    out.Append(f.noticeRedo ? "ReDone " : "UnDone ");
    if (f.noticeRedo) AppendChange(out, e.name, e.oldValue, e.newValue);
    else AppendChange(out, e.name, e.newValue, e.oldValue);
}

namespace {
constexpr std::size_t kUndoNameChars = 25;
} // namespace

void ComposeUndoLine(const GearState& g, FixedText<128>& out) {
    out.Clear();
    if (ComposeRedoLine(g, out)) return;
    const UndoEntry& newest = g.undo[1];
    AppendInt(out, g.undoCount, 2);
    out.Append("- ");
    out.Append(std::string_view(newest.name).substr(0, kUndoNameChars));
    out.Append(" ");
    AppendChangeValues(out, ShownDimensionValue(newest.id, newest.newValue),
                       ShownDimensionValue(newest.id, newest.oldValue));
}

void KeepUndoLineText(FrameState& f, std::string_view line) {
    const std::size_t n = std::min(line.size(), f.undoLineText.size() - 1);
    std::copy_n(line.data(), n, f.undoLineText.data());
    f.undoLineText[n] = '\0';
}

std::string_view UndoLineView(const FrameState& f) {
    return {f.undoLineText.data(), ::strnlen(f.undoLineText.data(), f.undoLineText.size())};
}

void ComposeDiagramUndoLine(const GearState& g, FixedText<128>& line) {
    ComposeUndoLine(g, line);
    // The spaces cover a longer line drawn before; a line of kUndoLineChars
    // covers any, and no more is drawn (the header rows lie beyond).
    if (line.size < kUndoLineChars) line.AppendSpaces(kUndoLineChars - line.size);
}

void RebuildDiagramUndoLine(GearState& g) {
    FixedText<128> line;
    ComposeDiagramUndoLine(g, line);
    KeepUndoLineText(g, line.View());
}

} // namespace vx
