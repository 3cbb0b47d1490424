// Stepping back and forth through the changes of the undo list. Undo is the
// classic list (its limit and its line unchanged); what undo takes back goes
// onto a redo list, newest first, and redo applies it again and puts it back
// on the undo list. A new change (BeginUndoEntry) empties the redo list, and
// so does clearing the undo list.
#pragma once

#include "model/state/display_state.h"
#include "model/state/gear_state.h"

namespace vx {

// Frames a notice of an undo or redo stays where the hidden undo line would be.
constexpr int kUndoNoticeFrames = 150;

// The figures a mid-gear search writes, taken from and put into the model.
MidGearFigures TakeMidGearFigures(const GearState& g);
void PutMidGearFigures(GearState& g, const MidGearFigures& f);
// After a mid-gear search that followed a change ("Close" of an editor,
// Balance "Apply"): the newest undo entry, if any, keeps the figures from
// before the search (the first such search's) and after it, so that undoing
// the change takes the search back with it. A search that changed nothing
// is not kept.
void RecordMidGearSearch(GearState& g, const MidGearFigures& before);

// Undoes entry 1 if it names a change (id above 0) and keeps it for redo;
// returns whether anything was undone.
bool UndoChange(GearState& g);
// Applies the newest undone change again and makes it entry 1 of the undo
// list; returns whether there was one.
bool RedoChange(GearState& g);

// The undo line while undo has nothing left (entry 1 names no change) and
// redo has: the redo count as width 2, "- ReDo ", the name, " ", the value
// now, " to ", the value redo sets (6:3, at most 10 characters each).
// Returns false, writing nothing, otherwise.
bool ComposeRedoLine(const GearState& g, FixedText<128>& out);

// The notice of the last undo or redo while noticeFrames is above 0:
// "UnDone " or "ReDone ", the name, " ", the value before, " to ", the value
// after. Returns false, writing nothing, when there is none.
bool ComposeUndoNotice(const GearState& g, FixedText<128>& out);
// The notice's text whatever noticeFrames holds.
void AppendUndoNotice(const FrameState& f, FixedText<128>& out);

// The undo line: while undo has nothing left and redo has, the redo line;
// otherwise the undo count as width 2, "- ", the newest entry's name (its
// first 25 characters), " ", its value after the change, " to ", its value
// before (the one UnDo restores), each as 6:3 of at most 10 characters.
void ComposeUndoLine(const GearState& g, FixedText<128>& out);

// The undo line text every picture shares (FrameState::undoLineText): kept
// as the main picture shows it, cut to the text's capacity; read back.
void KeepUndoLineText(FrameState& f, std::string_view line);
std::string_view UndoLineView(const FrameState& f);

// The diagram windows' undo line: the undo line with spaces up to
// kUndoLineChars, which cover a longer line drawn before. A diagram draws
// the kept text, then its own; its window keeps its own after the drawing
// (RebuildDiagramUndoLine).
constexpr std::size_t kUndoLineChars = 60;
void ComposeDiagramUndoLine(const GearState& g, FixedText<128>& line);
void RebuildDiagramUndoLine(GearState& g);

} // namespace vx
