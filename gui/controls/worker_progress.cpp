#include "gui/controls/worker_progress.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <thread>

namespace vx {
namespace {

// The progress bar's range is an int.
int BarValue(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, 1 << 30)); }

} // namespace

void RunWithProgress(QWidget* window, const ProgressLook& look, long long total,
                     const std::function<void(WorkerProgress&)>& work,
                     const std::function<void(QProgressDialog&)>& shown) {
    // Shared with the worker, which may outlive nothing here: it is joined below.
    auto state = std::make_shared<WorkerProgress>();
    state->total.store(total);
    std::atomic<bool> finished{false};

    QProgressDialog progress(look.label, QStringLiteral("Cancel"), 0, std::max(1, BarValue(total)), window);
    progress.setObjectName(look.objectName);
    progress.setWindowTitle(look.title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [state] { state->cancel.store(true); });

    std::thread worker([state, &work, &finished] {
        work(*state);
        finished.store(true);
    });
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(30);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (progress.wasCanceled()) {
            state->cancel.store(true);
        } else {
            if (const long long t = state->total.load(); t > 0 && BarValue(t) != progress.maximum())
                progress.setMaximum(BarValue(t));
            progress.setValue(std::min(BarValue(state->done.load()), progress.maximum()));
        }
        if (finished.load()) loop.quit();
    });
    poll.start();
    progress.show();
    if (shown) shown(progress);
    loop.exec();
    worker.join();
    progress.hide();
}

} // namespace vx
