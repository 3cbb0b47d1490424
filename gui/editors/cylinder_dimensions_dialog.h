// TCylDimen, "Cylinder Dimensions": the 22 cylinder, piston, port and valve
// dimensions.
#pragma once

#include "gui/editors/dimension_editor_dialog.h"

namespace vx {

class TCylDimen final : public DimensionEditor {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 386;
    static constexpr int kClientHeight = 230;
    TCylDimen(GearState& g, EditorHooks hooks, QWidget* parent = nullptr);

protected:
    void ApplyDefaults() override;
};

} // namespace vx
