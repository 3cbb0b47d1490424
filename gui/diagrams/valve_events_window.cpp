#include "gui/diagrams/valve_events_window.h"
#include "scene/diagrams/design_fault_drawing.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>

#include "gui/controls/analysis_settings.h"
#include "gui/diagrams/copy_text.h"
#include "gui/editors/number_text.h"
#include "scene/diagrams/diagram_common.h"
#include "model/gear/reverse_arm.h"
#include "model/analysis/valve_events_text.h"
#include "platform/qt/qt_fonts.h"

namespace vx {
namespace {

using Command = TDiagramWindow::MenuCommand;

constexpr TDiagramWindow::MenuRow kMenu[] = {
    {nullptr, "SetRevArmPos", "SetRevArmPos", Command::SetRevArmPos},
    {"SetUp", "&Thresholds...", "Thresholds", Command::Thresholds},
    {nullptr, "&Copy", "CopyEvents", Command::Copy},
    {nullptr, "ReDraw", "ReDraw", Command::ReDraw},
    {nullptr, "DynamicVari", "DynVari", Command::DynVari},
};

constexpr TDiagramWindow::Layout kLayout{
    "EventsDia", kEventsWindowWidth, kEventsWindowHeight, "MainMenuEvents", kMenu, "CloseEvt", 816, 8,
    "SBDynVarE", "UnDoDnE", 5, 1, true, true,
};

} // namespace

TEventsDia::TEventsDia(const DiagramHost& host, QWidget* parent) : TDiagramWindow(host, kLayout, parent) {}

void TEventsDia::SetThresholds(const EventThresholds& t) {
    thresholds_ = t;
    Redraw();
}

void TEventsDia::Recompute() {
    const GearState& g = Model();
    count_ = DrawnPositionCount(g);
    // One copy of the design per recomputation, made in place: the scratch
    // state's strings keep their storage.
    work_ = g;
    for (int i = 0; i < count_; ++i) {
        const float position = g.revArm.position[static_cast<std::size_t>(i + 1)];
        ComputeValveEvents(work_, position, EventDirection::Auto, events_[static_cast<std::size_t>(i)]);
    }
}

void TEventsDia::DrawDiagram(Canvas& c) {
    // A design that is not usable gives no figures: its cause instead.
    if (DrawDesignFault(Model(), c)) return;
    Recompute();
    DrawValveEventsPicture(Model(), c, Events(), thresholds_);
}

void TEventsDia::GestureRedraw() { ClearAndDraw(); }

QString TEventsDia::Caption() const { return TitleWithUnit(QStringLiteral("Valve Events"), LoadAnalysisSettings().unit); }

// Each row's offset from mid gear beside its position, as the command line
// writes them, so that tables of two designs join.
std::string TEventsDia::Csv() const {
    const GearState& g = Model();
    std::array<float, kRevArmPositions> offsets{};
    for (int i = 0; i < count_; ++i)
        offsets[static_cast<std::size_t>(i)] = OffsetFromMidGear(g.revArm.centre, g.revArm.position[static_cast<std::size_t>(i + 1)]);
    return ValveEventsCsv(Events(), std::span<const float>(offsets.data(), static_cast<std::size_t>(count_)));
}

void TEventsDia::CopyTable() { CopyTextToClipboard(Csv()); }

void TEventsDia::AskThresholds() {
    QDialog d(this);
    d.setObjectName(QStringLiteral("EventThresholds"));
    d.setWindowTitle(QStringLiteral("Event Thresholds"));
    d.setFont(UiFont(UiFace::Sans, 11));
    auto* form = new QFormLayout(&d);
    const auto box = [&d](const char* name, double value, int decimals, double step, double max) {
        auto* b = new NumberSpinBox(&d);
        b->setObjectName(QString::fromUtf8(name));
        b->setDecimals(decimals);
        b->setRange(0, max);
        b->setSingleStep(step);
        b->setValue(value);
        return b;
    };
    QDoubleSpinBox* percent = box("PercentThreshold", thresholds_.percent, 2, 0.1, 100);
    QDoubleSpinBox* lead = box("LeadThreshold", thresholds_.lead, 4, 0.001, 10);
    form->addRow(QStringLiteral("Cut-off and release, % of stroke:"), percent);
    form->addRow(QStringLiteral("Lead:"), lead);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    if (d.exec() != QDialog::Accepted) return;
    SetThresholds({static_cast<float>(percent->value()), static_cast<float>(lead->value())});
}

void TEventsDia::RunMenuCommand(MenuCommand c) {
    switch (c) {
    case MenuCommand::Copy: CopyTable(); break;
    case MenuCommand::Thresholds: AskThresholds(); break;
    default: TDiagramWindow::RunMenuCommand(c); break;
    }
}

} // namespace vx
