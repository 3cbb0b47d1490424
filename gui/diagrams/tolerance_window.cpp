#include "gui/diagrams/tolerance_window.h"
#include "scene/diagrams/design_fault_drawing.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <bit>
#include <charconv>

#include "gui/controls/analysis_settings.h"
#include "gui/editors/number_text.h"
#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "scene/diagrams/tolerance_drawing.h"

namespace vx {
namespace {

using Command = TDiagramWindow::MenuCommand;

constexpr TDiagramWindow::MenuRow kMenu[] = {
    {nullptr, "&Copy", "CopyTolerance", Command::Copy},
    {nullptr, "ReDraw", "ReDraw", Command::ReDraw},
    {nullptr, "DynamicVari", "DynVari", Command::DynVari},
};

constexpr TDiagramWindow::Layout kLayout{
    "ToleranceDia", kToleranceWindowWidth, kToleranceWindowHeight, "MainMenuTolerance", kMenu, "CloseTol",
    916, 8, "SBDynVarT", "UnDoDnT", 5, 1, false, false,
};

// A float in its shortest form that reads back the same ("0.002").
QString Number(float v) { return NumberBoxText(v); }

std::vector<float> DimensionValues(const GearState& g) {
    std::vector<float> v;
    for (const DimensionInfo& d : AllDimensions()) v.push_back(DimensionValue(g, d));
    return v;
}

} // namespace

TToleranceDia::TToleranceDia(const DiagramHost& host, QWidget* parent) : TAnalysisWindow(host, kLayout, parent) {
    QWidget* canvas = findChild<QWidget*>(QStringLiteral("DiagramCanvas"));
    constexpr int kRow = 80;
    int x = 8;
    const auto box = [&](const char* caption, const char* name, const QString& value, int width) {
        auto* label = new QLabel(QString::fromUtf8(caption), canvas);
        const int lw = label->fontMetrics().horizontalAdvance(label->text()) + 4;
        label->setGeometry(x, kRow + 3, lw, 18);
        auto* edit = new QLineEdit(value, canvas);
        edit->setObjectName(QString::fromUtf8(name));
        edit->setGeometry(x + lw, kRow, width, 22);
        x += lw + width + 10;
        return edit;
    };
    const ToleranceSettings d = DefaultToleranceSettings();
    lengths_ = box("Lengths \xC2\xB1", "TolLengths", Number(kDefaultLengthTolerance), 54);
    angles_ = box("Angles \xC2\xB1", "TolAngles", Number(kDefaultAngleTolerance), 44);
    wear_ = box("Wear", "TolWear", Number(0.0f), 54);
    samples_ = box("Samples", "TolSamples", QString::number(d.samples), 64);
    seed_ = box("Seed", "TolSeed", QString::number(d.seed), 64);
    threshold_ = box("Threshold", "TolThreshold", Number(d.threshold), 40);
    noValve_ = new QCheckBox(QStringLiteral("Leave out valve and ports"), canvas);
    noValve_->setObjectName(QStringLiteral("TolNoValve"));
    noValve_->setGeometry(x, kRow + 1, 170, 20);
    x += 176;
    run_ = new QPushButton(QStringLiteral("Run"), canvas);
    run_->setObjectName(QStringLiteral("Run"));
    run_->setGeometry(x, kRow - 1, 56, 24);
    run_->setAutoDefault(false);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), canvas);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    cancel_->setGeometry(x + 60, kRow - 1, 56, 24);
    cancel_->setAutoDefault(false);
    progress_ = new QProgressBar(canvas);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setGeometry(440, 8, 300, 20);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    connect(run_, &QPushButton::clicked, this, &TToleranceDia::RunClick);
    connect(cancel_, &QPushButton::clicked, this, &TToleranceDia::CancelClick);
    status_ = QStringLiteral("Set the tolerances and press Run.");
    SyncButtons();
}

TToleranceDia::~TToleranceDia() { StopWorker(); }

std::optional<ToleranceSettings> TToleranceDia::Settings(QString& fault) const {
    ToleranceSettings s = DefaultToleranceSettings();
    s.solve = LoadAnalysisSettings().solve; // SetUp > Analysis Settings
    const auto number = [&fault](const QLineEdit* e, const char* what, float& out) {
        const auto v = NumberBoxValue(e);
        if (!v || !std::isfinite(*v) || *v < 0 || !std::isfinite(static_cast<float>(*v))) {
            fault = QString::fromUtf8(what) + QStringLiteral(" needs a finite number not below 0, got \"") +
                    e->text() + QStringLiteral("\"");
            return false;
        }
        out = static_cast<float>(*v);
        return true;
    };
    float lengths = 0, angles = 0, samples = 0;
    if (!number(lengths_, "Lengths", lengths) || !number(angles_, "Angles", angles) ||
        !number(wear_, "Wear", s.wear) || !number(threshold_, "Threshold", s.threshold) ||
        !number(samples_, "Samples", samples))
        return std::nullopt;
    if (samples < 1 || samples > kMaxToleranceSamples || samples != std::floor(samples)) {
        fault = QStringLiteral("Samples needs a whole number from 1 to ") + QString::number(kMaxToleranceSamples);
        return std::nullopt;
    }
    s.samples = static_cast<int>(samples);
    const std::string seed = seed_->text().trimmed().toStdString();
    const auto [ptr, ec] = std::from_chars(seed.data(), seed.data() + seed.size(), s.seed);
    if (seed.empty() || ec != std::errc{} || ptr != seed.data() + seed.size()) {
        fault = QStringLiteral("Seed needs a whole number not below 0, got \"") + seed_->text() + QStringLiteral("\"");
        return std::nullopt;
    }
    ClearTolerances(s);
    SetAllTolerances(s, false, lengths);
    SetAllTolerances(s, true, angles);
    if (noValve_->isChecked()) LeaveOutValveAndPorts(s);
    const std::string check = CheckToleranceSettings(s);
    if (!check.empty()) {
        fault = QString::fromStdString(check);
        return std::nullopt;
    }
    return s;
}

void TToleranceDia::RunClick() {
    if (Running()) return;
    QString fault;
    const std::optional<ToleranceSettings> settings = Settings(fault);
    if (!settings) {
        status_ = fault;
        result_.reset();
        Redraw();
        return;
    }
    result_.reset();
    status_ = QStringLiteral("Running...");
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    cancelRequested_ = false;
    runDimensions_ = DimensionValues(Model());
    // The run works on its own copy; the window keeps the model.
    auto design = std::make_shared<const GearState>(Model());
    const ToleranceSettings s = *settings;
    worker_ = std::thread([this, design, s] {
        auto result = std::make_shared<ToleranceResult>();
        try {
            *result = RunTolerance(*design, s, [this](long long done, long long total) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { Progress(done, total); }, Qt::QueuedConnection);
                return !cancelRequested_.load();
            });
        } catch (const std::exception& e) {
            result->error = e.what();
        }
        QMetaObject::invokeMethod(
            this, [this, result] { Finished(result); }, Qt::QueuedConnection);
    });
    SyncButtons();
    Redraw();
}

void TToleranceDia::CancelClick() { cancelRequested_ = true; }

void TToleranceDia::Progress(long long done, long long total) {
    if (!Running() || total <= 0) return;
    progress_->setValue(static_cast<int>(1000 * static_cast<double>(done) / static_cast<double>(total)));
}

void TToleranceDia::Finished(std::shared_ptr<ToleranceResult> r) {
    StopWorker();
    if (r->cancelled) {
        status_ = QStringLiteral("Cancelled.");
    } else if (!r->error.empty()) {
        status_ = QString::fromStdString(r->error);
    } else {
        result_ = std::move(*r);
        status_.clear();
        progress_->setValue(progress_->maximum());
    }
    SyncButtons();
    Redraw();
}

void TToleranceDia::StopWorker() {
    if (!worker_.joinable()) return;
    cancelRequested_ = true;
    worker_.join();
}

void TToleranceDia::done(int r) {
    StopWorker();
    SyncButtons();
    TAnalysisWindow::done(r);
}

void TToleranceDia::SyncButtons() {
    const bool running = Running();
    run_->setEnabled(!running);
    cancel_->setEnabled(running);
    for (QWidget* w : {static_cast<QWidget*>(lengths_), static_cast<QWidget*>(angles_), static_cast<QWidget*>(wear_),
                       static_cast<QWidget*>(samples_), static_cast<QWidget*>(seed_),
                       static_cast<QWidget*>(threshold_), static_cast<QWidget*>(noValve_)})
        w->setEnabled(!running);
}

bool TToleranceDia::DesignChanged() const {
    const std::vector<float> now = DimensionValues(Model());
    if (now.size() != runDimensions_.size()) return true;
    for (std::size_t i = 0; i < now.size(); ++i)
        if (std::bit_cast<std::uint32_t>(now[i]) != std::bit_cast<std::uint32_t>(runDimensions_[i])) return true;
    return false;
}

void TToleranceDia::DrawDiagram(Canvas& c) {
    // A design that is not usable gives no figures: its cause instead.
    if (DrawDesignFault(Model(), c)) return;
    std::string status = status_.toStdString();
    if (result_ && DesignChanged()) status = "The design has changed since this run: Run again to see its spread.";
    DrawTolerancePicture(Model(), c, result_ ? &*result_ : nullptr, status);
}

QString TToleranceDia::Caption() const { return TitleWithUnit(QStringLiteral("Tolerance"), LoadAnalysisSettings().unit); }

} // namespace vx
