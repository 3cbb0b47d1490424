// "Export &Animation...": one revolution of the running gear from the main
// window's state as an animated GIF, written by the animation writer of the
// export layer that "vexlin-cli render animation" also calls, so that the
// file is the same for the same state. A worker thread draws into its own
// picture on a copy of the design while a progress dialog shows how far it
// is and can cancel; the window's animation keeps its pace meanwhile.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "scene/frame/animation_frames.h"
#include "model/state/gear_state.h"

class QFileDialog;
class QProgressDialog;
class QWidget;

namespace vx {

class AnimationExport final : public QObject {
    Q_OBJECT

public:
    // window: the main window, over which the dialogs stand; model: the
    // state the animation starts from.
    AnimationExport(QWidget* window, const GearState& model);

    // Asks for the file and writes it; true when written.
    bool Export();

    // Writes the animation of the model as it is now. False when cancelled
    // or failed; a failure shows one message naming the file and the reason
    // and leaves an existing file as it was.
    bool WriteFile(const QString& path);

    // The dialog as shown: filter "GIF Animation (*.gif)", suffix gif added
    // to a bare name, asks before overwriting.
    static void ConfigureDialog(QFileDialog& d);

    // The animation of a state: its chosen step angle (the one "Run" runs
    // at), 25 frames a second, the whole picture. The first frame shows the
    // state's driver angle.
    static AnimationSettings SettingsOf(const GearState& g);

    // Seams for tests: the error display (default: a message box), and a
    // call once the progress dialog is up.
    std::function<void(const QString& message)> showError;
    std::function<void(QProgressDialog& progress)> progressShown;

private:
    QWidget* window_;
    const GearState& model_;
    QString folder_;
};

} // namespace vx
