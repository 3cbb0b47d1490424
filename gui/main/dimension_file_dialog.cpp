#include "gui/main/dimension_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace vx {

DimensionFileCommands::DimensionFileCommands(QWidget* parent, GearState& g, Hooks hooks)
    : QObject(parent), parent_(parent), g_(g), hooks_(std::move(hooks)) {}

void DimensionFileCommands::ConfigureDialog(QFileDialog& d, bool save) {
    d.setNameFilters({QStringLiteral("Data File (*.vxd)"), QStringLiteral("All Files (*)")});
    d.setOption(QFileDialog::ReadOnly, false);
    d.setOption(QFileDialog::DontConfirmOverwrite, false);
    d.setSizeGripEnabled(true);
    if (save) {
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setDefaultSuffix(QStringLiteral("vxd")); // a name typed without one is saved with it
        d.setFileMode(QFileDialog::AnyFile);
        d.setWindowTitle(QStringLiteral("Save As....."));
    } else {
        d.setAcceptMode(QFileDialog::AcceptOpen);
        d.setFileMode(QFileDialog::ExistingFile);
        d.setWindowTitle(QStringLiteral("Open"));
    }
}

QString DimensionFileCommands::Choose(bool save) {
    if (chooseFile) return chooseFile(save);
    QFileDialog d(parent_);
    d.setObjectName(save ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
    ConfigureDialog(d, save);
    d.setDirectory(folder_.isEmpty() ? QDir::currentPath() : folder_);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
    return d.selectedFiles().constFirst();
}

void DimensionFileCommands::OpenDimensions() {
    const QString path = Choose(false);
    if (path.isEmpty()) {
        if (hooks_.overlayRefresh) hooks_.overlayRefresh();
        return;
    }
    OpenFile(path);
}

void DimensionFileCommands::SaveAsDimensions() {
    const QString path = Choose(true);
    if (path.isEmpty()) return;
    SaveFile(path);
}

bool DimensionFileCommands::OpenFile(const QString& path) {
    folder_ = QFileInfo(path).absolutePath();
    // The file is read whole before the model changes, so a failure leaves
    // the design on screen and the overlay dialog's rows as they were.
    const FileResult r = hooks_.open(path.toStdString());
    if (!r.ok) {
        if (showError) showError(QString::fromStdString(r.error));
        else QMessageBox::critical(parent_, QStringLiteral("Open Dimensions"), QString::fromStdString(r.error));
        return false;
    }
    if (hooks_.overlayOpened) hooks_.overlayOpened();
    // Opened, but not a usable design: said, the design kept to be mended.
    if (!r.error.empty()) {
        if (showError) showError(QString::fromStdString(r.error));
        else QMessageBox::warning(parent_, QStringLiteral("Open Dimensions"), QString::fromStdString(r.error));
    }
    return true;
}

bool DimensionFileCommands::SaveFile(const QString& path) {
    folder_ = QFileInfo(path).absolutePath();
    const FileResult r = SaveDesign(g_, path.toStdString());
    if (!r.ok) {
        if (showError) showError(QString::fromStdString(r.error));
        else QMessageBox::critical(parent_, QStringLiteral("Save Dimensions"), QString::fromStdString(r.error));
        return false;
    }
    return true;
}

} // namespace vx
