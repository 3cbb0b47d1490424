// "&OpenDimensions" and "Save&AsDimensions": the standard file dialogs for
// dimension data files (".vxd"), the error message box, and the hand-offs to
// the main window and the lines-and-circles dialog around an open.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "data/dimension_file.h"
#include "model/state/gear_state.h"

class QFileDialog;
class QWidget;

namespace vx {

class DimensionFileCommands final : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        // Opens the file into the model and brings the main window's
        // controls in step (reverse arm bar range and "Cen", the dynamic
        // variables hidden). Required.
        std::function<FileResult(const std::string& path)> open;
        // The lines-and-circles dialog after a design was opened: its rows'
        // type, colour and reference texts emptied, the current item's row
        // highlighted, its table refreshed from the loaded overlay.
        std::function<void()> overlayOpened;
        // The lines-and-circles dialog's table refresh, when an open is
        // cancelled.
        std::function<void()> overlayRefresh;
    };

    DimensionFileCommands(QWidget* parent, GearState& g, Hooks hooks);

    // The menu and tool bar commands.
    void OpenDimensions();
    void SaveAsDimensions();

    // The steps after a file was chosen; true when done. A failure shows one
    // message box naming the file and the reason and leaves the design on
    // screen as it was (open) or an existing file as it was (save).
    bool OpenFile(const QString& path);
    bool SaveFile(const QString& path);

    // The dialogs as shown: filters "Data File (*.vxd)" and "All Files (*)",
    // default suffix vxd; open takes only an existing file; save is titled
    // "Save As....." and asks before overwriting.
    static void ConfigureDialog(QFileDialog& d, bool save);

    // Seams for tests: the file chooser (default: the dialog above; an
    // empty text is a cancel) and the error display (default: a message box).
    std::function<QString(bool save)> chooseFile;
    std::function<void(const QString& message)> showError;

private:
    QString Choose(bool save);

    QWidget* parent_;
    GearState& g_;
    Hooks hooks_;
    QString folder_; // where the last file was chosen
};

} // namespace vx
