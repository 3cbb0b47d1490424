// TSetValves, "Set the Valves": from the valve events measured on a real
// engine to the dimensions it was built to and the corrections the shop
// should make. The user types or pastes the measurements into a table (one
// row per measurement, the columns of the measurement file), ticks the
// dimensions to fit and those the shop can adjust; "Fit" runs the fit and
// then the balance of the fitted engine on a copy of the design in a worker
// thread, with progress; "Cancel" stops it keeping the best point found;
// the results (fitted values, standard errors, warnings, residuals,
// corrections in shop terms, the events before and after) are shown as the
// command line prints them. "Apply fitted" writes the fitted values into the
// design, "Apply corrections" the fitted values and then the corrections,
// as the editors write dimensions (one undo entry per dimension) followed
// by the mid-gear search. A result is kept only while the design stays as
// it was fitted.
#pragma once

#include <QDialog>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "gui/editors/dimension_editor_dialog.h"
#include "model/analysis/balance.h"
#include "model/analysis/valve_fit.h"
#include "model/state/gear_state.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace vx {

// What a finished fit leaves: the problem, the fit and the corrections.
struct SetValvesOutcome {
    ValveFitProblem problem;
    ValveFitResult fit;
    std::optional<BalanceResult> corrections;
};

class TSetValves final : public QDialog {
    Q_OBJECT

public:
    TSetValves(GearState& g, EditorHooks hooks, QWidget* parent = nullptr);
    ~TSetValves() override;

    // The measurements as the table holds them, as a measurement file's text.
    std::string TableText() const;
    // Fills the table from a measurement file's text (or pasted rows with or
    // without the header, separated by commas or tabs); false with the
    // message shown when a line cannot be read.
    bool SetTableText(const std::string& text);
    void AddRowClick();
    void DeleteRowClick();
    void PasteClick();

    // "Fit": reads the table and the ticks (a fault is shown in the window)
    // and starts the fit on a copy of the design.
    void FitClick();
    void CancelClick();
    void ApplyFittedClick();
    void ApplyCorrectionsClick();

    bool Running() const { return worker_.joinable(); }
    const std::optional<SetValvesOutcome>& Outcome() const { return outcome_; }
    QString ResultsText() const;
    QString Summary() const;

    // However the window closes, a fit under way is cancelled first.
    void done(int result) override;

private:
    void BuildControls();
    std::vector<int> Ticked(const QListWidget* list) const;
    void ShowProgress(const FitProgress& p, bool balancing);
    void Finished(unsigned run, std::shared_ptr<SetValvesOutcome> r);
    void ShowOutcome();
    void StopWorker();
    void SyncButtons();
    void DropOutcome();
    // Records the mid-gear search that follows an apply, and tells the windows.
    void AfterApply(MidGearResult found, const QString& said);

    GearState& g_;
    EditorHooks hooks_;
    std::vector<int> ids_; // dimension id of each row of the two lists
    QTableWidget* table_ = nullptr;
    QListWidget* vary_ = nullptr;
    QListWidget* adjust_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* summary_ = nullptr;
    QPlainTextEdit* results_ = nullptr;
    QPushButton* fit_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* applyFitted_ = nullptr;
    QPushButton* applyCorrections_ = nullptr;

    std::thread worker_;
    std::atomic<bool> cancelRequested_{false};
    std::optional<SetValvesOutcome> outcome_;
    std::vector<std::uint32_t> fittedFrom_;   // DesignDimensionBits of the design fitted
    std::vector<std::uint32_t> fittedDesign_; // ... of the fitted design, once applied
    unsigned runCount_ = 0;
};

} // namespace vx
