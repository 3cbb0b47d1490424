// The main window: its construction, the program's other windows, the
// tick, and what the controls and commands do. The controls' tables and
// layout are in main_controls.cpp, the picture widget in
// main_canvas_widget.cpp; the motion and view rules are the model's.
#include "gui/main/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include "data/overlay.h"
#include "gui/controls/analysis_settings.h"
#include "gui/controls/animation_export_dialog.h"
#include "gui/controls/classic_bar_keys.h"
#include "gui/controls/control_scale.h"
#include "gui/controls/dyn_var_bars.h"
#include "gui/controls/picture_export_dialog.h"
#include "gui/controls/report_export_dialog.h"
#include "gui/controls/undo_keys.h"
#include "gui/diagrams/oval_window.h"
#include "gui/diagrams/port_window.h"
#include "gui/diagrams/sine_window.h"
#include "gui/diagrams/steam_window.h"
#include "gui/diagrams/sensitivity_window.h"
#include "gui/diagrams/tolerance_window.h"
#include "gui/diagrams/valve_events_window.h"
#include "gui/diagrams/work_window.h"
#include "gui/editors/balance_events_dialog.h"
#include "gui/editors/set_valves_dialog.h"
#include "gui/editors/cylinder_dimensions_dialog.h"
#include "gui/editors/frame_dimensions_dialog.h"
#include "gui/editors/graph_zoom_dialog.h"
#include "gui/editors/set_rev_arm_dialog.h"
#include "gui/help/about_box_dialog.h"
#include "gui/help/instruction_dialog.h"
#include "gui/main/dimension_file_dialog.h"
#include "gui/main/display_options.h"
#include "gui/main/draw_lines_dialog.h"
#include "gui/main/main_canvas_widget.h"
#include "gui/main/main_window_style.h"
#include "gui/main/pivot_table_window.h"
#include "gui/main/ref_pnts_dialog.h"
#include "gui/main/reference_point_controls.h"
#include "gui/main/value_entry_dialog.h"
#include "model/workspace/defaults.h"
#include "model/workspace/dynvar.h"
#include "model/gear/midgear.h"
#include "model/workspace/motion.h"
#include "model/workspace/undo_redo.h"
#include "model/workspace/view.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_sound.h"
#include "scene/frame/dimension_locator_layer.h"
#include "scene/frame/frame_renderer.h"
#include "model/workspace/frame_advance.h"
#include "model/workspace/window_captions.h"

// The icons are compiled into this library; register them by hand, since a
// static library's resource object is otherwise left out by the linker.
static void InitIconResources() { Q_INIT_RESOURCE(resources); }

namespace vx {

TMainForm::TMainForm(int tickMs, QWidget* parent, std::unique_ptr<Clock> clock,
                     std::unique_ptr<Random> random, std::unique_ptr<Sound> sound)
    : QMainWindow(parent), model_(std::make_unique<GearState>()), clock_(std::move(clock)),
      random_(std::move(random)), sound_(std::move(sound)) {
    InitIconResources();
    InstallClassicBarKeys();
    if (!clock_) clock_ = std::make_unique<QtClock>();
    if (!random_) random_ = std::make_unique<ClockRandom>();
    if (!sound_) sound_ = std::make_unique<QtSound>([] { QApplication::beep(); });
    services_ = FrameServices{random_.get()};
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Vexlin"));
    setFont(SerifBoldFont(true));
    QToolTip::setFont(SansFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kMainSilver);
    pal.setColor(QPalette::Button, kMainSilver);
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
    windows_.workDia = new TWorkDia(MakeDiagramHost(), this);
    windows_.balance = new TBalanceEvents(*model_, EditorWindowHooks(), this);
    windows_.setValves = new TSetValves(*model_, EditorWindowHooks(), this);
    reportExport_->valveSetting = [this] { return windows_.setValves->ReportText(); };
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

// ---------------------------------------------------------------------------
// The tick.

void TMainForm::Tick() {
    GearState& g = *model_;
    LocatorBeforeFrame(g, windows_.frameDi, windows_.cylDimen, this);
    const FrameSounds sounds = AdvanceFrame(g);
    SetWindowCaptions(g, g.designName, clock_->ShortDate(), clock_->LongTime());
    ComposeFrame(g, canvas_, services_);
    PlayFrameSounds(sounds.Items(), *sound_);
    LocatorAfterFrame(g, windows_.frameDi, windows_.cylDimen, this);
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

void TMainForm::SBRevArmChange(int position) {
    GearState& g = *model_;
    ApplyRevArmBar(g, position);
    SetRevArmButtons(RevArmButtonsAt(g, position));
}

void TMainForm::SetRevArmButtons(const RevArmButtons& b) {
    center_->setEnabled(b.centre);
    fwd_->setEnabled(b.forward);
    rev_->setEnabled(b.reverse);
}

void TMainForm::FwdRevClick(bool forward) {
    GearState& g = *model_;
    sbRevArm_->setValue(NormalRevArmBarPosition(g, forward ? sbRevArm_->maximum() : sbRevArm_->minimum()));
    // The bar may already have stood there: apply the position in any case.
    ApplyRevArmBar(g, sbRevArm_->value());
    RevArmButtons b;
    b.forward = !forward;
    b.reverse = forward;
    SetRevArmButtons(b);
}

void TMainForm::CenterClick() {
    sbRevArm_->setValue(0);
    CentreReverseArm(*model_);
    RevArmButtons b;
    b.centre = false;
    SetRevArmButtons(b);
}

void TMainForm::SBDrvAngChange(int position) {
    model_->motion.driverAngle = static_cast<float>(position / 100.0);
    deg180_->setEnabled(true);
    deg00_->setEnabled(true);
}

void TMainForm::SyncRunButton() {
    const bool running = model_->motion.running;
    run_->setText(running ? QStringLiteral("Stop") : QStringLiteral("Run"));
    // The driver angle bar is for a driver that stands still.
    sbDrvAng_->setEnabled(!running);
}

void TMainForm::RunClick() {
    // Stopped: through the bar, which rounds the angle to 0.01 degree.
    if (!ToggleRunning(model_->motion)) sbDrvAng_->setValue(DriverAngleBarPosition(model_->motion.driverAngle));
    SyncRunButton();
    deg00_->setEnabled(true);
    deg180_->setEnabled(true);
}

void TMainForm::DegClick(bool half) {
    MotionState& m = model_->motion;
    StandAtHalfTurn(m, half);
    sbDrvAng_->setValue(DriverAngleBarPosition(m.driverAngle));
    SyncRunButton();
    deg180_->setEnabled(!half);
    deg00_->setEnabled(half);
}

void TMainForm::SBStepAngChange(int position) {
    if (const std::optional<StepAngleRow> row = ApplyStepBar(model_->motion, position)) {
        sbDrvAng_->setSingleStep(row->smallChange);
        sbDrvAng_->setPageStep(row->largeChange);
    }
    UpdateStepButtons();
}

void TMainForm::UpdateStepButtons() {
    for (std::size_t i = 0; i < stepButtons_.size(); ++i)
        stepButtons_[i]->setEnabled(StepPresetEnabled(model_->motion, static_cast<int>(i)));
}

void TMainForm::StepClick(int index) {
    stepButtons_[static_cast<std::size_t>(index)]->setEnabled(false);
    sbStepAng_->setValue(SelectStepPreset(model_->motion, index));
}

// ---------------------------------------------------------------------------
// View controls.

void TMainForm::JogBarChange(JogAxis axis, int position) {
    normVHZ_->setEnabled(true);
    ApplyViewJog(*model_, axis, position);
    // The bar rests at 0; putting it back runs this handler once more with 0.
    jogBars_[static_cast<std::size_t>(axis)]->setValue(0);
}

void TMainForm::NormVHZClick() {
    for (QScrollBar* s : jogBars_) s->setValue(0);
    NormalView(*model_, viewControls_);
    normVHZ_->setEnabled(false);
    presets_[0]->setEnabled(true);
}

void TMainForm::PresetClick(int k) {
    PressPreset(*model_, viewControls_, k);
    normVHZ_->setEnabled(true);
    presets_[0]->setEnabled(!viewControls_.presetStaged);
}

void TMainForm::SetPanZoomClick() {
    const bool shown = TogglePanZoomBars(viewControls_);
    setPanZoom_->setText(shown ? QStringLiteral("SetP&anZoom Off") : QStringLiteral("SetP&anZoom On"));
    for (QScrollBar* s : jogBars_) s->setVisible(shown);
}

void TMainForm::SetScreenDataClick() {
    displayOptions_->SetScreenDataClick();
    if (model_->screenDataOn) {
        // The screen data shows the bars itself; the item offers to show them.
        ResetPanZoomItem(viewControls_);
        setPanZoom_->setEnabled(false);
        setPanZoom_->setText(QStringLiteral("Set&PanZoom On"));
    } else {
        setPanZoom_->setEnabled(true);
    }
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
    case Command::AnalysisSettings: {
        AnalysisSettingsDialog d(this);
        // At the window's font, as its other dialogs.
        ScaleControls(&d, SaneTextScale(model_->textScaleX), SaneTextScale(model_->textScaleY));
        d.exec();
        break;
    }
    case Command::SetScreenData: SetScreenDataClick(); break;
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
    case Command::SetValves: windows_.setValves->exec(); break;
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
    case Command::Work: OpenDiagram(windows_.workDia); break;
    case Command::ExportReport: reportExport_->ExportReport(); break;
    case Command::Instructions: windows_.inst->exec(); break;
    case Command::InstructionsSpecial: windows_.vexlinSpInst->exec(); break;
    case Command::About: windows_.aboutBox->exec(); break;
    }
}

} // namespace vx
