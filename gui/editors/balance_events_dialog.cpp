#include "gui/editors/balance_events_dialog.h"
#include "gui/controls/analysis_settings.h"
#include "gui/editors/number_text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "gui/diagrams/work_window.h"
#include "gui/editors/number_box_dialog.h"
#include "model/workspace/dimension_edit.h"
#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/analysis/sensitivity.h"
#include "base/typed_value.h"
#include "model/workspace/undo_redo.h"

namespace vx {
namespace {

enum DimColumn { kColName, kColValue, kColLower, kColUpper, kDimColumns };
enum ChangeColumn { kChangeName, kChangeBefore, kChangeAfter, kChangeColumns };

QString Fixed(double v, int decimals) { return NumberBoxText(v, decimals); }

// A typed weight or bound, as every box of the program reads it.
double Typed(const QString& text) { return TypedNumber(text.toStdString()); }

QLineEdit* NumberEdit(QWidget* parent, const char* name, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setFont(DialogFont());
    return e;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setFont(DialogFont());
    b->setAutoDefault(false);
    return b;
}

QTableWidgetItem* Cell(const QString& text, bool editable) {
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

} // namespace

TBalanceEvents::TBalanceEvents(GearState& g, EditorHooks hooks, QWidget* parent)
    : QDialog(parent), g_(g), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("BalanceEvents"));
    setWindowTitle(QStringLiteral("Balance Events"));
    setFont(DialogFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (const DimensionInfo& d : AllDimensions())
        if (IsDynamicVariable(d.id)) ids_.push_back(d.id);
    BuildControls();
    resize(600, 720);
}

TBalanceEvents::~TBalanceEvents() { StopWorker(); }

void TBalanceEvents::BuildControls() {
    auto* top = new QVBoxLayout(this);

    auto* hint = new QLabel(QStringLiteral("Tick the dimensions to vary; type their bounds in the table."), this);
    top->addWidget(hint);
    dims_ = new QTableWidget(static_cast<int>(ids_.size()), kDimColumns, this);
    dims_->setObjectName(QStringLiteral("Dimensions"));
    dims_->setHorizontalHeaderLabels(
        {QStringLiteral("Dimension"), QStringLiteral("Value"), QStringLiteral("Lower"), QStringLiteral("Upper")});
    dims_->verticalHeader()->setVisible(false);
    dims_->verticalHeader()->setDefaultSectionSize(18);
    dims_->horizontalHeader()->setSectionResizeMode(kColName, QHeaderView::Stretch);
    dims_->setSelectionMode(QAbstractItemView::NoSelection);
    for (int c = kColValue; c < kDimColumns; ++c) dims_->setColumnWidth(c, 90);
    for (std::size_t r = 0; r < ids_.size(); ++r) {
        const DimensionInfo* d = FindDimension(ids_[r]);
        QTableWidgetItem* name =
            Cell(QString::fromUtf8(d->shortName.data(), static_cast<qsizetype>(d->shortName.size())), false);
        name->setFlags(name->flags() | Qt::ItemIsUserCheckable);
        name->setCheckState(Qt::Unchecked);
        name->setToolTip(QString::fromUtf8(d->field.data(), static_cast<qsizetype>(d->field.size())));
        const int row = static_cast<int>(r);
        dims_->setItem(row, kColName, name);
        dims_->setItem(row, kColValue, Cell(QString(), false));
        dims_->setItem(row, kColLower, Cell(QString(), true));
        dims_->setItem(row, kColUpper, Cell(QString(), true));
    }
    connect(dims_, &QTableWidget::itemChanged, this, &TBalanceEvents::BoundEdited);
    top->addWidget(dims_, 3);

    auto* middle = new QHBoxLayout;
    auto* posBox = new QGroupBox(QStringLiteral("Positions"), this);
    auto* posLayout = new QVBoxLayout(posBox);
    positions_ = new QListWidget(posBox);
    positions_->setObjectName(QStringLiteral("Positions"));
    posLayout->addWidget(positions_);
    // An offset of the user's own, from mid gear (negative forward).
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(new QLabel(QStringLiteral("Offset from mid gear"), posBox));
    offsetBox_ = NumberEdit(posBox, "OffsetBox", QString());
    auto* offsetFilter = new NumberBoxFilter(KeyRules{true, EnterKey::Discard}, {}, this);
    offsetFilter->Attach(offsetBox_, 1);
    offsetRow->addWidget(offsetBox_, 1);
    addOffset_ = Button(posBox, "AddOffset", "Add");
    offsetRow->addWidget(addOffset_);
    posLayout->addLayout(offsetRow);
    connect(addOffset_, &QPushButton::clicked, this, &TBalanceEvents::AddOffsetClick);
    middle->addWidget(posBox, 1);

    auto* weightBox = new QGroupBox(QStringLiteral("Weights"), this);
    auto* form = new QFormLayout(weightBox);
    const BalanceWeights w;
    cutOff_ = NumberEdit(weightBox, "CutOffWeight", Fixed(w.cutOff, 0));
    lead_ = NumberEdit(weightBox, "LeadWeight", Fixed(w.lead, 0));
    release_ = NumberEdit(weightBox, "ReleaseWeight", Fixed(w.release, 0));
    compression_ = NumberEdit(weightBox, "CompressionWeight", Fixed(w.compression, 0));
    form->addRow(QStringLiteral("Cut-off (per % squared)"), cutOff_);
    form->addRow(QStringLiteral("Lead (per unit squared)"), lead_);
    form->addRow(QStringLiteral("Release (per % squared)"), release_);
    form->addRow(QStringLiteral("Compression (per % squared)"), compression_);
    work_ = NumberEdit(weightBox, "WorkWeight", Fixed(w.work, 0));
    form->addRow(QStringLiteral("Work: MEP (per % of p1 squared)"), work_);
    direction_ = new QComboBox(weightBox);
    direction_->setObjectName(QStringLiteral("Direction"));
    direction_->addItems({QStringLiteral("auto"), QStringLiteral("forward"), QStringLiteral("reverse")});
    form->addRow(QStringLiteral("Direction"), direction_);
    budget_ = NumberEdit(weightBox, "Evaluations", QString::number(BalanceProblem{}.maxEvaluations));
    form->addRow(QStringLiteral("Evaluations at most"), budget_);
    middle->addWidget(weightBox, 1);
    top->addLayout(middle, 2);

    auto* progressRow = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("No search run yet"));
    progressRow->addWidget(progress_, 1);
    best_ = new QLabel(this);
    best_->setObjectName(QStringLiteral("BestObjective"));
    progressRow->addWidget(best_, 1);
    top->addLayout(progressRow);

    changes_ = new QTableWidget(0, kChangeColumns, this);
    changes_->setObjectName(QStringLiteral("Changes"));
    changes_->setHorizontalHeaderLabels(
        {QStringLiteral("Dimension"), QStringLiteral("Before"), QStringLiteral("After")});
    changes_->verticalHeader()->setVisible(false);
    changes_->verticalHeader()->setDefaultSectionSize(18);
    changes_->horizontalHeader()->setSectionResizeMode(kChangeName, QHeaderView::Stretch);
    changes_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    top->addWidget(changes_, 1);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("Summary"));
    summary_->setWordWrap(true);
    top->addWidget(summary_);

    auto* buttons = new QHBoxLayout;
    run_ = Button(this, "Run", "Run");
    cancel_ = Button(this, "Cancel", "Cancel");
    apply_ = Button(this, "Apply", "Apply");
    close_ = Button(this, "Close", "Close");
    buttons->addWidget(run_);
    buttons->addWidget(cancel_);
    buttons->addWidget(apply_);
    tickTop_ = Button(this, "TickTop", "Tick Top 4");
    tickTop_->setToolTip(QStringLiteral("Tick the four dimensions that move the front-rear cut-off difference most"));
    buttons->addWidget(tickTop_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    top->addLayout(buttons);
    connect(run_, &QPushButton::clicked, this, &TBalanceEvents::RunClick);
    connect(cancel_, &QPushButton::clicked, this, &TBalanceEvents::CancelClick);
    connect(apply_, &QPushButton::clicked, this, &TBalanceEvents::ApplyClick);
    connect(tickTop_, &QPushButton::clicked, this, &TBalanceEvents::TickTopClick);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    SyncButtons();
}

int TBalanceEvents::DimensionRow(int id) const {
    for (std::size_t r = 0; r < ids_.size(); ++r)
        if (ids_[r] == id) return static_cast<int>(r);
    return -1;
}

void TBalanceEvents::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // A result from before the window last closed is of another design.
    if (!Running()) {
        DropResult();
        FillFromModel();
    }
}

void TBalanceEvents::FillFromModel() {
    filling_ = true;
    // Values as the design holds them now; a ticked row keeps its bounds,
    // the others take the defaults around the value.
    for (std::size_t r = 0; r < ids_.size(); ++r) {
        const int row = static_cast<int>(r);
        const float v = DimensionValue(g_, *FindDimension(ids_[r]));
        dims_->item(row, kColValue)->setText(Fixed(v, 5));
        if (dims_->item(row, kColName)->checkState() == Qt::Checked) continue;
        const BalanceBound b = DefaultBalanceBound(g_, ids_[r]);
        dims_->item(row, kColLower)->setText(Fixed(b.lower, 5));
        dims_->item(row, kColUpper)->setText(Fixed(b.upper, 5));
    }
    filling_ = false;

    // The four forward notches, ticked, then the diagrams' positions list.
    positions_->clear();
    offsets_.clear();
    auto add = [&](double offset, const QString& label, bool checked) {
        auto* item = new QListWidgetItem(
            label + QStringLiteral("  (") + Fixed(offset, 4) + QStringLiteral(" from mid gear)"), positions_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
        offsets_.push_back(offset);
    };
    const std::vector<double> notches = ForwardNotches(g_);
    const char* const names[] = {"Full forward (-Norm)", "-3/4 Norm", "-1/2 Norm", "-1/4 Norm"};
    for (std::size_t k = 0; k < notches.size() && k < std::size(names); ++k)
        add(notches[k], QString::fromUtf8(names[k]), true);
    // The reverse notches mirror them about mid gear: +1/4 Norm .. +Norm.
    const char* const reverseNames[] = {"+1/4 Norm", "+1/2 Norm", "+3/4 Norm", "Full reverse (+Norm)"};
    for (std::size_t k = 0; k < notches.size() && k < std::size(reverseNames); ++k)
        add(-notches[notches.size() - 1 - k], QString::fromUtf8(reverseNames[k]), false);
    const RevArmPositionList& list = g_.revArm;
    for (int k = 1, n = UsedPositionPrefix(list); k <= n; ++k) {
        const double offset = static_cast<double>(list.position[static_cast<std::size_t>(k)]) - list.centre;
        add(offset, QStringLiteral("Position %1").arg(k), false);
    }
    for (const double offset : typedOffsets_) add(offset, QStringLiteral("Typed"), true);
}

void TBalanceEvents::AddOffsetClick() {
    const QString text = offsetBox_->text().trimmed();
    if (text.isEmpty()) return;
    const double offset = Typed(text);
    typedOffsets_.push_back(offset);
    auto* item = new QListWidgetItem(
        QStringLiteral("Typed  (") + Fixed(offset, 4) + QStringLiteral(" from mid gear)"), positions_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    offsets_.push_back(offset);
    offsetBox_->clear();
}

void TBalanceEvents::BoundEdited(QTableWidgetItem* item) {
    if (filling_ || item == nullptr) return;
    if (item->column() != kColLower && item->column() != kColUpper) return;
    // Shown back as read, so the box says what the search will use.
    filling_ = true;
    item->setText(Fixed(static_cast<float>(Typed(item->text())), 5));
    filling_ = false;
}

BalanceProblem TBalanceEvents::Problem() const {
    BalanceProblem p = DefaultBalanceProblem(g_);
    for (std::size_t r = 0; r < ids_.size(); ++r) {
        const int row = static_cast<int>(r);
        if (dims_->item(row, kColName)->checkState() != Qt::Checked) continue;
        p.vary.push_back({ids_[r], static_cast<float>(Typed(dims_->item(row, kColLower)->text())),
                          static_cast<float>(Typed(dims_->item(row, kColUpper)->text()))});
    }
    p.positions.clear();
    for (int k = 0; k < positions_->count(); ++k)
        if (positions_->item(k)->checkState() == Qt::Checked)
            p.positions.push_back(offsets_[static_cast<std::size_t>(k)]);
    p.weights = {Typed(cutOff_->text()), Typed(lead_->text()), Typed(release_->text()), Typed(compression_->text())};
    p.weights.work = Typed(work_->text());
    p.workSettings = LoadWorkSettings(); // the Work window's settings
    p.direction = direction_->currentIndex() == 1   ? EventDirection::Forward
                  : direction_->currentIndex() == 2 ? EventDirection::Reverse
                                                    : EventDirection::Auto;
    const double budget = Typed(budget_->text());
    p.maxEvaluations = budget >= 1 && budget <= 1e6 ? static_cast<int>(budget) : (budget > 1e6 ? 1'000'000 : 0);
    return p;
}

void TBalanceEvents::RunClick() {
    if (Running()) return;
    const BalanceProblem problem = [this] {
        BalanceProblem p = Problem();
        p.solve = LoadAnalysisSettings().solve; // SetUp > Analysis Settings
        return p;
    }();
    const std::string fault = CheckBalanceProblem(g_, problem);
    if (!fault.empty()) {
        summary_->setText(QString::fromStdString(fault));
        return;
    }
    DropResult();
    resultBounds_ = problem.vary;
    summary_->setText(QStringLiteral("Searching..."));
    progress_->setRange(0, problem.maxEvaluations);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v of %m evaluations"));
    searchBudget_ = problem.maxEvaluations;
    cancelRequested_ = false;
    searchedDesign_ = DesignDimensionBits(g_);
    const unsigned search = ++searchCount_;

    // The search works on its own copy; the gear keeps running on the model.
    auto design = std::make_shared<const GearState>(g_);
    worker_ = std::thread([this, design, problem, search] {
        auto result = std::make_shared<BalanceResult>();
        try {
            *result = BalanceEvents(*design, problem, [this](const BalanceProgress& p) {
                QMetaObject::invokeMethod(
                    this, [this, p] { ShowProgress(p); }, Qt::QueuedConnection);
                return !cancelRequested_.load();
            });
        } catch (const std::exception& e) {
            result->error = e.what();
        }
        QMetaObject::invokeMethod(
            this, [this, search, result] { Finished(search, result); }, Qt::QueuedConnection);
    });
    SyncButtons();
}

void TBalanceEvents::CancelClick() { cancelRequested_ = true; }

void TBalanceEvents::ShowProgress(const BalanceProgress& p) {
    if (!Running()) return;
    progress_->setValue(std::min(p.evaluations, progress_->maximum()));
    best_->setText(QStringLiteral("best objective so far: ") + Fixed(p.bestObjective, 4));
}

void TBalanceEvents::Finished(unsigned search, std::shared_ptr<BalanceResult> r) {
    StopWorker();
    // The search was abandoned (the window closed, the result dropped)
    // before this result arrived.
    if (search != searchCount_) {
        SyncButtons();
        return;
    }
    result_ = std::move(*r);
    ShowResult();
    SyncButtons();
}

void TBalanceEvents::DropResult() {
    ++searchCount_;
    result_.reset();
    searchedDesign_.clear();
    changes_->setRowCount(0);
    best_->clear();
    summary_->clear();
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("No search run yet"));
}

bool TBalanceEvents::ResultFitsDesign() const {
    return result_ && !searchedDesign_.empty() && searchedDesign_ == DesignDimensionBits(g_);
}

void TBalanceEvents::ShowResult() {
    const BalanceResult& r = *result_;
    if (!r.Ok()) {
        summary_->setText(QString::fromStdString(r.error));
        return;
    }
    // A search that settles or is cancelled before its budget is over: the
    // bar says so, full.
    if (r.evaluations < searchBudget_) {
        progress_->setRange(0, std::max(r.evaluations, 1));
        progress_->setFormat(r.cancelled ? QStringLiteral("%v evaluations: cancelled")
                                         : QStringLiteral("%v evaluations: the search settled within its budget of ") +
                                               QString::number(searchBudget_));
    }
    progress_->setValue(std::min(r.evaluations, progress_->maximum()));
    changes_->setRowCount(static_cast<int>(r.changes.size()));
    for (std::size_t i = 0; i < r.changes.size(); ++i) {
        const BalanceChange& c = r.changes[i];
        const DimensionInfo* d = FindDimension(c.id);
        const int row = static_cast<int>(i);
        changes_->setItem(
            row, kChangeName,
            Cell(QString::fromUtf8(d->shortName.data(), static_cast<qsizetype>(d->shortName.size())), false));
        changes_->setItem(row, kChangeBefore, Cell(Fixed(c.before, 5), false));
        changes_->setItem(row, kChangeAfter, Cell(Fixed(c.after, 5), false));
    }
    QString text;
    if (r.infeasible) {
        text = QStringLiteral("No design within the bounds closes the linkage with every event asked for at every "
                              "position: nothing to apply.");
    } else {
        text = QStringLiteral("Objective ") + Fixed(r.before.objective, 4) + QStringLiteral(" -> ") +
               Fixed(r.after.objective, 4) + QStringLiteral("; worst cut-off difference ") +
               Fixed(r.before.worstCutOffDifference, 2) + QStringLiteral(" -> ") +
               Fixed(r.after.worstCutOffDifference, 2) + QStringLiteral(" points; worst MEP difference ") +
               Fixed(r.before.worstMepDifference, 2) + QStringLiteral(" -> ") + Fixed(r.after.worstMepDifference, 2) +
               QStringLiteral("; ") + QString::number(r.evaluations) +
               QStringLiteral(" evaluations.");
        if (r.cancelled) text += QStringLiteral(" Cancelled: the best design found so far is shown.");
        text += r.Changed() ? QStringLiteral(" Apply writes it into the design.")
                            : QStringLiteral(" Nothing better was found; the design stays as it is.");
    }
    summary_->setText(text);
}

void TBalanceEvents::ApplyClick() {
    if (Running() || !result_ || !result_->Ok() || !result_->Changed()) return;
    if (!ResultFitsDesign()) {
        DropResult();
        summary_->setText(QStringLiteral("The design has changed since the search: nothing applied. Run again."));
        SyncButtons();
        return;
    }
    // Undoing the last of the changes takes the mid-gear search back with it.
    const MidGearFigures midGear = TakeMidGearFigures(g_);
    const MidGearResult found = ApplyBalance(g_, *result_);
    RecordMidGearSearch(g_, midGear);
    result_.reset();
    if (hooks_.undoButtonsChanged) hooks_.undoButtonsChanged();
    if (hooks_.revArmBarToCentre) hooks_.revArmBarToCentre();
    g_.frontCutOffText.clear();
    g_.rearCutOffText.clear();
    FillFromModel();
    summary_->setText(QStringLiteral("Applied: UnDo on the main window steps back one dimension at a time."));
    SyncButtons();
    if (found != MidGearResult::Found && hooks_.tellUser) hooks_.tellUser(MidGearNotFoundMessage());
}

void TBalanceEvents::TickTopClick() {
    if (Running()) return;
    const BalanceProblem p = Problem();
    SensitivitySettings s;
    s.offsets = p.positions;
    s.direction = p.direction;
    s.ids = ids_;
    if (s.offsets.empty()) {
        summary_->setText(QStringLiteral("Tick at least one position to rank the dimensions over."));
        return;
    }
    setCursor(Qt::WaitCursor);
    const SensitivityResult r = ComputeSensitivity(g_, s);
    unsetCursor();
    const std::vector<int> top = TopDimensions(r, EventFigure::CutOffDiff, 4, ids_);
    QString names;
    for (std::size_t i = 0; i < ids_.size(); ++i) {
        const bool ticked = std::find(top.begin(), top.end(), ids_[i]) != top.end();
        dims_->item(static_cast<int>(i), kColName)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    for (const int id : top)
        names += (names.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromStdString(DimensionDisplayName(id, true));
    summary_->setText(top.empty() ? QStringLiteral("No dimension moves the cut-off difference where the linkage closes.")
                                  : QStringLiteral("Ticked the dimensions that move the cut-off difference most: ") +
                                        names + QStringLiteral("."));
}

void TBalanceEvents::StopWorker() {
    if (!worker_.joinable()) return;
    cancelRequested_ = true;
    worker_.join();
}

void TBalanceEvents::done(int result) {
    StopWorker();
    // The result goes with the window: the design may change before it opens again.
    DropResult();
    SyncButtons();
    QDialog::done(result);
}

void TBalanceEvents::SyncButtons() {
    const bool running = Running();
    run_->setEnabled(!running);
    cancel_->setEnabled(running);
    apply_->setEnabled(!running && result_ && result_->Ok() && result_->Changed() && ResultFitsDesign());
    tickTop_->setEnabled(!running);
    dims_->setEnabled(!running);
    positions_->setEnabled(!running);
}

} // namespace vx
