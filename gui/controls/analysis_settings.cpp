#include "gui/controls/analysis_settings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

#include "model/analysis/solve_mode_name.h"
#include "platform/qt/qt_fonts.h"

namespace vx {
namespace {

const QString kSolveKey = QStringLiteral("analysis/solve");
const QString kUnitKey = QStringLiteral("analysis/unit");

QString Name(std::string_view name) { return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())); }

constexpr SolveMode kSolves[] = {SolveMode::Exact, SolveMode::Classic};
constexpr LengthUnit kUnits[] = {LengthUnit::None, LengthUnit::Inch, LengthUnit::Millimetre};

} // namespace

QSettings ProgramSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vexlin"), QStringLiteral("Vexlin"));
}

AnalysisSettings LoadAnalysisSettings() {
    const QSettings q = ProgramSettings();
    AnalysisSettings s;
    if (const auto m = ReadSolveModeName(q.value(kSolveKey).toString().toStdString())) s.solve = *m;
    if (const auto u = ReadLengthUnit(q.value(kUnitKey).toString().toStdString())) s.unit = *u;
    return s;
}

void SaveAnalysisSettings(const AnalysisSettings& s) {
    QSettings q = ProgramSettings();
    q.setValue(kSolveKey, Name(SolveModeName(s.solve)));
    q.setValue(kUnitKey, Name(LengthUnitName(s.unit)));
    q.sync();
}

QString TitleWithUnit(const QString& title, LengthUnit unit) {
    if (unit == LengthUnit::None) return title;
    return title + QStringLiteral(" (") + Name(LengthUnitSymbol(unit)) + QStringLiteral(")");
}

AnalysisSettingsDialog::AnalysisSettingsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AnalysisSettingsDialog"));
    setWindowTitle(QStringLiteral("Analysis Settings"));
    setFont(UiFont(UiFace::Sans, 11));
    auto* form = new QFormLayout(this);
    solve_ = new QComboBox(this);
    solve_->setObjectName(QStringLiteral("AnalysisSolve"));
    solve_->addItem(QStringLiteral("Exact (double precision, any size)"), Name(SolveModeName(SolveMode::Exact)));
    solve_->addItem(QStringLiteral("Classic (the picture's solve)"), Name(SolveModeName(SolveMode::Classic)));
    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("AnalysisUnit"));
    unit_->addItem(QStringLiteral("None"), Name(LengthUnitName(LengthUnit::None)));
    unit_->addItem(QStringLiteral("in"), Name(LengthUnitName(LengthUnit::Inch)));
    unit_->addItem(QStringLiteral("mm"), Name(LengthUnitName(LengthUnit::Millimetre)));
    form->addRow(QStringLiteral("Solve of the analyses:"), solve_);
    form->addRow(QStringLiteral("Length unit of the labels:"), unit_);
    auto* note = new QLabel(QStringLiteral("The unit only labels lengths: the design file holds plain numbers\n"
                                           "and nothing is converted. The picture and the diagrams keep\n"
                                           "the classic solve."),
                            this);
    note->setObjectName(QStringLiteral("AnalysisSettingsNote"));
    form->addRow(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("AnalysisSettingsButtons"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Load();
}

void AnalysisSettingsDialog::Load() {
    const AnalysisSettings s = LoadAnalysisSettings();
    for (std::size_t i = 0; i < std::size(kSolves); ++i)
        if (kSolves[i] == s.solve) solve_->setCurrentIndex(static_cast<int>(i));
    for (std::size_t i = 0; i < std::size(kUnits); ++i)
        if (kUnits[i] == s.unit) unit_->setCurrentIndex(static_cast<int>(i));
}

AnalysisSettings AnalysisSettingsDialog::Chosen() const {
    AnalysisSettings s;
    if (const auto m = ReadSolveModeName(solve_->currentData().toString().toStdString())) s.solve = *m;
    if (const auto u = ReadLengthUnit(unit_->currentData().toString().toStdString())) s.unit = *u;
    return s;
}

void AnalysisSettingsDialog::accept() {
    SaveAnalysisSettings(Chosen());
    QDialog::accept();
}

} // namespace vx
