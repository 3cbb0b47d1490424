#include "gui/controls/animation_export_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <memory>

#include "export/animation_file.h"
#include "gui/controls/worker_progress.h"

namespace vx {

AnimationExport::AnimationExport(QWidget* window, const GearState& model)
    : QObject(window), window_(window), model_(model) {}

void AnimationExport::ConfigureDialog(QFileDialog& d) {
    d.setWindowTitle(QStringLiteral("Export Animation"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setNameFilters({QStringLiteral("GIF Animation (*.gif)")});
    d.setDefaultSuffix(QStringLiteral("gif"));
    d.setOption(QFileDialog::DontConfirmOverwrite, false);
}

AnimationSettings AnimationExport::SettingsOf(const GearState& g) {
    AnimationSettings a;
    a.step = g.motion.selectedStep;
    return a;
}

bool AnimationExport::Export() {
    QFileDialog d(window_);
    d.setObjectName(QStringLiteral("ExportAnimationDialog"));
    ConfigureDialog(d);
    d.setDirectory(folder_.isEmpty() ? QDir::currentPath() : folder_);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return false;
    return WriteFile(d.selectedFiles().constFirst());
}

bool AnimationExport::WriteFile(const QString& path) {
    folder_ = QFileInfo(path).absolutePath();
    // The worker's own copy of the design.
    const auto g = std::make_shared<const GearState>(model_);
    const AnimationSettings settings = SettingsOf(model_);
    AnimationOutcome outcome;
    RunWithProgress(
        window_,
        {QStringLiteral("AnimationProgress"), QStringLiteral("Export Animation"), QStringLiteral("Writing the animation...")},
        TicksPerRevolution(settings.step),
        [&](WorkerProgress& p) {
            outcome = WriteAnimationGif(*g, settings, path, [&p](long long d, long long) {
                p.done.store(d);
                return !p.cancel.load();
            });
        },
        progressShown);

    if (outcome.written) return true;
    if (outcome.cancelled) return false; // nothing is written
    const QString& failure = outcome.message;
    if (showError) showError(failure);
    else QMessageBox::critical(window_, QStringLiteral("Export Animation"), failure);
    return false;
}

} // namespace vx
