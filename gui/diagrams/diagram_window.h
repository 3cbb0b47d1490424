// The behaviour the four diagram windows (sine, oval, steam, port events)
// share: a modal tool window of a fixed client size with its menu, "Close"
// button, four dynamic-variable bars and "UnDo" button; the activation flow
// (main window's timer off, reverse arm positions dialog, clear and draw);
// the redraw on a mouse move after the positions dialog closed; the menu
// commands; the bars (the main window's code and bar history) and UnDo; the
// timer back on when the window closes.
//
// The diagram is drawn into an image the window owns and the window paints
// that image, so a diagram that another window covered is still there when
// it is uncovered. Redraws asked for while a bar moves are coalesced: the
// model takes every step at once, the picture shows the newest state.
//
// A diagram window derives from TDiagramWindow, passes its Layout and
// implements DrawDiagram (one call of its scene drawing). The port events
// window overrides Activate, Redraw, GestureRedraw and RunMenuCommand.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <span>

#include "model/state/gear_state.h"
#include "platform/qt/qt_image_canvas.h"

class QMenuBar;
class QPushButton;

namespace vx {

class DynVarBars;
class PictureExport;
class DiagramCanvasWidget;

// What a diagram window needs of the main window.
struct DiagramHost {
    GearState* model = nullptr;
    // Switches the main window's animation timer Timer1 on or off.
    std::function<void(bool running)> setTimerRunning;
    // Shows the reverse arm positions dialog and returns when it is closed
    // (the dialog refreshes positionCount and sets diagramRedrawPending).
    // Empty: the window takes the list as it stands (see TakePositionList).
    std::function<void()> showPositionsDialog;
    // Brings the main window's dynamic-variable bars, panels and UnDoDn in
    // step with the model (display flags, undo button states).
    std::function<void()> syncMainControls;
    // "Export &Picture..." of the picture's context menu (none when null).
    PictureExport* pictures = nullptr;
};

// Without a positions dialog: positionCount := the used prefix of the list
// (as the dialog's refresh leaves it), and the redraw flag set as the
// dialog's closing sets it.
void TakePositionList(GearState& g);

class TDiagramWindow : public QDialog {
    Q_OBJECT

public:
    enum class MenuCommand { SetRevArmPos, ReDraw, DynVari, ForwardGraph, ReverseGraph, BothGraphs, Copy, Thresholds };

    // One menu item. A row with a submenu caption goes into that drop-down
    // menu; a row without one is an item of the menu bar itself.
    struct MenuRow {
        const char* submenu; // e.g. "SetUp", or nullptr
        const char* caption;
        const char* name; // object name of the action
        MenuCommand command;
    };

    struct Layout {
        const char* objectName; // "SineDia"
        int clientWidth;
        int clientHeight;
        const char* menuName; // "MainMenuSine"
        std::span<const MenuRow> menu;
        const char* closeName; // "CloseSin"
        int closeLeft, closeTop;
        const char* barPrefix;  // "SBDynVarS" -> SBDynVarS1..4
        const char* undoName;   // "UnDoDnS"
        int undoButtonIndex;    // this window's entry in GearState::undoButtonEnabled (1..5)
        int undoRedraws;        // clear-and-draw passes after UnDo
        bool asksPositions;     // activation shows the positions dialog
        bool redrawOnMouseMove; // redraw on a mouse move while diagramRedrawPending
        bool keepsLastPosition = false; // a valve diagram of the positions list: sine, oval, steam
        // The port events window: the bars closer together and UnDo left of
        // them, all above its grid (DynVarBlockLayout::PortGraph).
        bool controlsAboveGrid = false;
    };

    TDiagramWindow(const DiagramHost& host, const Layout& layout, QWidget* parent = nullptr);
    ~TDiagramWindow() override;

    GearState& Model() { return *host_.model; }
    const GearState& Model() const { return *host_.model; }
    // The picture as last drawn.
    const QImage& Picture() const { return canvas_.Image(); }
    // Drawing passes so far (each clear-and-draw or draw counts one).
    int DrawCount() const { return drawCount_; }
    // The model as it was when the picture was last cleared, before the
    // drawing on it: what the picture export draws from. Null before the
    // first drawing.
    const GearState* PicturedState() const { return pictured_.get(); }

    // Closing, however it is done, switches the main window's timer on.
    void done(int r) override;
    // Showing takes the text scale: at the large font the window, its
    // controls and its picture are the default ones, larger.
    void setVisible(bool visible) override;

protected:
    // The window's one drawing operation onto its picture.
    virtual void DrawDiagram(Canvas& c) = 0;
    // The window's caption.
    virtual QString Caption() const = 0;
    // The caption the main window's last frame composed for this kind of
    // window (its timer is off while a diagram is open).
    QString CaptionOf(WindowKind kind) const;

    // Activation, once per opening: timer off, positions dialog, clear and
    // draw.
    virtual void Activate();
    // "Clear and draw" of ReDraw, the dynamic-variable command, a bar change
    // and UnDo.
    virtual void Redraw();
    // The drawing at the end of a bar gesture: draw without clearing.
    virtual void GestureRedraw();
    virtual void RunMenuCommand(MenuCommand c);

    void StopMainTimer();
    void AskPositions();
    void ClearAndDraw();
    void DrawOnly();
    void ClearPicture();
    // A point of the window's client area in the picture's default layout.
    QPointF LayoutPoint(QPointF client) const { return {client.x() / scaleX_, client.y() / scaleY_}; }

    void showEvent(QShowEvent* e) override;

private:
    friend class DiagramCanvasWidget;
    void FormMouseMove();
    // Draws a positions list changed since the last picture, once.
    void DrawChangedList();
    void BarChanged();
    void BarGestureEnd();
    void UnDoClick();
    // After an undo or redo by key: redrawn as after UnDo, if it changed anything.
    void StepThroughUndo(bool changed);
    void DynVariClick();
    void ApplyControlStates();
    void SyncMain();
    void BuildMenu();
    // The window at the model's text scale (nothing when it has it).
    void ApplyTextScale();

    DiagramHost host_;
    Layout layout_;
    QImageCanvas canvas_;
    DiagramCanvasWidget* canvasWidget_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* undo_ = nullptr;
    DynVarBars* bars_ = nullptr;
    float scaleX_ = 1, scaleY_ = 1; // the text scale the window is at
    bool open_ = false;          // between showing and closing
    bool redrawQueued_ = false;  // a coalesced redraw is on its way
    int drawCount_ = 0;
    std::unique_ptr<GearState> pictured_;
};

} // namespace vx
