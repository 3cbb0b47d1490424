// TFrameDi, "Frame Dimensions": the 32 frame and linkage dimensions, with
// the reverse arm travel Norm and Max.
#pragma once

#include "gui/editors/dimension_editor_dialog.h"

namespace vx {

class TFrameDi final : public DimensionEditor {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 386;
    static constexpr int kClientHeight = 265;
    TFrameDi(GearState& g, EditorHooks hooks, QWidget* parent = nullptr);

protected:
    void ApplyDefaults() override;
};

} // namespace vx
