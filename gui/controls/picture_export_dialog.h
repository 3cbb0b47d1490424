// "Export &Picture...": the main window's picture or a diagram as a PNG or
// SVG file (by the suffix chosen), written by the picture writer of the
// export layer that vexlin-cli render and diagram also call, so that the
// window and the command line write the same file for the same state. The standard save dialog offers
// both kinds and opens where the last picture went; a failed write shows one
// message naming the file and the reason and leaves an existing file as it
// was.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "export/picture_file.h"

class QFileDialog;
class QWidget;

namespace vx {

class PictureExport final : public QObject {
    Q_OBJECT

public:
    explicit PictureExport(QObject* parent = nullptr);

    // Asks for the file (over `window`) and writes it; true when written.
    bool Export(QWidget* window, const PictureSource& picture);

    // Writes the file of the kind its name asks for (PictureKindOf). A
    // failure, or a suffix of no kind the program writes, shows one message
    // over `window`; true when written.
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
