// The main window: the animated picture of the gear, the motion controls
// (reverse arm, driver angle, step angle), the view controls (pan, zoom,
// presets), the dynamic-variable bars, the main menu and the tool bar.
//
// The window owns the one process-wide model, created and started when the
// window is created. Every control is reachable by its object name
// ("SBRevArm", "Run", "Preset3", ...), which the tests use.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

#include "gui/editors/dimension_editor_dialog.h"
#include "gui/main/value_entry_dialog.h"
#include "model/state/gear_state.h"
#include "model/workspace/motion.h"
#include "model/workspace/view.h"
#include "scene/frame/frame_renderer.h"
#include "platform/clock.h"
#include "platform/qt/qt_image_canvas.h"
#include "platform/random.h"
#include "platform/sound.h"

class QAction;
class QDialog;
class QFrame;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;
class QToolBar;

namespace vx {

class DynVarBars;
class ReportExport;
class TDiagramWindow;
struct DiagramHost;
class DisplayOptions;
class MainCanvasWidget;
struct FileResult;
class RefPointControls;
class DimensionFileCommands;
class PictureExport;
class AnimationExport;
class TAboutBox;
class TBalanceEvents;
class TSetValves;
class TCylDimen;
class TDataTable;
class TDrawLines;
class TDrivAng;
class TEventsDia;
class TWorkDia;
class TFrameDi;
class TGraphZoom;
class TInst;
class TOvalDia;
class TPortDia;
class TRefPnts;
class TRevPos;
class TSetRevArm;
class TSensitivityDia;
class TSineDia;
class TSteamDia;
class TToleranceDia;
class TStpAng;
class TVexlinSpInst;

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 380;
    static constexpr int kDefaultTickMs = 16;

    // Menu and tool bar commands. One table row per menu item and tool bar
    // button names its command; one dispatcher runs them.
    enum class Command {
        OpenDimensions,
        SaveAsDimensions,
        ExportPicture,
        ExportAnimation,
        Exit,
        SetRevArmPos,
        SetDriverAng,
        SetStepAng,
        SetRefPoints,
        SetLargeFont,
        AnalysisSettings,
        CalcCentRevArm,
        SetSteam,
        SetErrorBeep,
        SetLineWidth,
        SetScreenData,
        SetPanZoom,
        FrameDimensions,
        CylinderDimensions,
        SetGraphicZoom,
        ResetAllDimensions,
        BalanceEvents,
        SetValves,
        ReferPoints,
        DrawLinesCircles,
        PivotData,
        DynamicVari,
        SineDiagram,
        OvalDiagram,
        SteamDiagram,
        PortOpenClose,
        ValveEvents,
        Sensitivity,
        Tolerance,
        Work,
        ExportReport,
        Instructions,
        InstructionsSpecial,
        About,
    };

    // The platform seams default to the system clock, a clock-seeded
    // generator and Qt Multimedia; tests pass their own.
    explicit TMainForm(int tickMs = kDefaultTickMs, QWidget* parent = nullptr,
                       std::unique_ptr<Clock> clock = nullptr, std::unique_ptr<Random> random = nullptr,
                       std::unique_ptr<Sound> sound = nullptr);
    ~TMainForm() override;

    GearState& Model() { return *model_; }
    const GearState& Model() const { return *model_; }

    // One animation tick: model work, frame composition, repaint request.
    void Tick();
    const QImage& Frame() const { return canvas_.Image(); }

    // Runs a menu or tool bar command.
    void RunCommand(Command c);

    // Sets the reverse arm bar's range from revArmToCentMax; every writer of
    // that dimension calls it.
    void SetRevArmRange();

    // Opens a design file into the model and brings the controls in step
    // (the file on the command line; the same as the File menu's open).
    FileResult OpenDesignFile(const std::string& path);

    // Button actions that other windows also run ("Cen" after a mid-gear
    // search, "Norm" after a full reset).
    void CenterClick();
    void NormVHZClick();

    // "&DrawLinesCircles": beeps first when both reference points are at
    // 0, 0, then shows the lines and circles dialog and waits for it. A click
    // that hands a picked pivot back to that dialog runs it too.
    void DrawLinesClick();
    TDrawLines& DrawLines() { return *windows_.drawLines; }

    // The reference point controls and the picture's mouse-press dispatcher.
    RefPointControls& RefControls() { return *refControls_; }
    // "&OpenDimensions" and "Save&AsDimensions".
    DimensionFileCommands& Files() { return *files_; }
    ReportExport& Report() { return *reportExport_; }

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildControls();
    void BuildMenu();
    void BuildToolBar();
    QPushButton* MakeButton(const char* name, const char* caption, int left, int top, int width,
                            int height, const char* hint, bool enabled);
    QScrollBar* MakeBar(const char* name, int left, int top, int width, int height, int min,
                        int max, int small, int large, int position, const char* hint);

    // Motion controls.
    void SBRevArmChange(int position);
    void SetRevArmButtons(const RevArmButtons& b);
    void FwdRevClick(bool forward);
    void SBDrvAngChange(int position);
    void RunClick();
    // The Run button's caption and the driver angle bar follow motion.running.
    void SyncRunButton();
    void DegClick(bool half);
    void SBStepAngChange(int position);
    void StepClick(int index);
    void UpdateStepButtons();

    // View controls.
    void JogBarChange(JogAxis axis, int position);
    void PresetClick(int k);
    void SetPanZoomClick();
    // SetScreenData, with the SetPanZoom item it enables and resets.
    void SetScreenDataClick();

    // Dynamic variables and undo.
    void DynVarGestureEnd();
    void UnDoDnClick();
    void ShowDynVarControls();
    void SyncUndoButton();

    void CalcCentRevArm();
    void ResetAllDimensions();

    // The program's other windows, each created once at start-up, right
    // after the main window, in this order; shown and hidden afterwards.
    void CreateWindows();
    EditorHooks EditorWindowHooks();
    MotionControls MotionDialogControls();
    // What the diagram windows need of this window: the timer, the
    // positions dialog, the dynamic-variable controls kept in step.
    DiagramHost MakeDiagramHost();
    void OpenDiagram(TDiagramWindow* w);
    struct Windows {
        TFrameDi* frameDi = nullptr;
        TVexlinSpInst* vexlinSpInst = nullptr;
        TRefPnts* refPnts = nullptr;
        TRevPos* revPos = nullptr;
        TSetRevArm* setRevArm = nullptr;
        TDrivAng* drivAng = nullptr;
        TStpAng* stpAng = nullptr;
        TInst* inst = nullptr;
        TAboutBox* aboutBox = nullptr;
        TCylDimen* cylDimen = nullptr;
        TGraphZoom* graphZoom = nullptr;
        TDrawLines* drawLines = nullptr;
        TDataTable* dataTable = nullptr;
        TSineDia* sineDia = nullptr;
        TOvalDia* ovalDia = nullptr;
        TSteamDia* steamDia = nullptr;
        TPortDia* portDia = nullptr;
        TEventsDia* eventsDia = nullptr;
        TSensitivityDia* sensitivityDia = nullptr;
        TToleranceDia* toleranceDia = nullptr;
        TWorkDia* workDia = nullptr;
        TBalanceEvents* balance = nullptr;
        TSetValves* setValves = nullptr;
    } windows_;

    std::unique_ptr<GearState> model_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<Random> random_;
    std::unique_ptr<Sound> sound_;
    FrameServices services_;
    QImageCanvas canvas_{1280, 1024};
    MainCanvasWidget* canvasWidget_ = nullptr;
    QTimer* timer_ = nullptr;
    QToolBar* toolBar_ = nullptr;

    QScrollBar* sbRevArm_ = nullptr;
    QScrollBar* sbDrvAng_ = nullptr;
    QScrollBar* sbStepAng_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* center_ = nullptr;
    QPushButton* rev_ = nullptr;
    QPushButton* fwd_ = nullptr;
    QPushButton* deg180_ = nullptr;
    QPushButton* deg00_ = nullptr;
    std::array<QPushButton*, kStepPresets.size()> stepButtons_{};

    std::array<QScrollBar*, 3> jogBars_{};
    QPushButton* normVHZ_ = nullptr;
    std::array<QPushButton*, kPresetCount> presets_{};
    ViewControlState viewControls_; // "P" staged; what SetPanZoom last did

    DynVarBars* dynVarBars_ = nullptr;
    QPushButton* unDoDn_ = nullptr;
    std::array<QFrame*, 13> panels_{}; // Panel1..Panel12

    QAction* setPanZoom_ = nullptr;

    // Display options and the frame's effects on the controls.
    std::unique_ptr<DisplayOptions> displayOptions_;
    RefPointControls* refControls_ = nullptr;
    DimensionFileCommands* files_ = nullptr;
    // "Export &Picture..." (also the diagrams') and "Export &Animation...".
    PictureExport* pictures_ = nullptr;
    AnimationExport* animations_ = nullptr;
    ReportExport* reportExport_ = nullptr;
};

} // namespace vx
