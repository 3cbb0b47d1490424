// A long piece of work (writing an animation, building a report's figures)
// run on a worker thread while the window stays alive: a window-modal
// progress dialog with Cancel follows it, and the window's own timers keep
// running. The export dialogs share it.
#pragma once

#include <QString>
#include <atomic>
#include <functional>

class QProgressDialog;
class QWidget;

namespace vx {

// What the worker and the window share while the work runs.
struct WorkerProgress {
    std::atomic<long long> done{0};
    std::atomic<long long> total{0}; // 0: not known yet
    std::atomic<bool> cancel{false}; // set by Cancel; the work checks it

    // The analyses' progress function: records how far, and says whether to go on.
    bool Report(long long d, long long t) {
        done.store(d);
        if (t > 0) total.store(t);
        return !cancel.load();
    }
};

struct ProgressLook {
    QString objectName; // of the progress dialog
    QString title;      // its caption
    QString label;      // what it says is going on
};

// Runs `work` on a worker thread and returns once it has returned, the
// progress dialog shown meanwhile (and handed to `shown`, when set, once
// it is up). `total` is the work's size when known before it starts.
void RunWithProgress(QWidget* window, const ProgressLook& look, long long total,
                     const std::function<void(WorkerProgress&)>& work,
                     const std::function<void(QProgressDialog&)>& shown);

} // namespace vx
