#include "scene/frame/dyn_var_texts.h"

#include <algorithm>

#include "model/dimensions.h"
#include "model/undo_redo.h"
#include "scene/frame/screen_text.h"

namespace vx {

namespace {
constexpr std::size_t kUndoNameChars = 25;
constexpr std::size_t kUndoValueChars = 10;
} // namespace

void ComposeUndoLine(const GearState& g, FixedText<128>& out) {
    out.Clear();
    if (ComposeRedoLine(g, out)) return;
    const UndoEntry& newest = g.undo[1];
    AppendInt(out, g.undoCount, 2);
    out.Append("- ");
    out.Append(std::string_view(newest.name).substr(0, kUndoNameChars));
    out.Append(" ");
    AppendReal(out, ShownDimensionValue(newest.id, newest.newValue), 6, 3, kUndoValueChars);
    out.Append(" to ");
    AppendReal(out, ShownDimensionValue(newest.id, newest.oldValue), 6, 3, kUndoValueChars);
}

void KeepUndoLineText(GearState& g, std::string_view line) {
    const std::size_t n = std::min(line.size(), g.undoLineText.size() - 1);
    std::copy_n(line.data(), n, g.undoLineText.data());
    g.undoLineText[n] = '\0';
}

} // namespace vx
