#include "gui/main/main_form.h"
#include "platform/qt/qt_fonts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "gui/main/draw_lines_dialog.h"
#include "data/overlay.h"
#include "gui/main/pivot_table_window.h"
#include "gui/diagrams/oval_window.h"
#include "gui/diagrams/port_window.h"
#include "gui/diagrams/valve_events_window.h"
#include "gui/diagrams/sensitivity_window.h"
#include "gui/diagrams/tolerance_window.h"
#include "gui/controls/report_export_dialog.h"
#include "gui/diagrams/sine_window.h"
#include "gui/diagrams/steam_window.h"
#include "gui/editors/balance_events_dialog.h"
#include "gui/editors/cylinder_dimensions_dialog.h"
#include "gui/editors/frame_dimensions_dialog.h"
#include "gui/editors/graph_zoom_dialog.h"
#include "gui/editors/set_rev_arm_dialog.h"
#include "gui/help/about_box_dialog.h"
#include "gui/help/instruction_dialog.h"
#include "gui/controls/classic_bar_keys_form.h"
#include "gui/controls/animation_export_dialog.h"
#include "gui/main/dimension_file_dialog.h"
#include "gui/controls/picture_export_dialog.h"
#include "scene/frame/dimension_locator_layer.h"
#include "gui/controls/dyn_var_bars_form.h"
#include "gui/controls/menu_bar_fit_form.h"
#include "gui/controls/undo_keys_form.h"
#include "gui/main/value_entry_dialog.h"
#include "gui/main/display_options_form.h"
#include "scene/frame/frame_renderer.h"
#include "gui/main/ref_pnts_dialog.h"
#include "gui/main/reference_points_form.h"
#include "model/defaults.h"
#include "model/dynvar.h"
#include "model/jog.h"
#include "model/midgear.h"
#include "model/undo_redo.h"
#include "model/motion.h"
#include "model/view.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_sound.h"

// The icons are compiled into this library; register them by hand, since a
// static library's resource object is otherwise left out by the linker.
static void InitIconResources() { Q_INIT_RESOURCE(resources); }

namespace vx {

// The client area's background: shows the last composed frame and carries
// every control of the window on top of it.
class MainCanvasWidget final : public QWidget {
public:
    MainCanvasWidget(const QImage& frame, QWidget* parent) : QWidget(parent), frame_(frame) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void SetToolBar(QToolBar* bar) { toolBar_ = bar; }
    void SetPressHandler(std::function<void(QMouseEvent*)> h) { press_ = std::move(h); }

    // A new frame was composed: repaint what it changed. Below the control
    // strip the gear moves everywhere; in the strip, behind the buttons and
    // bars, only the columns whose pixels changed are repainted, so the
    // controls there are not redrawn on every tick.
    void FrameChanged() {
        constexpr int kStrip = 138;
        const int w = std::min(width(), frame_.width());
        const int h = std::min(kStrip, frame_.height());
        if (w <= 0 || h <= 0) {
            update();
            return;
        }
        const auto size = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
        bool all = false;
        if (strip_.size() != size) { // first frame, or a new width
            strip_.assign(size, 0);
            all = true;
        }
        int lo = w, hi = -1;
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(frame_.constScanLine(y));
            std::uint32_t* old = strip_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
            const auto first = std::mismatch(row, row + w, old);
            if (first.first == row + w) continue;
            int last = w - 1;
            while (last > 0 && row[last] == old[last]) --last;
            lo = std::min(lo, static_cast<int>(first.first - row));
            hi = std::max(hi, last);
            std::copy(row, row + w, old);
        }
        if (all) {
            update();
            return;
        }
        if (hi >= lo) update(QRect(lo, 0, hi - lo + 1, h));
        update(QRect(0, h, width(), height() - h));
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        const QRect r = e->rect();
        p.drawImage(r.topLeft(), frame_, r);
        // Beyond the picture (a window larger than the picture) stays silver.
        const QRect beyond = r.intersected(QRect(QPoint(0, 0), frame_.size()));
        if (beyond != r) {
            const QRegion rest = QRegion(r).subtracted(QRegion(QRect(QPoint(0, 0), frame_.size())));
            for (const QRect& part : rest) p.fillRect(part, QColor(192, 192, 192));
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (press_) press_(e);
        QWidget::mousePressEvent(e);
    }
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (toolBar_) toolBar_->setGeometry(0, 0, width(), toolBar_->height());
    }

private:
    const QImage& frame_;
    QToolBar* toolBar_ = nullptr;
    std::function<void(QMouseEvent*)> press_;
    std::vector<std::uint32_t> strip_; // the control strip of the last frame shown
};

namespace {

const QColor kSilver(192, 192, 192);

QFont SansFont() { return UiFont(UiFace::Sans, 11); }

QFont SerifBoldFont(bool underline) { return UiFont(UiFace::Serif, 13, true, underline); }

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
    {"&SetUp", "SetUp", "SetP&anZoom On", "SetPanZoom", Command::SetPanZoom, false, false},
    {"&EditDimen", "EditDimen", "&FrameDimensions", "FrameDimensions", Command::FrameDimensions, false, true},
    {"&EditDimen", "EditDimen", "&CylinderDimensions", "CylinderDimensions", Command::CylinderDimensions, true, true},
    {"&EditDimen", "EditDimen", "Set&GraphicZoom", "GraphicZoom", Command::SetGraphicZoom, true, true},
    {"&EditDimen", "EditDimen", "&ResetAllDimensions", "ResetAllDimensions", Command::ResetAllDimensions, true, true},
    {"&EditDimen", "EditDimen", "&Balance Events...", "BalanceEvents", Command::BalanceEvents, false, true},
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

struct StepButtonRow {
    const char* name;
    const char* caption;
    int left, width;
    const char* hint;
    float step;
    int barPosition;
};

constexpr StepButtonRow kStepButtons[3] = {
    {"Step1", "1.0", 252, 25, "Set Driver Step Angle to 1 Deg", 1.0f, 8000},
    {"Step10", "10.0", 277, 29, "Set Driver Step Angle to 10 Deg", 10.0f, 12000},
    {"Step45", "45.0", 306, 29, "Set Driver Step Angle to 45 Deg", 45.0f, kStepBarMax},
};

} // namespace

TMainForm::TMainForm(int tickMs, QWidget* parent, std::unique_ptr<Clock> clock,
                     std::unique_ptr<Random> random, std::unique_ptr<Sound> sound)
    : QMainWindow(parent), model_(std::make_unique<GearState>()), clock_(std::move(clock)),
      random_(std::move(random)), sound_(std::move(sound)) {
    InitIconResources();
    InstallClassicBarKeys();
    if (!clock_) clock_ = std::make_unique<QtClock>();
    if (!random_) random_ = std::make_unique<ClockRandom>();
    if (!sound_) sound_ = std::make_unique<QtSound>([] { QApplication::beep(); });
    services_ = FrameServices{clock_.get(), random_.get(), sound_.get()};
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Vexlin"));
    setFont(SerifBoldFont(true));
    QToolTip::setFont(SansFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kSilver);
    pal.setColor(QPalette::Button, kSilver);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        pal.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
    pal.setColor(QPalette::Disabled, QPalette::Light, Qt::white);
    setPalette(pal);

    // The model: defaults, normal view, dimension defaults, mid-gear search.
    StartUp(*model_);

    canvas_.Clear(colors::kWhite);
    canvasWidget_ = new MainCanvasWidget(canvas_.Image(), this);
    canvasWidget_->setObjectName(QStringLiteral("MainCanvas"));
    canvasWidget_->setMinimumSize(kClientWidth, kClientHeight);
    setCentralWidget(canvasWidget_);

    BuildMenu();
    BuildToolBar();
    BuildControls();
    SetRevArmRange();
    displayOptions_ = std::make_unique<DisplayOptions>(*this, *model_, [this] {
        if (model_->dynVarDisplay) {
            ToggleDynVarDisplay(*model_);
            ShowDynVarControls();
        }
        refControls_->SetReferenceMode(false); // the pivot data display with it
    });
    sound_->SetWaveVolume(0x8000, 0x8000);
    refControls_ = new RefPointControls(this, canvasWidget_, *model_);
    refControls_->SetLocatorHook([this] { EndLocator(*model_); });
    DimensionFileCommands::Hooks fileHooks;
    fileHooks.open = [this](const std::string& path) { return OpenDesignFile(path); };
    fileHooks.overlayRefresh = [this] { windows_.drawLines->LinesDataClick(); };
    files_ = new DimensionFileCommands(this, *model_, std::move(fileHooks));
    pictures_ = new PictureExport(this);
    animations_ = new AnimationExport(this, *model_);
    reportExport_ = new ReportExport(this, *model_);
    canvasWidget_->SetPressHandler([this](QMouseEvent* e) {
        const PressButton b = e->button() == Qt::LeftButton    ? PressButton::Left
                              : e->button() == Qt::RightButton ? PressButton::Right
                                                               : PressButton::Other;
        const QPoint p = e->position().toPoint();
        refControls_->PicturePress(p.x(), p.y(), b);
    });

    const int menuHeight = menuBar()->sizeHint().height();
    resize(kClientWidth, kClientHeight + menuHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        // Centred by sizes: QRect::center() rounds towards the top left.
        move(avail.x() + (avail.width() - width()) / 2, avail.y() + (avail.height() - height()) / 2);
    }

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(tickMs > 0 ? tickMs : kDefaultTickMs);
    connect(timer_, &QTimer::timeout, this, &TMainForm::Tick);
    timer_->start();

    sbRevArm_->setFocus();
    CreateWindows();
}

void TMainForm::CreateWindows() {
    // One line per window, in the creation order of Windows.
    windows_.frameDi = new TFrameDi(*model_, EditorWindowHooks(), this);
    windows_.vexlinSpInst = new TVexlinSpInst(this);
    windows_.refPnts = new TRefPnts(*model_, *refControls_, this);
    windows_.revPos = new TRevPos(*model_, MotionDialogControls(), this);
    windows_.setRevArm = new TSetRevArm(*model_, this);
    windows_.drivAng = new TDrivAng(*model_, MotionDialogControls(), this);
    windows_.stpAng = new TStpAng(*model_, MotionDialogControls(), this);
    windows_.inst = new TInst(this);
    windows_.aboutBox = new TAboutBox(this);
    windows_.cylDimen = new TCylDimen(*model_, EditorWindowHooks(), this);
    windows_.graphZoom = new TGraphZoom(*model_, this);
    windows_.drawLines = new TDrawLines(*model_, *sound_, this);
    // A click on the picture hands the picked point back to it.
    refControls_->SetOverlayHooks(
        [this] {
            const auto& c = model_->overlayChoice;
            return OverlayPickQuery{c.type >= 0 && c.color >= 0, c.ref};
        },
        [this] { DrawLinesClick(); });
    windows_.dataTable = new TDataTable(*model_, *clock_, this);
    refControls_->SetDataTableHook([this] { windows_.dataTable->exec(); });
    windows_.sineDia = new TSineDia(MakeDiagramHost(), this);
    windows_.ovalDia = new TOvalDia(MakeDiagramHost(), this);
    windows_.steamDia = new TSteamDia(MakeDiagramHost(), this);
    windows_.portDia = new TPortDia(MakeDiagramHost(), this);
    windows_.eventsDia = new TEventsDia(MakeDiagramHost(), this);
    windows_.sensitivityDia = new TSensitivityDia(MakeDiagramHost(), this);
    windows_.toleranceDia = new TToleranceDia(MakeDiagramHost(), this);
    windows_.balance = new TBalanceEvents(*model_, EditorWindowHooks(), this);
}

DiagramHost TMainForm::MakeDiagramHost() {
    DiagramHost h;
    h.model = model_.get();
    h.setTimerRunning = [this](bool running) {
        if (running) timer_->start();
        else timer_->stop();
    };
    if (windows_.setRevArm != nullptr) h.showPositionsDialog = [this] { windows_.setRevArm->exec(); };
    h.syncMainControls = [this] {
        ShowDynVarControls();
        SyncUndoButton();
    };
    h.pictures = pictures_;
    return h;
}

// What the dimension editors change on this window.
EditorHooks TMainForm::EditorWindowHooks() {
    return {[this] { SetRevArmRange(); }, [this] { sbRevArm_->setValue(0); }, [this] { SyncUndoButton(); },
            [this](const QString& text) {
                QTimer::singleShot(0, this, [this, text] { QMessageBox::warning(this, QStringLiteral("Vexlin"), text); });
            }};
}

// The controls the value entry dialogs act through.
MotionControls TMainForm::MotionDialogControls() { return {[this] { RunClick(); }, sbDrvAng_, sbStepAng_, sbRevArm_}; }

void TMainForm::OpenDiagram(TDiagramWindow* w) {
    // Modal: returns when the window is closed; the window switches the
    // timer off while it is open and on again when it closes.
    if (w != nullptr) w->exec();
}

TMainForm::~TMainForm() { timer_->stop(); }

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
        connect(s, &QScrollBar::valueChanged, this, [this, i](int p) { JogBarChange(i, p); });
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

// ---------------------------------------------------------------------------
// The tick.

void TMainForm::Tick() {
    TickModel(*model_);
    auto* frameDi = static_cast<DimensionEditor*>(windows_.frameDi);
    auto* cylDimen = static_cast<DimensionEditor*>(windows_.cylDimen);
    LocatorBeforeFrame(*model_, frameDi, cylDimen, this);
    ComposeFrame(*model_, canvas_, services_);
    LocatorAfterFrame(*model_, frameDi, cylDimen, this);
    // The windows of each caption, in WindowKind order.
    displayOptions_->ApplyFrameEffects(std::array<QWidget*, kCaptionWindows>{
        this, windows_.sineDia, windows_.ovalDia, windows_.steamDia, windows_.portDia, windows_.dataTable,
        windows_.frameDi, windows_.cylDimen});
    canvasWidget_->FrameChanged();
}

bool TMainForm::event(QEvent* e) {
    // Every activation of the window (at start, and whenever a dialog closes)
    // leaves the driver angle bar disabled until a motion button enables it.
    if (e->type() == QEvent::WindowActivate && sbDrvAng_ != nullptr) sbDrvAng_->setEnabled(false);
    return QMainWindow::event(e);
}

void TMainForm::closeEvent(QCloseEvent* e) {
    timer_->stop();
    sound_->SetWaveVolume(0x8000, 0x8000);
    e->accept();
}

// ---------------------------------------------------------------------------
// Motion controls.

void TMainForm::SetRevArmRange() {
    const int limit = RevArmBarLimit(*model_);
    sbRevArm_->setRange(-limit, limit);
}

void TMainForm::EmptyCutOffTexts() {
    model_->frontCutOffText.clear();
    model_->rearCutOffText.clear();
}

void TMainForm::SBRevArmChange(int position) {
    GearState& g = *model_;
    ApplyRevArmBar(g, position);
    const float norm = g.frame.revArmToCentNorm;
    const float fullFwd = g.revArm.centre - norm;
    const float fullRev = g.revArm.centre + norm;
    center_->setEnabled(position != 0);
    fwd_->setEnabled(!(g.motion.reverseArmPosition == fullFwd));
    rev_->setEnabled(!(g.motion.reverseArmPosition == fullRev));
    EmptyCutOffTexts();
}

void TMainForm::FwdRevClick(bool forward) {
    GearState& g = *model_;
    const double max = g.frame.revArmToCentMax;
    const double norm = g.frame.revArmToCentNorm;
    const int end = forward ? sbRevArm_->maximum() : sbRevArm_->minimum();
    const int p = max != 0 ? Nearest(norm * end / max) : 0;
    sbRevArm_->setValue(p);
    // The bar may already have stood there: apply the position in any case.
    ApplyRevArmBar(g, sbRevArm_->value());
    fwd_->setEnabled(!forward);
    rev_->setEnabled(forward);
    center_->setEnabled(true);
    EmptyCutOffTexts();
}

void TMainForm::CenterClick() {
    GearState& g = *model_;
    sbRevArm_->setValue(0);
    g.motion.reverseArmPosition = g.revArm.centre;
    fwd_->setEnabled(true);
    rev_->setEnabled(true);
    center_->setEnabled(false);
    EmptyCutOffTexts();
}

void TMainForm::SBDrvAngChange(int position) {
    model_->motion.driverAngle = static_cast<float>(position / 100.0);
    deg180_->setEnabled(true);
    deg00_->setEnabled(true);
}

void TMainForm::RunClick() {
    MotionState& m = model_->motion;
    if (!m.running) {
        m.tickStep = m.selectedStep;
        sbDrvAng_->setEnabled(false);
        m.running = true;
        run_->setText(QStringLiteral("Stop"));
    } else {
        // Through the bar, which rounds the angle to 0.01 degree.
        sbDrvAng_->setValue(Nearest(static_cast<double>(m.driverAngle) * 100));
        m.tickStep = 0;
        sbDrvAng_->setEnabled(true);
        m.running = false;
        run_->setText(QStringLiteral("Run"));
    }
    deg00_->setEnabled(true);
    deg180_->setEnabled(true);
}

void TMainForm::DegClick(bool half) {
    MotionState& m = model_->motion;
    m.driverAngle = half ? 180.0f : 0.0f;
    sbDrvAng_->setValue(half ? 18000 : 0);
    m.tickStep = 0;
    sbDrvAng_->setEnabled(true);
    m.running = false;
    run_->setText(QStringLiteral("Run"));
    deg180_->setEnabled(!half);
    deg00_->setEnabled(half);
}

void TMainForm::SBStepAngChange(int position) {
    MotionState& m = model_->motion;
    if (m.stepBarArmed) {
        const StepAngleRow row = StepAngleForPosition(position);
        sbDrvAng_->setSingleStep(row.smallChange);
        sbDrvAng_->setPageStep(row.largeChange);
        m.selectedStep = row.step;
        if (m.running) m.tickStep = m.selectedStep;
    } else {
        m.stepBarArmed = true;
    }
    UpdateStepButtons();
}

void TMainForm::UpdateStepButtons() {
    const float selected = model_->motion.selectedStep;
    for (int i = 0; i < 3; ++i)
        stepButtons_[static_cast<std::size_t>(i)]->setEnabled(selected != kStepButtons[i].step);
}

void TMainForm::StepClick(int index) {
    const StepButtonRow& r = kStepButtons[index];
    MotionState& m = model_->motion;
    stepButtons_[static_cast<std::size_t>(index)]->setEnabled(false);
    m.selectedStep = r.step;
    if (m.running) m.tickStep = m.selectedStep;
    sbStepAng_->setValue(r.barPosition);
}

// ---------------------------------------------------------------------------
// View controls.

void TMainForm::JogBarChange(int index, int position) {
    GearState& g = *model_;
    normVHZ_->setEnabled(true);
    JogMemory& memory = index == 0 ? g.panVertJog : index == 1 ? g.panHorzJog : g.zoomJog;
    const double d = JogStep(memory, position, kPanZoomJog);
    ViewTransform& v = g.view;
    switch (index) {
    case 0: v.panVert = static_cast<float>(v.panVert - d); break;
    case 1: v.panHorz = static_cast<float>(v.panHorz + d); break;
    default: ApplyZoomStep(v, d); break;
    }
    // The bar rests at 0; putting it back runs this handler once more with 0.
    jogBars_[static_cast<std::size_t>(index)]->setValue(0);
}

void TMainForm::NormVHZClick() {
    GearState& g = *model_;
    jogBars_[0]->setValue(0);
    g.view.panVert = g.normalView.panVert;
    jogBars_[1]->setValue(0);
    g.view.panHorz = g.normalView.panHorz;
    jogBars_[2]->setValue(0);
    g.view.zoom = g.normalView.zoom;
    normVHZ_->setEnabled(false);
    presetStaged_ = false;
    presets_[0]->setEnabled(true);
}

void TMainForm::PresetClick(int k) {
    GearState& g = *model_;
    if (k == 0) {
        g.viewPresets[0] = g.view;
        presetStaged_ = true;
        presets_[0]->setEnabled(false);
        normVHZ_->setEnabled(true);
        return;
    }
    const auto slot = static_cast<std::size_t>(k);
    if (presetStaged_) g.viewPresets[slot] = g.viewPresets[0];
    g.view = g.viewPresets[slot];
    normVHZ_->setEnabled(true);
    presetStaged_ = false;
    presets_[0]->setEnabled(true);
}

void TMainForm::SetPanZoomClick() {
    const bool showing = setPanZoom_->text() == QStringLiteral("SetP&anZoom Off");
    setPanZoom_->setText(showing ? QStringLiteral("SetP&anZoom On") : QStringLiteral("SetP&anZoom Off"));
    for (QScrollBar* s : jogBars_) s->setVisible(!showing);
}

// ---------------------------------------------------------------------------
// Dynamic variables and undo.

void TMainForm::DynVarGestureEnd() {
    SyncUndoButton();
    unDoDn_->setEnabled(true);
    sbRevArm_->setFocus();
}

void TMainForm::UnDoDnClick() {
    GearState& g = *model_;
    if (g.undo[1].id > 0) {
        UndoChange(g);
        SyncUndoButton();
    } else {
        g.undoButtonEnabled[0] = false;
        unDoDn_->setEnabled(false);
    }
}

void TMainForm::SyncUndoButton() { unDoDn_->setEnabled(model_->undoButtonEnabled[0]); }

void TMainForm::ShowDynVarControls() {
    const bool on = model_->dynVarDisplay;
    dynVarBars_->SetVisible(on);
    for (int i : {7, 8, 9}) panels_[static_cast<std::size_t>(i)]->setVisible(on);
    // The undo button shows with the undo line, which needs the screen data.
    unDoDn_->setVisible(on && model_->screenDataOn);
}

// ---------------------------------------------------------------------------
// Menu and tool bar.

void TMainForm::CalcCentRevArm() {
    // A search that does not settle keeps the previous mid gear and raises
    // the geometry error, which the error indicator reports.
    FindMidGear(*model_);
    CenterClick();
}

void TMainForm::ResetAllDimensions() {
    FullReset(*model_);
    SetRevArmRange();
    CenterClick();
    NormVHZClick();
    ShowDynVarControls();
    SyncUndoButton();
}

void TMainForm::DrawLinesClick() {
    if (windows_.drawLines->isVisible()) return;
    if (RefPointsAtOrigin(*model_)) sound_->Beep();
    windows_.drawLines->exec();
}

void TMainForm::RunCommand(Command c) {
    switch (c) {
    case Command::Exit: close(); break;
    case Command::CalcCentRevArm: CalcCentRevArm(); break;
    case Command::SetPanZoom: SetPanZoomClick(); break;
    case Command::ResetAllDimensions: ResetAllDimensions(); break;
    case Command::SetSteam: displayOptions_->SetSteamClick(); break;
    case Command::SetErrorBeep: displayOptions_->SetErrorBeepClick(); break;
    case Command::SetLineWidth: displayOptions_->SetLineWidthClick(); break;
    case Command::SetLargeFont: displayOptions_->LargeFontClick(); break;
    case Command::SetScreenData: displayOptions_->SetScreenDataClick(); break;
    case Command::OpenDimensions: files_->OpenDimensions(); break;
    case Command::SaveAsDimensions: files_->SaveAsDimensions(); break;
    case Command::ExportPicture: pictures_->Export(this, MainWindowPicture(*model_)); break;
    case Command::ExportAnimation: animations_->Export(); break;
    case Command::ReferPoints: refControls_->ToggleReferencePoints(); break;
    case Command::PivotData: refControls_->TogglePivotData(); break;
    case Command::SetRefPoints: windows_.refPnts->exec(); break;
    case Command::SetRevArmPos: windows_.revPos->exec(); break;
    case Command::SetDriverAng: windows_.drivAng->exec(); break;
    case Command::SetStepAng: windows_.stpAng->exec(); break;
    case Command::FrameDimensions: windows_.frameDi->exec(); break;
    case Command::CylinderDimensions: windows_.cylDimen->exec(); break;
    case Command::SetGraphicZoom: windows_.graphZoom->exec(); break;
    case Command::BalanceEvents: windows_.balance->exec(); break;
    case Command::DrawLinesCircles: DrawLinesClick(); break;
    case Command::DynamicVari:
        ToggleDynVarDisplay(*model_);
        ShowDynVarControls();
        break;
    case Command::SineDiagram: OpenDiagram(windows_.sineDia); break;
    case Command::OvalDiagram: OpenDiagram(windows_.ovalDia); break;
    case Command::SteamDiagram: OpenDiagram(windows_.steamDia); break;
    case Command::PortOpenClose: OpenDiagram(windows_.portDia); break;
    case Command::ValveEvents: OpenDiagram(windows_.eventsDia); break;
    case Command::Sensitivity: OpenDiagram(windows_.sensitivityDia); break;
    case Command::Tolerance: OpenDiagram(windows_.toleranceDia); break;
    case Command::ExportReport: reportExport_->ExportReport(); break;
    case Command::Instructions: windows_.inst->exec(); break;
    case Command::InstructionsSpecial: windows_.vexlinSpInst->exec(); break;
    case Command::About: windows_.aboutBox->exec(); break;
    default:
        // Commands whose windows are not part of this window yet.
        break;
    }
}

} // namespace vx
