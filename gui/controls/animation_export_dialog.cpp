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
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/qt/qt_image_canvas.h"
#include "platform/qt/qt_picture_file.h"
#include "platform/random.h"

namespace vx {
namespace {

// One export's work, shared by the worker thread and the window.
struct Job {
    std::unique_ptr<GearState> g; // the worker's copy of the design
    AnimationSettings settings;
    long long total = 0;
    std::atomic<long long> done{0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    // Written by the worker before `finished`, read after the join.
    bool ok = false;
    std::vector<std::uint8_t> bytes;
    std::string error;
};

void Work(Job& job) {
    QImageCanvas canvas(kFrameWidth, kFrameHeight);
    LcgRandom random(1); // the command line's steam dots
    const FrameServices services{nullptr, &random, nullptr};
    const auto rows = [&canvas] {
        const QImage& image = std::as_const(canvas).Image();
        return PixelRows{reinterpret_cast<const std::uint32_t*>(image.constBits()),
                         static_cast<std::ptrdiff_t>(image.bytesPerLine() / 4)};
    };
    const auto progress = [&job](long long done, long long) {
        job.done.store(done);
        return !job.cancel.load();
    };
    job.ok = EncodeRevolutionGif(*job.g, job.settings, canvas, rows, services, progress, job.bytes, job.error);
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

    if (job->cancel.load()) return false; // cancelled: nothing is written
    QString failure;
    if (!job->ok) {
        failure = QStringLiteral("cannot write %1: %2").arg(path, QString::fromStdString(job->error));
    } else {
        failure = WriteWholeFile(path, QByteArray(reinterpret_cast<const char*>(job->bytes.data()),
                                                  static_cast<qsizetype>(job->bytes.size())));
    }
    if (failure.isEmpty()) return true;
    if (showError) showError(failure);
    else QMessageBox::critical(window_, QStringLiteral("Export Animation"), failure);
    return false;
}

} // namespace vx
