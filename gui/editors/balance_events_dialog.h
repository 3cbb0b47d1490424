// TBalanceEvents, "Balance Events": the search for the dimensions that
// square the valve events of the front and rear ends. The user ticks the
// dimensions to vary (with their bounds), the reverse arm positions and the
// weights; "Run" searches on a copy of the design in a worker thread while
// the window shows the evaluations and the best objective so far; "Cancel"
// stops it keeping the best design found; "Apply" writes that design into
// the model as the editors do (one undo entry per changed dimension) and
// searches mid gear again, as closing an editor does. A result is kept only
// while the window stays open and the design stays as it was searched:
// closing or reopening the window, or any change of the design, drops it.
// The positions: the forward and reverse notches, the diagrams' positions
// list and offsets typed into the window.
#pragma once

#include <QDialog>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "gui/editors/dimension_editor_dialog.h"
#include "model/analysis/balance.h"
#include "model/state/gear_state.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace vx {

class TBalanceEvents final : public QDialog {
    Q_OBJECT

public:
    TBalanceEvents(GearState& g, EditorHooks hooks, QWidget* parent = nullptr);
    ~TBalanceEvents() override;

    // The window's rows of dimensions: every dynamic-variable dimension in
    // the editors' order.
    int DimensionRow(int id) const;

    // The problem the controls describe now.
    BalanceProblem Problem() const;

    // "Run": checks the problem (a fault is shown in the window) and starts
    // the search on a copy of the design.
    void RunClick();
    // "Cancel": ends the search after the evaluation under way.
    void CancelClick();
    // "Apply": the result into the model, then the mid-gear search.
    void ApplyClick();
    // "Tick Top 4": ticks the four dimensions that move the front-rear
    // cut-off difference most over the positions ticked, and only those.
    void TickTopClick();

    bool Running() const { return worker_.joinable(); }
    // The result of the last search, while it still fits the design.
    const std::optional<BalanceResult>& Result() const { return result_; }
    // "Add": the offset from mid gear typed in OffsetBox joins the positions, ticked.
    void AddOffsetClick();

    // However the window closes, a search under way is cancelled first.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BuildControls();
    void FillFromModel();
    void BoundEdited(QTableWidgetItem* item);
    void ShowProgress(const BalanceProgress& p);
    void Finished(unsigned search, std::shared_ptr<BalanceResult> r);
    void ShowResult();
    void StopWorker();
    void SyncButtons();
    // Forgets the result and what the window shows of it.
    void DropResult();
    // The result was computed on the design as it is now.
    bool ResultFitsDesign() const;

    GearState& g_;
    EditorHooks hooks_;
    std::vector<int> ids_;        // dimension id of each row of dims_
    std::vector<double> offsets_; // offset from mid gear of each row of positions_
    std::vector<double> typedOffsets_; // the offsets typed into the window, in order

    QTableWidget* dims_ = nullptr;
    QListWidget* positions_ = nullptr;
    QComboBox* direction_ = nullptr;
    QLineEdit* cutOff_ = nullptr;
    QLineEdit* lead_ = nullptr;
    QLineEdit* release_ = nullptr;
    QLineEdit* compression_ = nullptr;
    QLineEdit* work_ = nullptr; // the indicator cards' MEP front against rear
    QLineEdit* budget_ = nullptr;
    QLineEdit* offsetBox_ = nullptr;
    QPushButton* addOffset_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* best_ = nullptr;
    QTableWidget* changes_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* tickTop_ = nullptr;
    QPushButton* close_ = nullptr;

    std::thread worker_;
    std::atomic<bool> cancelRequested_{false};
    std::optional<BalanceResult> result_;
    std::vector<BalanceBound> resultBounds_;
    std::vector<std::uint32_t> searchedDesign_; // DesignDimensionBits of the design searched
    int searchBudget_ = 0;                      // the evaluation budget of the search
    unsigned searchCount_ = 0; // counts the searches and the drops; a late result of an older one is dropped
    bool filling_ = false; // the tables are being filled by the program
};

} // namespace vx
