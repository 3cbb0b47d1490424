#include "gui/controls/report_export_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "export/report_file.h"
#include "gui/controls/analysis_settings.h"

namespace vx {

ReportExport::ReportExport(QWidget* parent, const GearState& g)
    : QObject(parent), paper(LocalePaper()), parent_(parent), g_(g) {
    chooseFile = [this] {
        QFileDialog d(parent_);
        ConfigureDialog(d);
        d.selectFile(QString::fromStdString(g_.designName) + QStringLiteral(".pdf"));
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return QString();
        return d.selectedFiles().front();
    };
    showError = [this](const QString& message) { QMessageBox::warning(parent_, QStringLiteral("Vexlin"), message); };
}

void ReportExport::ConfigureDialog(QFileDialog& d) {
    d.setWindowTitle(QStringLiteral("Export Report"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setNameFilters({QStringLiteral("PDF File (*.pdf)"), QStringLiteral("All Files (*)")});
    d.setDefaultSuffix(QStringLiteral("pdf"));
    d.setOption(QFileDialog::DontConfirmOverwrite, false);
}

void ReportExport::ExportReport() {
    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty()) return;
    WriteFile(path);
}

bool ReportExport::WriteFile(const QString& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = WriteReport(g_, paper, path, LoadAnalysisSettings().unit);
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty() && showError) showError(error);
    return error.isEmpty();
}

} // namespace vx
