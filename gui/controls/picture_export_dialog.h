// "Export &Picture...": the main window's picture or a diagram as a PNG or
// SVG file (by the suffix chosen), drawn afresh by the same canvas code as
// vexlin-cli render and diagram, so that the window and the command line
// write the same file for the same state. The standard save dialog offers
// both kinds and opens where the last picture went; a failed write shows one
// message naming the file and the reason and leaves an existing file as it
// was.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string_view>

#include "scene/diagrams/diagram_registry.h"
#include "model/gear_state.h"

class QFileDialog;
class QWidget;

namespace vx {

class Canvas;

// A picture to export: its size and how to draw it on a fresh canvas of
// that size.
struct PictureSource {
    int width = 0, height = 0;
    std::function<void(Canvas&)> draw;
};

// The main window's picture: the frame composed again on a copy of the
// model, silent, the steam dots from the command line's fixed seed.
PictureSource MainWindowPicture(const GearState& g);

// A diagram as "vexlin-cli diagram NAME" draws it, on a copy of the model;
// width 0 when there is no diagram of that name.
PictureSource DiagramPicture(const GearState& g, std::string_view name, const DiagramRequest& request);

class PictureExport final : public QObject {
    Q_OBJECT

public:
    explicit PictureExport(QObject* parent = nullptr);

    // Asks for the file (over `window`) and writes it; true when written.
    bool Export(QWidget* window, const PictureSource& picture);

    // Writes the file: SVG when the name ends in ".svg", else PNG. A failure
    // shows one message over `window`; true when written.
    bool WriteFile(QWidget* window, const QString& path, const PictureSource& picture);

    // The dialog as shown: filters "PNG Image (*.png)" and "SVG Image
    // (*.svg)", the suffix of the chosen filter added to a bare name, asks
    // before overwriting.
    static void ConfigureDialog(QFileDialog& d);

    // Where the last picture was written (empty: none yet).
    const QString& Folder() const { return folder_; }

    // Seam for tests: the error display (default: a message box).
    std::function<void(const QString& message)> showError;

private:
    QString folder_;
};

} // namespace vx
