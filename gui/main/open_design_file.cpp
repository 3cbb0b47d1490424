// Opening a design file in the running main window: the model side is
// OpenDesign (data/dimension_file.h); this brings the window's controls in
// step with the loaded design.
#include "data/dimension_file.h"
#include "model/gear/design_validity.h"
#include "gui/main/draw_lines_dialog.h"
#include "gui/main/main_form.h"

namespace vx {

FileResult TMainForm::OpenDesignFile(const std::string& path) {
    FileResult r = OpenDesign(*model_, path);
    if (!r.ok) return r;
    // A file that is not a design (any 1460 bytes load) opens with the
    // error indicator up, and the cause named to the one who opened it.
    if (const DesignFault fault = CheckDesignValidity(*model_); fault.Any()) {
        model_->geometryError = true;
        model_->errorCause =
            fault.kind == DesignFaultKind::NotFinite ? GeometryCause::NotFinite : GeometryCause::BadLength;
        model_->errorCauseAngle = model_->motion.driverAngle;
        model_->display.errorCounter = 0;
        r.error = "\"" + path + "\" does not hold a usable design: " + DescribeDesignFault(fault);
    }
    // The reverse arm stands at the new mid gear; its bar follows the loaded
    // travel.
    SetRevArmRange();
    CenterClick();
    ShowDynVarControls();
    SyncUndoButton();
    // The lines-and-circles dialog shows the loaded overlay.
    if (windows_.drawLines != nullptr) windows_.drawLines->DesignOpened();
    return r;
}

} // namespace vx
