// TToleranceDia, "Tolerance": a member of the diagram windows' family
// (menu, "Close", the four dynamic-variable bars, "UnDo", "ReDraw") with
// the settings of a tolerance and wear run above its picture. "Run" starts
// the Monte Carlo run on a copy of the design in a worker thread while a
// bar shows the progress; "Cancel" ends it. The picture shows per notch a
// histogram of the front-rear cut-off difference with the design's own
// value marked, and the table; a design changed since the run (by a bar or
// UnDo) is said to be so. "Copy" puts the whole spread on the clipboard as
// CSV.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "gui/diagrams/analysis_window.h"
#include "model/analysis/tolerance.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vx {

class TToleranceDia final : public TAnalysisWindow {
    Q_OBJECT

public:
    explicit TToleranceDia(const DiagramHost& host, QWidget* parent = nullptr);
    ~TToleranceDia() override;

    // The settings the boxes describe, or the message naming the box at
    // fault.
    std::optional<ToleranceSettings> Settings(QString& fault) const;

    // "Run": checks the settings and starts the run on a copy of the design.
    void RunClick();
    // "Cancel": ends the run after the samples under way.
    void CancelClick();

    bool Running() const { return worker_.joinable(); }
    const std::optional<ToleranceResult>& Result() const { return result_; }
    QString Status() const { return status_; }
    std::string Csv() const override { return result_ ? ToleranceCsv(*result_) : std::string(kToleranceCsvHeader); }

    // Whether the design's dimensions differ from those of the last run
    // (the picture then says so above the result).
    bool DesignChanged() const;

    // However the window closes, a run under way is cancelled first.
    void done(int r) override;

protected:
    void DrawDiagram(Canvas& c) override;
    QString Caption() const override;

private:
    void Progress(long long done, long long total);
    void Finished(std::shared_ptr<ToleranceResult> r);
    void StopWorker();
    void SyncButtons();

    QLineEdit* lengths_ = nullptr;
    QLineEdit* angles_ = nullptr;
    QLineEdit* wear_ = nullptr;
    QLineEdit* samples_ = nullptr;
    QLineEdit* seed_ = nullptr;
    QLineEdit* threshold_ = nullptr;
    QCheckBox* noValve_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;

    std::thread worker_;
    std::atomic<bool> cancelRequested_{false};
    std::optional<ToleranceResult> result_;
    std::vector<float> runDimensions_; // the design's values at the last run
    QString status_;
};

} // namespace vx
