#include "gui/editors/cylinder_dimensions_dialog.h"

#include "model/workspace/defaults.h"

namespace vx {
namespace {

DimensionEditor::Layout CylinderLayout() {
    return {"CylDimen",
            "Cylinder Dimensions",
            TCylDimen::kClientWidth,
            TCylDimen::kClientHeight,
            QPoint(233, 104),
            QColor(Qt::white), // the system window colour
            CylinderEditorRows(),
            CylinderEditorNotes(),
            QRect(294, 192, 90, 25),
            "Reset1",
            "ResetCylDim",
            QRect(294, 168, 90, 17),
            WindowKind::CylinderDimensions};
}

} // namespace

TCylDimen::TCylDimen(GearState& g, EditorHooks hooks, QWidget* parent)
    : DimensionEditor(g, std::move(hooks), CylinderLayout(), parent) {}

// Pivot 3's height and the valve spindle height come with the defaults.
void TCylDimen::ApplyDefaults() { ApplyCylinderDefaults(Model()); }

} // namespace vx
