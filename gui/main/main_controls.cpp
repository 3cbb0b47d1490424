// The main window's controls: the tables of its menu, tool bar, panels,
// bars and buttons, and their layout on the client area. What the controls
// do is in main_form.cpp; the rules behind it are the model's (motion, view).
#include <QAction>
#include <QFrame>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <string_view>

#include "gui/controls/dyn_var_bars.h"
#include "gui/controls/menu_bar_fit_form.h"
#include "gui/controls/undo_keys.h"
#include "gui/main/main_canvas_widget.h"
#include "gui/main/main_form.h"
#include "gui/main/main_window_style.h"
#include "model/workspace/motion.h"
#include "model/workspace/undo_redo.h"

namespace vx {
namespace {

using Command = TMainForm::Command;

// Main menu. A row with a null caption ends a drop-down menu; a row whose
// menu is null is an item of the menu bar itself.
struct MenuRow {
    const char* menu;     // drop-down menu caption, or nullptr for a bar item
    const char* menuName; // its object name
    const char* caption;
    const char* name;
    Command command;
    bool separatorAfter;
    bool enabled;
};

constexpr MenuRow kMenu[] = {
    {"&File", "File", "&OpenDimensions", "OpenDimensions", Command::OpenDimensions, false, true},
    {"&File", "File", "Save&AsDimensions", "SaveAsDimensions", Command::SaveAsDimensions, true, true},
    {"&File", "File", "Export &Picture...", "ExportPicture", Command::ExportPicture, false, true},
    {"&File", "File", "Export &Animation...", "ExportAnimation", Command::ExportAnimation, false, true},
    {"&File", "File", "Export &Report...", "ExportReport", Command::ExportReport, true, true},
    {"&File", "File", "E&xit", "Exit", Command::Exit, false, true},
    {"&SetUp", "SetUp", "Set&RevArmPos", "RevArmPos", Command::SetRevArmPos, false, true},
    {"&SetUp", "SetUp", "Set&DriverAng", "DriverAng", Command::SetDriverAng, false, true},
    {"&SetUp", "SetUp", "Set&StepAng", "StepAng", Command::SetStepAng, false, true},
    {"&SetUp", "SetUp", "SetRef&Points", "RefPoints1", Command::SetRefPoints, true, true},
    {"&SetUp", "SetUp", "SetLarge&Font", "LargeFont", Command::SetLargeFont, false, true},
    {"&SetUp", "SetUp", "&CalcCentRevArm", "FindRevArmCent", Command::CalcCentRevArm, false, true},
    {"&SetUp", "SetUp", "SetS&teamDisp On", "SetSteam", Command::SetSteam, false, true},
    {"&SetUp", "SetUp", "Set&ErrorBeep Off", "SetBeepOnError", Command::SetErrorBeep, false, true},
    {"&SetUp", "SetUp", "Set&LineWidth 2", "SetLineWidth", Command::SetLineWidth, false, true},
    {"&SetUp", "SetUp", "SetScree&nData Off", "SetScreenData", Command::SetScreenData, false, true},
    {"&SetUp", "SetUp", "SetP&anZoom On", "SetPanZoom", Command::SetPanZoom, true, false},
    {"&SetUp", "SetUp", "Anal&ysis Settings...", "AnalysisSettings", Command::AnalysisSettings, false, true},
    {"&EditDimen", "EditDimen", "&FrameDimensions", "FrameDimensions", Command::FrameDimensions, false, true},
    {"&EditDimen", "EditDimen", "&CylinderDimensions", "CylinderDimensions", Command::CylinderDimensions, true, true},
    {"&EditDimen", "EditDimen", "Set&GraphicZoom", "GraphicZoom", Command::SetGraphicZoom, true, true},
    {"&EditDimen", "EditDimen", "&ResetAllDimensions", "ResetAllDimensions", Command::ResetAllDimensions, true, true},
    {"&EditDimen", "EditDimen", "&Balance Events...", "BalanceEvents", Command::BalanceEvents, false, true},
    {"&EditDimen", "EditDimen", "Set the &Valves...", "SetValves", Command::SetValves, false, true},
    {nullptr, nullptr, "&ReferPoints", "RefPoints", Command::ReferPoints, false, true},
    {nullptr, nullptr, "&DrawLinesCircles", "DrawLines1", Command::DrawLinesCircles, false, false},
    {nullptr, nullptr, "Pi&votData", "SetPivotData", Command::PivotData, false, true},
    {nullptr, nullptr, "D&ynamicVari", "DynamicVariables", Command::DynamicVari, false, true},
    {"Draw&Graphs", "DrawGraphs", "&SineDiagram", "SineDiagram", Command::SineDiagram, false, true},
    {"Draw&Graphs", "DrawGraphs", "&OvalDiagram", "OvalDiagram", Command::OvalDiagram, false, true},
    {"Draw&Graphs", "DrawGraphs", "S&teamDiagram", "SteamDiagram", Command::SteamDiagram, false, true},
    {"Draw&Graphs", "DrawGraphs", "&PortOpenClose", "PortOpenClose", Command::PortOpenClose, false, true},
    {"Draw&Graphs", "DrawGraphs", "Valve &Events", "ValveEvents", Command::ValveEvents, false, true},
    {"Draw&Graphs", "DrawGraphs", "Se&nsitivity", "Sensitivity", Command::Sensitivity, false, true},
    {"Draw&Graphs", "DrawGraphs", "To&lerance", "Tolerance", Command::Tolerance, false, true},
    {"Draw&Graphs", "DrawGraphs", "&Work", "Work", Command::Work, false, true},
    {"&Help", "Help", "&Instructions", "Instructions", Command::Instructions, false, true},
    {"&Help", "Help", "Instructions&Special", "InstructionsSpecial", Command::InstructionsSpecial, true, true},
    {"&Help", "Help", "&About", "About", Command::About, false, true},
};

// Tool bar buttons; a null icon is a separator.
struct ToolRow {
    const char* icon;
    const char* name;
    const char* hint;
    Command command;
    bool enabled;
};

constexpr ToolRow kTools[] = {
    {"open", "ToolOpen", "Open File: Dimension Data", Command::OpenDimensions, true},
    {"save", "ToolSaveAs", "Save As: Dimension Data", Command::SaveAsDimensions, true},
    {nullptr, nullptr, nullptr, Command::Exit, true},
    {"frame_dims", "ToolFrameDims", "Change Frame Dimensions", Command::FrameDimensions, true},
    {"cyl_dims", "ToolCylDims", "Change Cylinder Dimensions", Command::CylinderDimensions, true},
    {nullptr, nullptr, nullptr, Command::Exit, true},
    {"driver_angle", "ToolDriverAng", "Set Driver Angle to Desired Position", Command::SetDriverAng, true},
    {"step_angle", "ToolStepAng", "Set Step Angle to Desired Amount", Command::SetStepAng, true},
    {"rev_arm", "ToolRevArmPos", "Set Reverse Arm to Desired Position", Command::SetRevArmPos, true},
    {nullptr, nullptr, nullptr, Command::Exit, true},
    {"mid_gear", "ToolMidGear", "Calculate Mid Gear Position if Necessary", Command::CalcCentRevArm, true},
    {nullptr, nullptr, nullptr, Command::Exit, true},
    {"steam", "ToolSteam", "Turn On Steam Display and Sound", Command::SetSteam, true},
    {nullptr, nullptr, nullptr, Command::Exit, true},
    {"ref_points", "ToolRefPoints", "Turn On Reference Points", Command::ReferPoints, true},
    {"lines_circles", "ToolDrawLines", "Draw Lines and Circles", Command::DrawLinesCircles, false},
    {"pivot_data", "ToolPivotData", "Turn On Pivot Data", Command::PivotData, true},
    {"dyn_vars", "ToolDynVars", "Turn On Dynamic Variables", Command::DynamicVari, true},
    {nullptr, nullptr, nullptr, Command::Exit, true},
    {"sine_diagram", "ToolSineDiagram", "View Sine Diagram", Command::SineDiagram, true},
    {"oval_diagram", "ToolOvalDiagram", "View Oval Diagram", Command::OvalDiagram, true},
    {"steam_diagram", "ToolSteamDiagram", "View Steam Diagram", Command::SteamDiagram, true},
    {"port_events", "ToolPortDiagram", "View Port Events vs Reverse Arm Position", Command::PortOpenClose, true},
};

struct PanelRow {
    int left, top, width, height;
    bool visible;
};

// Panel1 .. Panel12: separator strips framing the control area.
constexpr PanelRow kPanels[12] = {
    {0, 67, 539, 4, true},    {247, 26, 4, 41, true},  {539, 26, 4, 109, true},
    {539, 134, 93, 4, true},  {0, 120, 251, 4, false}, {247, 72, 4, 49, false},
    {247, 72, 4, 49, false},  {247, 120, 292, 4, false}, {539, 70, 0, 0, false},
    {0, 26, 4, 41, true},     {0, 72, 4, 49, false},   {628, 26, 4, 108, true},
};

struct BarRow {
    const char* name;
    int left, top, width, height;
    int min, max, small, large;
    const char* hint;
};

// The three view jog bars, in the order pan vertical, pan horizontal, zoom.
constexpr BarRow kJogBars[3] = {
    {"SBPanVert", 76, 26, 121, 12, -500, 500, 1, 10, "Pan Vertical"},
    {"SBPanHorz", 76, 40, 121, 12, -500, 500, 1, 10, "Pan Horizontal"},
    {"SBZoom", 76, 54, 121, 12, -200, 200, 1, 10, "Zoom In / Out"},
};

struct PresetRow {
    int left, top;
};

// Preset0 ("P") and Preset1 .. Preset6.
constexpr PresetRow kPresets[kPresetCount] = {
    {19, 39}, {5, 25}, {19, 25}, {33, 25}, {47, 25}, {61, 25}, {5, 39},
};

// The step presets' buttons, in the order of kStepPresets.
struct StepButtonRow {
    const char* name;
    const char* caption;
    int left, width;
    const char* hint;
};

constexpr StepButtonRow kStepButtons[kStepPresets.size()] = {
    {"Step1", "1.0", 252, 25, "Set Driver Step Angle to 1 Deg"},
    {"Step10", "10.0", 277, 29, "Set Driver Step Angle to 10 Deg"},
    {"Step45", "45.0", 306, 29, "Set Driver Step Angle to 45 Deg"},
};

} // namespace

QPushButton* TMainForm::MakeButton(const char* name, const char* caption, int left, int top,
                                   int width, int height, const char* hint, bool enabled) {
    auto* b = new QPushButton(QString::fromUtf8(caption), canvasWidget_);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(left, top, width, height);
    b->setToolTip(QString::fromUtf8(hint));
    b->setFont(SansFont());
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    b->setEnabled(enabled);
    return b;
}

QScrollBar* TMainForm::MakeBar(const char* name, int left, int top, int width, int height, int min,
                               int max, int small, int large, int position, const char* hint) {
    auto* s = new QScrollBar(Qt::Horizontal, canvasWidget_);
    s->setObjectName(QString::fromUtf8(name));
    s->setGeometry(left, top, width, height);
    s->setRange(min, max);
    s->setSingleStep(small);
    s->setPageStep(large);
    s->setValue(position);
    s->setToolTip(QString::fromUtf8(hint));
    s->setFocusPolicy(Qt::StrongFocus);
    return s;
}

void TMainForm::BuildControls() {
    // Separator panels.
    for (int i = 0; i < 12; ++i) {
        const PanelRow& r = kPanels[i];
        auto* p = new QFrame(canvasWidget_);
        p->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        p->setFrameStyle(QFrame::Panel | QFrame::Raised);
        p->setLineWidth(1);
        p->setAutoFillBackground(true);
        p->setGeometry(r.left, r.top, r.width, r.height);
        p->setVisible(r.visible);
        panels_[static_cast<std::size_t>(i + 1)] = p;
    }

    // Reverse arm, driver angle and step angle bars. The range of the
    // reverse arm bar is set from the model once the controls exist.
    sbRevArm_ = MakeBar("SBRevArm", 336, 26, 121, 12, 0, 0, 1, 20, 0,
                        "Set Reverse Arm Between Max & Min");
    sbDrvAng_ = MakeBar("SBDrvAng", 336, 40, 121, 12, -4000, 40000, 1000, 4500, 1,
                        "Set Driver Angle From 0 to 360 Deg");
    sbStepAng_ = MakeBar("SBStepAng", 336, 54, 121, 12, 0, kStepBarMax, 920, 2760, 12000,
                         "Set Driver Step Angle to Predefined Values");
    sbDrvAng_->setEnabled(false);
    connect(sbRevArm_, &QScrollBar::valueChanged, this, &TMainForm::SBRevArmChange);
    connect(sbDrvAng_, &QScrollBar::valueChanged, this, &TMainForm::SBDrvAngChange);
    connect(sbStepAng_, &QScrollBar::valueChanged, this, &TMainForm::SBStepAngChange);

    run_ = MakeButton("Run", "Stop", 277, 39, 36, 14, "Start / Stop Driver Rotation", true);
    center_ = MakeButton("Center", "Cen", 280, 25, 27, 14, "Set Reverse Arm to Mid Gear", false);
    rev_ = MakeButton("Rev", "Rev", 252, 25, 28, 14, "Set Reverse Arm to Normal Reverse", true);
    fwd_ = MakeButton("Fwd", "Fwd", 307, 25, 28, 14, "Set Reverse Arm to Normal Forward", true);
    deg180_ = MakeButton("Deg180", "180", 252, 39, 25, 14, "Set Driver Angle to 180 Deg", true);
    deg00_ = MakeButton("Deg00", "0.0", 313, 39, 22, 14, "Set Driver to 0 Deg", true);
    connect(run_, &QPushButton::clicked, this, &TMainForm::RunClick);
    connect(center_, &QPushButton::clicked, this, &TMainForm::CenterClick);
    connect(rev_, &QPushButton::clicked, this, [this] { FwdRevClick(false); });
    connect(fwd_, &QPushButton::clicked, this, [this] { FwdRevClick(true); });
    connect(deg180_, &QPushButton::clicked, this, [this] { DegClick(true); });
    connect(deg00_, &QPushButton::clicked, this, [this] { DegClick(false); });

    for (int i = 0; i < 3; ++i) {
        const StepButtonRow& r = kStepButtons[i];
        QPushButton* b = MakeButton(r.name, r.caption, r.left, 53, r.width, 14, r.hint, true);
        stepButtons_[static_cast<std::size_t>(i)] = b;
        connect(b, &QPushButton::clicked, this, [this, i] { StepClick(i); });
    }
    UpdateStepButtons();

    // View controls.
    for (int i = 0; i < 3; ++i) {
        const BarRow& r = kJogBars[i];
        QScrollBar* s = MakeBar(r.name, r.left, r.top, r.width, r.height, r.min, r.max, r.small,
                                r.large, 0, r.hint);
        jogBars_[static_cast<std::size_t>(i)] = s;
        connect(s, &QScrollBar::valueChanged, this, [this, i](int p) { JogBarChange(static_cast<JogAxis>(i), p); });
    }
    normVHZ_ = MakeButton("NormVHZ", "Norm", 33, 39, 42, 14, "Return Pan & Zoom to Normal", false);
    connect(normVHZ_, &QPushButton::clicked, this, &TMainForm::NormVHZClick);
    for (int k = 0; k < kPresetCount; ++k) {
        const QByteArray name = "Preset" + QByteArray::number(k);
        const QByteArray caption = k == 0 ? QByteArray("P") : QByteArray::number(k);
        const QByteArray hint = k == 0 ? QByteArray("Select First to Change Presets")
                                       : "Pan & Zoom to Preset " + QByteArray::number(k);
        QPushButton* b = MakeButton(name.constData(), caption.constData(), kPresets[k].left,
                                    kPresets[k].top, 14, 14, hint.constData(), true);
        presets_[static_cast<std::size_t>(k)] = b;
        connect(b, &QPushButton::clicked, this, [this, k] { PresetClick(k); });
    }

    // Dynamic-variable bars and the undo button.
    dynVarBars_ = new DynVarBars(*model_, canvasWidget_, "SBDynVar", 253, 72);
    dynVarBars_->onGestureEnd = [this](int) { DynVarGestureEnd(); };
    unDoDn_ = new QPushButton(QStringLiteral("UnDo"), canvasWidget_);
    unDoDn_->setObjectName(QStringLiteral("UnDoDn"));
    unDoDn_->setGeometry(280, 127, 40, 16);
    unDoDn_->setFont(SerifBoldFont(false));
    unDoDn_->setFocusPolicy(Qt::TabFocus);
    unDoDn_->setAutoDefault(false);
    unDoDn_->setEnabled(false);
    connect(unDoDn_, &QPushButton::clicked, this, &TMainForm::UnDoDnClick);
    InstallUndoKeys(
        this,
        [this] {
            if (UndoChange(*model_)) SyncUndoButton();
        },
        [this] {
            if (RedoChange(*model_)) SyncUndoButton();
        });
    ShowDynVarControls();
}

void TMainForm::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QFont f = SansFont();
    f.setPixelSize(12);
    bar->setFont(f);

    QMenu* current = nullptr;
    const char* currentCaption = nullptr;
    for (const MenuRow& r : kMenu) {
        QAction* a = nullptr;
        if (r.menu == nullptr) {
            current = nullptr;
            currentCaption = nullptr;
            a = bar->addAction(QString::fromUtf8(r.caption));
        } else {
            if (currentCaption == nullptr || std::string_view(currentCaption) != r.menu) {
                current = bar->addMenu(QString::fromUtf8(r.menu));
                current->setObjectName(QString::fromUtf8(r.menuName));
                current->setFont(f);
                currentCaption = r.menu;
            }
            a = current->addAction(QString::fromUtf8(r.caption));
            if (r.separatorAfter) current->addSeparator();
        }
        a->setObjectName(QString::fromUtf8(r.name));
        a->setEnabled(r.enabled);
        const Command c = r.command;
        connect(a, &QAction::triggered, this, [this, c] { RunCommand(c); });
        if (r.command == Command::SetPanZoom) setPanZoom_ = a;
    }

    // The error indicator: a picture on the menu bar, shown by the screen
    // data layer while a geometry error is being reported.
    QAction* error = bar->addAction(QIcon(QStringLiteral(":/icons/error.svg")), QString());
    error->setObjectName(QStringLiteral("Error"));
    error->setVisible(false);
    // Every item, the indicator included, fits the window's width.
    FitMenuBarFont(bar, kClientWidth);
}

void TMainForm::BuildToolBar() {
    toolBar_ = new QToolBar(canvasWidget_);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setAutoFillBackground(true);
    toolBar_->setContentsMargins(0, 0, 0, 0);
    toolBar_->layout()->setSpacing(0);
    toolBar_->layout()->setContentsMargins(2, 1, 2, 1);
    toolBar_->setGeometry(0, 0, kClientWidth, 24);
    toolBar_->setFont(SansFont());
    for (const ToolRow& r : kTools) {
        if (r.icon == nullptr) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = toolBar_->addAction(
            QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromUtf8(r.icon))), QString());
        a->setObjectName(QString::fromUtf8(r.name));
        a->setToolTip(QString::fromUtf8(r.hint));
        a->setEnabled(r.enabled);
        if (QWidget* w = toolBar_->widgetForAction(a)) {
            w->setFixedSize(30, 22);
            w->setFocusPolicy(Qt::NoFocus);
            w->setObjectName(QString::fromUtf8(r.name) + QStringLiteral("Button"));
        }
        const Command c = r.command;
        connect(a, &QAction::triggered, this, [this, c] { RunCommand(c); });
    }
    canvasWidget_->SetToolBar(toolBar_);
}

} // namespace vx
