#include "gui/controls/picture_export_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <optional>

namespace vx {

namespace {

const QString kPngFilter = QStringLiteral("PNG Image (*.png)");
const QString kSvgFilter = QStringLiteral("SVG Image (*.svg)");

} // namespace

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
    const std::optional<PictureKind> kind = PictureKindOf(path);
    const QString failure =
        kind ? WritePicture(path, *kind, picture)
             : QStringLiteral("cannot write %1: a picture is written as %2")
                   .arg(path, QString::fromLatin1(PictureKindNames().data(), static_cast<qsizetype>(PictureKindNames().size())));
    if (failure.isEmpty()) return true;
    if (showError) showError(failure);
    else QMessageBox::critical(window, QStringLiteral("Export Picture"), failure);
    return false;
}

} // namespace vx
