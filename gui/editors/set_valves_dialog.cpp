#include "gui/editors/set_valves_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/fixed_format.h"
#include "data/measurement_file.h"
#include "gui/editors/number_box_dialog.h"
#include "model/analysis/valve_fit_text.h"
#include "model/gear/dimensions.h"
#include "model/workspace/dimension_edit.h"
#include "model/workspace/undo_redo.h"

namespace vx {
namespace {

// The table's columns: the measurement file's, in its order.
constexpr const char* kColumns[] = {"offset", "direction", "end", "event", "value", "unit", "weight", "note"};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));
// The file line of table row r: the header is line 1.
int LineOfRow(int row) { return row + 2; }

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setFont(DialogFont());
    b->setAutoDefault(false);
    return b;
}

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString Fixed(double v, int decimals) {
    char buf[kNumberBuffer];
    return Text(FormatFixed(buf, v, 0, decimals));
}

// A CSV field as the measurement file holds it.
std::string CsvField(const QString& text) {
    const std::string s = text.trimmed().toStdString();
    if (s.find_first_of(",\"") == std::string::npos) return s;
    std::string q = "\"";
    for (const char c : s) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

} // namespace

TSetValves::TSetValves(GearState& g, EditorHooks hooks, QWidget* parent)
    : QDialog(parent), g_(g), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("SetValves"));
    setWindowTitle(QStringLiteral("Set the Valves"));
    setFont(DialogFont());
    BuildControls();
    resize(1100, 860);
}

TSetValves::~TSetValves() { StopWorker(); }

void TSetValves::BuildControls() {
    auto* top = new QVBoxLayout(this);
    auto* upper = new QHBoxLayout;

    auto* measuredBox = new QGroupBox(QStringLiteral("Measured events (one row each; the numbers are the file's lines)"), this);
    auto* measuredLayout = new QVBoxLayout(measuredBox);
    table_ = new QTableWidget(0, kColumnCount, measuredBox);
    table_->setObjectName(QStringLiteral("Measurements"));
    QStringList headers;
    for (const char* c : kColumns) headers << QString::fromUtf8(c);
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeader()->setDefaultSectionSize(18);
    table_->horizontalHeader()->setSectionResizeMode(kColumnCount - 1, QHeaderView::Stretch);
    table_->setToolTip(QStringLiteral(
        "direction: auto, forward or reverse; end: front or rear; event: admission, cutOff, release, compression "
        "or lead; unit: percent, deg or length (a lead is a length); weight: the measurement's uncertainty in "
        "its unit, empty for the default"));
    measuredLayout->addWidget(table_);
    auto* rowButtons = new QHBoxLayout;
    auto* addRow = Button(measuredBox, "AddRow", "Add Row");
    auto* deleteRow = Button(measuredBox, "DeleteRow", "Delete Row");
    auto* paste = Button(measuredBox, "Paste", "Paste");
    paste->setToolTip(QStringLiteral("Rows from the clipboard: CSV or tab-separated, with or without the header"));
    rowButtons->addWidget(addRow);
    rowButtons->addWidget(deleteRow);
    rowButtons->addWidget(paste);
    rowButtons->addStretch(1);
    measuredLayout->addLayout(rowButtons);
    connect(addRow, &QPushButton::clicked, this, &TSetValves::AddRowClick);
    connect(deleteRow, &QPushButton::clicked, this, &TSetValves::DeleteRowClick);
    connect(paste, &QPushButton::clicked, this, &TSetValves::PasteClick);
    upper->addWidget(measuredBox, 3);

    auto makeList = [&](const char* name, const char* title, const std::vector<int>& ticked) {
        auto* box = new QGroupBox(QString::fromUtf8(title), this);
        auto* layout = new QVBoxLayout(box);
        auto* list = new QListWidget(box);
        list->setObjectName(QString::fromUtf8(name));
        for (const int id : ids_) {
            const DimensionInfo* d = FindDimension(id);
            auto* item = new QListWidgetItem(Text(d->field), list);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(std::find(ticked.begin(), ticked.end(), id) != ticked.end() ? Qt::Checked
                                                                                           : Qt::Unchecked);
            item->setToolTip(Text(d->shortName));
        }
        layout->addWidget(list);
        upper->addWidget(box, 1);
        return list;
    };
    for (const DimensionInfo& d : AllDimensions())
        if (IsDynamicVariable(d.id)) ids_.push_back(d.id);
    vary_ = makeList("Vary", "Fit (each +- 5 %, angles +- 3 deg)", DefaultFitVary());
    adjust_ = makeList("Adjust", "The shop can adjust", DefaultFitAdjust());
    top->addLayout(upper, 3);

    auto* progressRow = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("No fit made yet"));
    progressRow->addWidget(progress_, 1);
    top->addLayout(progressRow);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("Summary"));
    summary_->setWordWrap(true);
    top->addWidget(summary_);

    results_ = new QPlainTextEdit(this);
    results_->setObjectName(QStringLiteral("Results"));
    results_->setReadOnly(true);
    results_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setPixelSize(12);
    results_->setFont(mono);
    top->addWidget(results_, 4);

    auto* buttons = new QHBoxLayout;
    fit_ = Button(this, "Fit", "Fit");
    cancel_ = Button(this, "Cancel", "Cancel");
    applyFitted_ = Button(this, "ApplyFitted", "Apply fitted");
    applyCorrections_ = Button(this, "ApplyCorrections", "Apply corrections");
    auto* close = Button(this, "Close", "Close");
    for (QPushButton* b : {fit_, cancel_, applyFitted_, applyCorrections_}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);
    top->addLayout(buttons);
    connect(fit_, &QPushButton::clicked, this, &TSetValves::FitClick);
    connect(cancel_, &QPushButton::clicked, this, &TSetValves::CancelClick);
    connect(applyFitted_, &QPushButton::clicked, this, &TSetValves::ApplyFittedClick);
    connect(applyCorrections_, &QPushButton::clicked, this, &TSetValves::ApplyCorrectionsClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    AddRowClick();
    SyncButtons();
}

std::string TSetValves::TableText() const {
    std::string text(kMeasurementCsvHeader);
    for (int r = 0; r < table_->rowCount(); ++r) {
        std::string line;
        bool any = false;
        for (int c = 0; c < kColumnCount; ++c) {
            const QTableWidgetItem* item = table_->item(r, c);
            const QString cell = item ? item->text() : QString();
            any = any || !cell.trimmed().isEmpty();
            if (c > 0) line += ',';
            line += CsvField(cell);
        }
        // An empty row stays a blank line, so that line numbers follow the rows.
        text += (any ? line : std::string()) + "\n";
    }
    return text;
}

bool TSetValves::SetTableText(const std::string& pasted) {
    std::string text = pasted;
    // Tab-separated rows from a spreadsheet.
    if (text.find('\t') != std::string::npos && text.find(',') == std::string::npos)
        std::replace(text.begin(), text.end(), '\t', ',');
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const bool header = first != std::string::npos && (text.compare(first, 6, "offset") == 0 ||
                                                       text.compare(first, 6, "Offset") == 0);
    if (!header) text = std::string(kMeasurementCsvHeader) + text;
    const MeasurementRead r = ReadMeasurements(text);
    if (!r.Ok()) {
        summary_->setText(QStringLiteral("Pasted text: ") + Text(r.error) +
                          (header ? QString() : QStringLiteral(" (counting the header the table adds as line 1)")));
        return false;
    }
    table_->setRowCount(0);
    const std::string csv = MeasurementsCsv(r.rows);
    // The rows as the writer writes them, one cell per field.
    std::size_t at = csv.find('\n') + 1;
    for (const Measurement& m : r.rows) {
        (void)m;
        const std::size_t end = csv.find('\n', at);
        const std::string line = csv.substr(at, end - at);
        at = end + 1;
        const int row = table_->rowCount();
        table_->insertRow(row);
        // Split as the reader does: the note alone may be quoted.
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (int c = 0; c < kColumnCount - 1; ++c) {
            const std::size_t comma = line.find(',', start);
            fields.push_back(line.substr(start, comma - start));
            start = comma + 1;
        }
        fields.push_back(r.rows[static_cast<std::size_t>(row)].note);
        for (int c = 0; c < kColumnCount; ++c)
            table_->setItem(row, c, new QTableWidgetItem(QString::fromStdString(fields[static_cast<std::size_t>(c)])));
    }
    QStringList lines;
    for (int row = 0; row < table_->rowCount(); ++row) lines << QString::number(LineOfRow(row));
    table_->setVerticalHeaderLabels(lines);
    summary_->setText(QString::number(r.rows.size()) + QStringLiteral(" measurements."));
    DropOutcome();
    return true;
}

void TSetValves::AddRowClick() {
    table_->insertRow(table_->rowCount());
    QStringList lines;
    for (int row = 0; row < table_->rowCount(); ++row) lines << QString::number(LineOfRow(row));
    table_->setVerticalHeaderLabels(lines);
}

void TSetValves::DeleteRowClick() {
    const int row = table_->currentRow();
    if (row < 0) return;
    table_->removeRow(row);
    QStringList lines;
    for (int r = 0; r < table_->rowCount(); ++r) lines << QString::number(LineOfRow(r));
    table_->setVerticalHeaderLabels(lines);
}

void TSetValves::PasteClick() {
    const QString text = QApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        summary_->setText(QStringLiteral("The clipboard holds no text."));
        return;
    }
    SetTableText(text.toStdString());
}

std::vector<int> TSetValves::Ticked(const QListWidget* list) const {
    std::vector<int> ids;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked) ids.push_back(ids_[static_cast<std::size_t>(i)]);
    return ids;
}

void TSetValves::FitClick() {
    if (Running()) return;
    const MeasurementRead read = ReadMeasurements(TableText());
    if (!read.Ok()) {
        summary_->setText(QStringLiteral("The table: ") + Text(read.error));
        return;
    }
    auto outcome = std::make_shared<SetValvesOutcome>();
    outcome->problem.measurements = read.rows;
    for (const int id : Ticked(vary_)) outcome->problem.vary.push_back(DefaultFitDimension(g_, id));
    if (const std::string fault = CheckValveFit(g_, outcome->problem); !fault.empty()) {
        summary_->setText(QStringLiteral("The table: ") + Text(fault));
        return;
    }
    const std::vector<int> adjust = Ticked(adjust_);
    DropOutcome();
    fittedFrom_ = DesignDimensionBits(g_);
    summary_->setText(QStringLiteral("Fitting..."));
    progress_->setRange(0, 0);
    progress_->setFormat(QStringLiteral("Fitting"));
    cancelRequested_ = false;
    const unsigned run = ++runCount_;
    auto design = std::make_shared<const GearState>(g_);
    worker_ = std::thread([this, design, outcome, adjust, run] {
        try {
            outcome->fit = FitValveSetting(*design, outcome->problem, [this](const FitProgress& p) {
                QMetaObject::invokeMethod(
                    this, [this, p] { ShowProgress(p, false); }, Qt::QueuedConnection);
                return !cancelRequested_.load();
            });
            if (outcome->fit.Ok() && outcome->fit.closes && !outcome->fit.cancelled && !adjust.empty()) {
                auto fitted = std::make_unique<GearState>(*design);
                CommitFit(*fitted, outcome->fit);
                outcome->corrections = BalanceEvents(
                    *fitted, CorrectionProblem(*fitted, outcome->problem, adjust), [this](const BalanceProgress& b) {
                        FitProgress p;
                        p.evaluations = b.evaluations;
                        QMetaObject::invokeMethod(
                            this, [this, p] { ShowProgress(p, true); }, Qt::QueuedConnection);
                        return !cancelRequested_.load();
                    });
            }
        } catch (const std::exception& e) {
            outcome->fit.error = e.what();
        }
        QMetaObject::invokeMethod(
            this, [this, run, outcome] { Finished(run, outcome); }, Qt::QueuedConnection);
    });
    SyncButtons();
}

void TSetValves::CancelClick() { cancelRequested_ = true; }

void TSetValves::ShowProgress(const FitProgress& p, bool balancing) {
    if (!Running()) return;
    if (balancing)
        progress_->setFormat(QStringLiteral("Corrections: ") + QString::number(p.evaluations) +
                             QStringLiteral(" designs balanced"));
    else
        progress_->setFormat(QStringLiteral("Fit: start ") + QString::number(p.start) + QStringLiteral(", iteration ") +
                             QString::number(p.iteration) + QStringLiteral(", ") + QString::number(p.evaluations) +
                             QStringLiteral(" designs, RMS ") + Fixed(p.rms, 3));
}

void TSetValves::Finished(unsigned run, std::shared_ptr<SetValvesOutcome> r) {
    StopWorker();
    if (run != runCount_) {
        SyncButtons();
        return;
    }
    outcome_ = std::move(*r);
    ShowOutcome();
    SyncButtons();
}

QString TSetValves::ResultsText() const { return results_->toPlainText(); }
QString TSetValves::Summary() const { return summary_->text(); }

void TSetValves::ShowOutcome() {
    const SetValvesOutcome& o = *outcome_;
    progress_->setRange(0, 1);
    progress_->setValue(1);
    if (!o.fit.Ok()) {
        progress_->setFormat(QStringLiteral("No fit"));
        summary_->setText(Text(o.fit.error));
        return;
    }
    if (!o.fit.closes) {
        progress_->setFormat(QStringLiteral("No fit"));
        summary_->setText(QStringLiteral("The design does not close at every measured position: nothing to fit from."));
        return;
    }
    progress_->setFormat(o.fit.cancelled ? QStringLiteral("Cancelled: the best point so far")
                                         : QStringLiteral("Fitted: ") + QString::number(o.fit.evaluations) +
                                               QStringLiteral(" designs evaluated"));
    std::string text;
    AppendFitText(text, o.problem, o.fit);
    if (o.corrections) {
        text += '\n';
        if (o.corrections->Ok())
            AppendCorrectionsText(text, *o.corrections);
        else
            text += "Corrections: " + o.corrections->error + "\n";
    }
    results_->setPlainText(Text(text));
    QString s = QStringLiteral("RMS against the weights ") + Fixed(o.fit.drawingRms, 3) + QStringLiteral(" -> ") +
                Fixed(o.fit.rms, 3) + QStringLiteral(".");
    if (!o.fit.warnings.empty())
        s += QStringLiteral(" ") + QString::number(o.fit.warnings.size()) +
             QStringLiteral(" pair(s) of dimensions cannot be told apart: see the warnings.");
    if (!o.fit.notProduced.empty())
        s += QStringLiteral(" ") + QString::number(o.fit.notProduced.size()) +
             QStringLiteral(" measured event(s) the fitted design does not produce.");
    summary_->setText(s);
}

void TSetValves::AfterApply(MidGearResult found, const QString& said) {
    if (hooks_.undoButtonsChanged) hooks_.undoButtonsChanged();
    if (hooks_.revArmBarToCentre) hooks_.revArmBarToCentre();
    g_.frontCutOffText.clear();
    g_.rearCutOffText.clear();
    summary_->setText(said);
    SyncButtons();
    if (found != MidGearResult::Found && hooks_.tellUser) hooks_.tellUser(MidGearNotFoundMessage());
}

void TSetValves::ApplyFittedClick() {
    if (Running() || !outcome_ || !outcome_->fit.Ok() || DesignDimensionBits(g_) != fittedFrom_) return;
    const MidGearFigures before = TakeMidGearFigures(g_);
    const MidGearResult found = ApplyFit(g_, outcome_->fit);
    RecordMidGearSearch(g_, before);
    fittedDesign_ = DesignDimensionBits(g_);
    AfterApply(found, QStringLiteral("The fitted values are in the design: UnDo on the main window steps back one "
                                     "dimension at a time."));
}

void TSetValves::ApplyCorrectionsClick() {
    if (Running() || !outcome_ || !outcome_->corrections || !outcome_->corrections->Ok()) return;
    const std::vector<std::uint32_t> now = DesignDimensionBits(g_);
    const bool onDrawing = now == fittedFrom_, onFitted = !fittedDesign_.empty() && now == fittedDesign_;
    if (!onDrawing && !onFitted) return;
    const MidGearFigures before = TakeMidGearFigures(g_);
    if (onDrawing) ApplyFit(g_, outcome_->fit);
    const MidGearResult found = ApplyBalance(g_, *outcome_->corrections);
    RecordMidGearSearch(g_, before);
    fittedDesign_.clear();
    fittedFrom_.clear();
    AfterApply(found, QStringLiteral("The fitted engine with the corrections made is in the design: UnDo on the main "
                                     "window steps back one dimension at a time."));
}

void TSetValves::DropOutcome() {
    ++runCount_;
    outcome_.reset();
    fittedFrom_.clear();
    fittedDesign_.clear();
    results_->clear();
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("No fit made yet"));
    SyncButtons();
}

void TSetValves::StopWorker() {
    if (!worker_.joinable()) return;
    cancelRequested_ = true;
    worker_.join();
}

void TSetValves::done(int result) {
    StopWorker();
    SyncButtons();
    QDialog::done(result);
}

void TSetValves::SyncButtons() {
    const bool running = Running();
    const std::vector<std::uint32_t> now = DesignDimensionBits(g_);
    const bool fitted = !running && outcome_ && outcome_->fit.Ok() && outcome_->fit.closes;
    fit_->setEnabled(!running);
    cancel_->setEnabled(running);
    applyFitted_->setEnabled(fitted && !fittedFrom_.empty() && now == fittedFrom_);
    applyCorrections_->setEnabled(fitted && outcome_->corrections && outcome_->corrections->Ok() &&
                                  ((!fittedFrom_.empty() && now == fittedFrom_) ||
                                   (!fittedDesign_.empty() && now == fittedDesign_)));
    table_->setEnabled(!running);
    vary_->setEnabled(!running);
    adjust_->setEnabled(!running);
}

} // namespace vx
