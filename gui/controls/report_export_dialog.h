// "Export &Report...": the standard save dialog (PDF filter) and the design
// report written by the report writer of the export layer (the one
// "vexlin-cli report" calls), on the locale's paper. The report's figures
// are built on a worker thread, a progress dialog with Cancel shown
// meanwhile, so that the window stays alive.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "model/state/gear_state.h"
#include "platform/paper_size.h"

class QFileDialog;
class QProgressDialog;
class QWidget;

namespace vx {

class ReportExport final : public QObject {
    Q_OBJECT

public:
    ReportExport(QWidget* parent, const GearState& g);

    // The menu command: asks for the file, writes the report.
    void ExportReport();

    // Writes the report of the design to `path`; true when done. A failure
    // shows one message naming the file and the reason, and leaves an
    // existing file as it was; a cancel writes nothing and says nothing.
    bool WriteFile(const QString& path);

    // The dialog as shown: titled "Export Report", filters "PDF File (*.pdf)"
    // and "All Files (*)", default suffix pdf, asks before overwriting.
    static void ConfigureDialog(QFileDialog& d);

    // Seams for tests: the file chooser (an empty text is a cancel), the
    // error display and the paper (default: the locale's).
    std::function<QString()> chooseFile;
    std::function<void(const QString& message)> showError;
    std::function<void(QProgressDialog& progress)> progressShown; // once the progress dialog is up
    Paper paper;

private:
    QWidget* parent_;
    const GearState& g_;
};

} // namespace vx
