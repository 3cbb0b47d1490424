#include "gui/controls/report_export_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include <exception>
#include <memory>

#include "export/report_file.h"
#include "gui/controls/analysis_settings.h"
#include "gui/controls/worker_progress.h"
#include "model/analysis/report_data.h"

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
    // The worker builds from its own copy of the design, as it is now.
    const SolveMode solve = LoadAnalysisSettings().solve; // SetUp > Analysis Settings
    const auto design = std::make_shared<const GearState>(g_);
    auto data = std::make_unique<ReportData>();
    QString failure;
    RunWithProgress(
        parent_, {QStringLiteral("ReportProgress"), QStringLiteral("Export Report"), QStringLiteral("Building the report...")},
        0,
        [&](WorkerProgress& p) {
            try {
                *data = BuildReportData(*design, [&p](long long d, long long t) { return p.Report(d, t); }, solve);
            } catch (const std::exception& e) {
                failure = QStringLiteral("cannot build the report for ") + path + QStringLiteral(": ") +
                          QString::fromLocal8Bit(e.what());
            }
        },
        progressShown);
    if (!failure.isEmpty()) {
        if (showError) showError(failure);
        return false;
    }
    if (data->cancelled) return false; // nothing is written
    if (valveSetting) data->valveSetting = valveSetting();
    // Drawing the pages from the figures is quick.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = WriteReport(*data, paper, path, LoadAnalysisSettings().unit);
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty() && showError) showError(error);
    return error.isEmpty();
}

} // namespace vx
