#include "gui/editors/frame_dimensions_dialog.h"

#include "model/workspace/defaults.h"

namespace vx {
namespace {

DimensionEditor::Layout FrameLayout() {
    return {"FrameDi",
            "Frame Dimensions",
            TFrameDi::kClientWidth,
            TFrameDi::kClientHeight,
            QPoint(212, 123),
            QColor(0, 128, 128), // the classic desktop colour
            FrameEditorRows(),
            FrameEditorNotes(),
            QRect(288, 236, 89, 25),
            "ResetFrame",
            "ResetFrameDim",
            QRect(288, 212, 89, 17),
            WindowKind::FrameDimensions};
}

} // namespace

TFrameDi::TFrameDi(GearState& g, EditorHooks hooks, QWidget* parent)
    : DimensionEditor(g, std::move(hooks), FrameLayout(), parent) {}

void TFrameDi::ApplyDefaults() {
    ApplyFrameDefaults(Model());
    if (Hooks().revArmRangeChanged) Hooks().revArmRangeChanged();
}

} // namespace vx
