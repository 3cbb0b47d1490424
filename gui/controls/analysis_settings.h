// The analyses' settings of the windows: the solve the analysis windows
// stand on (Valve Events, Work, Sensitivity, Tolerance, Balance Events and
// the report; exact unless set otherwise) and the length unit the labels
// carry (none unless set: the design file holds plain numbers whatever
// the unit, and nothing is converted). Kept in the program's settings
// (QSettings, "analysis/solve" and "analysis/unit", spelled as the command
// line's --solve and --unit spell them), and set in "SetUp > Analysis
// Settings...".
#pragma once

#include <QDialog>
#include <QSettings>

#include "base/length_unit.h"
#include "model/analysis/solve_mode.h"

class QComboBox;

namespace vx {

// The program's own settings file (user scope, INI).
QSettings ProgramSettings();

struct AnalysisSettings {
    SolveMode solve = SolveMode::Exact;
    LengthUnit unit = LengthUnit::None;
    bool operator==(const AnalysisSettings&) const = default;
};

// The stored settings; a value missing or not understood is its default.
AnalysisSettings LoadAnalysisSettings();
void SaveAnalysisSettings(const AnalysisSettings& s);

// A window title with the unit of its lengths: "Frame Dimensions (mm)";
// the title alone when there is no unit.
QString TitleWithUnit(const QString& title, LengthUnit unit);

// The dialog of the two settings: a choice of the solve and one of the
// unit; OK stores them.
class AnalysisSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    explicit AnalysisSettingsDialog(QWidget* parent = nullptr);
    // Shows the stored settings.
    void Load();
    // What the boxes say.
    AnalysisSettings Chosen() const;
    // OK: stores the choices, then closes.
    void accept() override;

private:
    QComboBox* solve_ = nullptr;
    QComboBox* unit_ = nullptr;
};

} // namespace vx
