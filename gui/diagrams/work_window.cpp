#include "gui/diagrams/work_window.h"
#include "scene/diagrams/design_fault_drawing.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

#include "gui/controls/analysis_settings.h"
#include "gui/diagrams/copy_text.h"
#include "gui/editors/number_text.h"
#include "base/fixed_format.h"
#include "model/analysis/work_text.h"
#include "platform/qt/qt_fonts.h"
#include "scene/diagrams/work_drawing.h"

namespace vx {
namespace {

using Command = TDiagramWindow::MenuCommand;

// SetUp's one item opens the window's settings (the family's settings command).
constexpr TDiagramWindow::MenuRow kMenu[] = {
    {nullptr, "SetRevArmPos", "SetRevArmPos", Command::SetRevArmPos},
    {"SetUp", "&Work Settings...", "WorkSettings", Command::Thresholds},
    {nullptr, "&Copy", "CopyWork", Command::Copy},
    {nullptr, "ReDraw", "ReDraw", Command::ReDraw},
    {nullptr, "DynamicVari", "DynVari", Command::DynVari},
};

constexpr TDiagramWindow::Layout kLayout{
    "WorkDia", kWorkWindowWidth, kWorkWindowHeight, "MainMenuWork", kMenu, "CloseWork", 816, 8,
    "SBDynVarW", "UnDoDnW", 5, 1, true, true,
};

// A setting's text in its shortest form that reads back the same float.
QString Text(float v) { return NumberBoxText(v); }

} // namespace

WorkSettings LoadWorkSettings() {
    QSettings q = ProgramSettings();
    WorkSettings s;
    const auto read = [&q](const char* key, float& target) {
        const QVariant v = q.value(QStringLiteral("work/") + QLatin1String(key));
        if (!v.isValid()) return;
        if (const auto n = ReadNumber(v.toString().toStdString())) target = static_cast<float>(*n);
    };
    read("admissionPressure", s.admissionPressure);
    read("backPressure", s.backPressure);
    read("clearance", s.clearance);
    read("exponent", s.exponent);
    float cylinders = static_cast<float>(s.cylinders);
    read("cylinders", cylinders);
    s.cylinders = cylinders >= 1 && cylinders <= kMaxWorkCylinders ? static_cast<int>(cylinders) : 0;
    if (!CheckWorkSettings(s).empty()) return WorkSettings{};
    return s;
}

void SaveWorkSettings(const WorkSettings& s) {
    QSettings q = ProgramSettings();
    q.setValue(QStringLiteral("work/admissionPressure"), Text(s.admissionPressure));
    q.setValue(QStringLiteral("work/backPressure"), Text(s.backPressure));
    q.setValue(QStringLiteral("work/clearance"), Text(s.clearance));
    q.setValue(QStringLiteral("work/exponent"), Text(s.exponent));
    q.setValue(QStringLiteral("work/cylinders"), QString::number(s.cylinders));
    q.sync();
}

TWorkDia::TWorkDia(const DiagramHost& host, QWidget* parent)
    : TDiagramWindow(host, kLayout, parent), settings_(LoadWorkSettings()), table_(std::make_unique<WorkTable>()) {}

TWorkDia::~TWorkDia() = default;

std::string TWorkDia::SetSettings(const WorkSettings& s) {
    std::string bad = CheckWorkSettings(s);
    if (!bad.empty()) return bad;
    settings_ = s;
    SaveWorkSettings(s);
    Redraw();
    return {};
}

void TWorkDia::Recompute() { ComputeWorkTable(work_, Model(), settings_, *table_); }

void TWorkDia::DrawDiagram(Canvas& c) {
    // A design that is not usable gives no figures: its cause instead.
    if (DrawDesignFault(Model(), c)) return;
    Recompute();
    DrawWorkPicture(Model(), c, *table_, settings_);
}

void TWorkDia::GestureRedraw() { ClearAndDraw(); }

QString TWorkDia::Caption() const { return QStringLiteral("Work: Indicator Cards"); }

std::string TWorkDia::Csv() const { return WorkCsv(table_->List(), table_->ListEvents()); }

void TWorkDia::CopyTable() { CopyTextToClipboard(Csv()); }

void TWorkDia::AskSettings() {
    QDialog d(this);
    d.setObjectName(QStringLiteral("WorkSettingsDialog"));
    d.setWindowTitle(QStringLiteral("Work Settings"));
    d.setFont(UiFont(UiFace::Sans, 11));
    auto* form = new QFormLayout(&d);
    const auto box = [&d](const char* name, const QString& value) {
        auto* b = new QLineEdit(value, &d);
        b->setObjectName(QString::fromUtf8(name));
        return b;
    };
    QLineEdit* p1 = box("AdmissionPressure", Text(settings_.admissionPressure));
    QLineEdit* pb = box("BackPressure", Text(settings_.backPressure));
    QLineEdit* c = box("Clearance", Text(settings_.clearance));
    QLineEdit* n = box("Exponent", Text(settings_.exponent));
    QLineEdit* k = box("Cylinders", QString::number(settings_.cylinders));
    form->addRow(QStringLiteral("Admission pressure p1 (absolute):"), p1);
    form->addRow(QStringLiteral("Back pressure pb (absolute):"), pb);
    form->addRow(QStringLiteral("Clearance c (of the swept volume):"), c);
    form->addRow(QStringLiteral("Expansion exponent n:"), n);
    form->addRow(QStringLiteral("Cylinders:"), k);
    auto* message = new QLabel(&d);
    message->setObjectName(QStringLiteral("WorkSettingsMessage"));
    message->setStyleSheet(QStringLiteral("color: red"));
    message->setWordWrap(true);
    form->addRow(message);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    form->addRow(buttons);
    WorkSettings typed;
    connect(buttons, &QDialogButtonBox::accepted, &d, [&] {
        struct Box {
            QLineEdit* edit;
            const char* name;
        };
        const Box boxes[] = {{p1, "the admission pressure p1"}, {pb, "the back pressure pb"},
                             {c, "the clearance c"}, {n, "the expansion exponent n"}, {k, "the cylinders"}};
        double values[5] = {};
        for (int i = 0; i < 5; ++i) {
            const auto v = NumberBoxValue(boxes[i].edit);
            if (!v) {
                message->setText(QStringLiteral("Not a number for ") + QLatin1String(boxes[i].name) +
                                 QStringLiteral(": \"") + boxes[i].edit->text() + QStringLiteral("\""));
                return;
            }
            values[i] = *v;
        }
        typed.admissionPressure = static_cast<float>(values[0]);
        typed.backPressure = static_cast<float>(values[1]);
        typed.clearance = static_cast<float>(values[2]);
        typed.exponent = static_cast<float>(values[3]);
        if (!(values[4] >= 1 && values[4] <= kMaxWorkCylinders && values[4] == static_cast<int>(values[4]))) {
            message->setText(QStringLiteral("The cylinders must be a whole number from 1 to %1").arg(kMaxWorkCylinders));
            return;
        }
        typed.cylinders = static_cast<int>(values[4]);
        if (const std::string bad = CheckWorkSettings(typed); !bad.empty()) {
            message->setText(QString::fromStdString(bad));
            return;
        }
        d.accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    if (d.exec() != QDialog::Accepted) return;
    SetSettings(typed);
}

void TWorkDia::RunMenuCommand(MenuCommand c) {
    switch (c) {
    case MenuCommand::Copy: CopyTable(); break;
    case MenuCommand::Thresholds: AskSettings(); break;
    default: TDiagramWindow::RunMenuCommand(c); break;
    }
}

} // namespace vx
