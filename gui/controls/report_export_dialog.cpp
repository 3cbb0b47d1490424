#include "gui/controls/report_export_dialog.h"

#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/qt/qt_pdf_canvas.h"
#include "scene/report/design_report.h"

#ifndef VEXLIN_VERSION
#define VEXLIN_VERSION "unknown"
#endif

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
    PdfCanvas canvas(path, paper,
                     QStringLiteral("Vexlin design report: %1").arg(QString::fromStdString(g_.designName)));
    QString error = QStringLiteral("cannot write %1").arg(path);
    bool ok = canvas.IsOpen();
    if (ok) {
        const ReportInfo info{QDate::currentDate().toString(Qt::ISODate).toStdString(), VEXLIN_VERSION};
        DrawDesignReport(g_, canvas, info);
        ok = canvas.Finish(&error);
    }
    QApplication::restoreOverrideCursor();
    if (!ok && showError) showError(error);
    return ok;
}

} // namespace vx
