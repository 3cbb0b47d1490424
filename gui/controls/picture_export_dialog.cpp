#include "gui/controls/picture_export_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <memory>

#include "scene/frame/frame_renderer.h"
#include "platform/qt/qt_image_canvas.h"
#include "platform/qt/qt_picture_file.h"
#include "platform/qt/qt_svg_canvas.h"
#include "platform/random.h"

namespace vx {

namespace {

const QString kPngFilter = QStringLiteral("PNG Image (*.png)");
const QString kSvgFilter = QStringLiteral("SVG Image (*.svg)");

} // namespace

PictureSource MainWindowPicture(const GearState& g) {
    auto copy = std::make_shared<GearState>(g);
    return {kFrameWidth, kFrameHeight, [copy](Canvas& c) {
                LcgRandom random(1);
                ComposeFrame(*copy, c, FrameServices{nullptr, &random, nullptr});
            }};
}

PictureSource DiagramPicture(const GearState& g, std::string_view name, const DiagramRequest& request) {
    const DiagramEntry* entry = FindDiagram(name);
    if (entry == nullptr) return {};
    auto copy = std::make_shared<GearState>(g);
    return {entry->width, entry->height, [copy, entry, request](Canvas& c) {
                c.Clear(colors::kWhite);
                entry->draw(*copy, c, request);
            }};
}

PictureExport::PictureExport(QObject* parent) : QObject(parent) {}

void PictureExport::ConfigureDialog(QFileDialog& d) {
    d.setWindowTitle(QStringLiteral("Export Picture"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setNameFilters({kPngFilter, kSvgFilter});
    d.selectNameFilter(kPngFilter);
    d.setDefaultSuffix(QStringLiteral("png"));
    d.setOption(QFileDialog::DontConfirmOverwrite, false);
    // A bare name takes the suffix of the kind chosen.
    QObject::connect(&d, &QFileDialog::filterSelected, &d, [&d](const QString& filter) {
        d.setDefaultSuffix(filter == kSvgFilter ? QStringLiteral("svg") : QStringLiteral("png"));
    });
}

bool PictureExport::Export(QWidget* window, const PictureSource& picture) {
    QFileDialog d(window);
    d.setObjectName(QStringLiteral("ExportPictureDialog"));
    ConfigureDialog(d);
    d.setDirectory(folder_.isEmpty() ? QDir::currentPath() : folder_);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return false;
    return WriteFile(window, d.selectedFiles().constFirst(), picture);
}

bool PictureExport::WriteFile(QWidget* window, const QString& path, const PictureSource& picture) {
    folder_ = QFileInfo(path).absolutePath();
    QString failure;
    if (!picture.draw || picture.width <= 0 || picture.height <= 0) {
        failure = QStringLiteral("cannot write %1: there is no picture to export").arg(path);
    } else if (IsSvgPath(path)) {
        SvgCanvas canvas(picture.width, picture.height);
        picture.draw(canvas);
        if (!canvas.Save(path, &failure) && failure.isEmpty()) failure = QStringLiteral("cannot write %1").arg(path);
    } else {
        QImageCanvas canvas(picture.width, picture.height);
        picture.draw(canvas);
        failure = WritePngFile(path, canvas.Image());
    }
    if (failure.isEmpty()) return true;
    if (showError) showError(failure);
    else QMessageBox::critical(window, QStringLiteral("Export Picture"), failure);
    return false;
}

} // namespace vx
