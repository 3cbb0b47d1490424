#include "gui/controls/animation_export_dialog.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <memory>
#include <thread>

#include "export/animation_file.h"

namespace vx {
namespace {

// One export's work, shared by the worker thread and the window.
struct Job {
    std::unique_ptr<GearState> g; // the worker's copy of the design
    AnimationSettings settings;
    QString path;
    long long total = 0;
    std::atomic<long long> done{0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    // Written by the worker before `finished`, read after the join.
    AnimationOutcome outcome;
};

void Work(Job& job) {
    job.outcome = WriteAnimationGif(*job.g, job.settings, job.path, [&job](long long done, long long) {
        job.done.store(done);
        return !job.cancel.load();
    });
    job.finished.store(true);
}

} // namespace

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
    auto job = std::make_shared<Job>();
    job->g = std::make_unique<GearState>(model_);
    job->settings = SettingsOf(model_);
    job->path = path;
    job->total = TicksPerRevolution(job->settings.step);

    QProgressDialog progress(QStringLiteral("Writing the animation..."), QStringLiteral("Cancel"), 0,
                             static_cast<int>(std::min<long long>(job->total, 1 << 30)), window_);
    progress.setObjectName(QStringLiteral("AnimationProgress"));
    progress.setWindowTitle(QStringLiteral("Export Animation"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [job] { job->cancel.store(true); });

    std::thread worker([job] { Work(*job); });
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(30);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (progress.wasCanceled()) job->cancel.store(true);
        else progress.setValue(static_cast<int>(std::min<long long>(job->done.load(), progress.maximum())));
        if (job->finished.load()) loop.quit();
    });
    poll.start();
    progress.show();
    if (progressShown) progressShown(progress);
    loop.exec();
    worker.join();
    progress.hide();

    const AnimationOutcome& outcome = job->outcome;
    if (outcome.written) return true;
    if (outcome.cancelled) return false; // nothing is written
    const QString& failure = outcome.message;
    if (showError) showError(failure);
    else QMessageBox::critical(window_, QStringLiteral("Export Animation"), failure);
    return false;
}

} // namespace vx
