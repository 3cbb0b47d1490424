#include "gui/diagrams/diagram_window.h"
#include "platform/qt/qt_fonts.h"

#include <QAction>
#include <algorithm>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "scene/diagrams/diagram_common.h"
#include "gui/diagrams/picture_menu_form.h"
#include "gui/controls/control_scale.h"
#include "platform/scaled_canvas.h"
#include "gui/controls/dyn_var_bars.h"
#include "gui/controls/undo_keys.h"
#include "model/workspace/dimension_edit.h"
#include "model/workspace/dynvar.h"
#include "model/workspace/undo_redo.h"
#include "model/workspace/view.h"

namespace vx {

// The client area: paints the window's picture and carries its controls.
class DiagramCanvasWidget final : public QWidget {
public:
    DiagramCanvasWidget(TDiagramWindow* owner, const QImage& picture)
        : QWidget(owner), owner_(owner), picture_(picture) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setObjectName(QStringLiteral("DiagramCanvas"));
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        const QRect r = e->rect();
        p.drawImage(r.topLeft(), picture_, r);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        QWidget::mouseMoveEvent(e);
        owner_->FormMouseMove();
    }

private:
    TDiagramWindow* owner_;
    const QImage& picture_;
};

namespace {

QFont WindowFont() { return UiFont(UiFace::Sans, 11); }

} // namespace

void TakePositionList(GearState& g) {
    RefreshRevArmPositions(g);
    g.revArm.diagramRedrawPending = true;
}

TDiagramWindow::TDiagramWindow(const DiagramHost& host, const Layout& layout, QWidget* parent)
    : QDialog(parent, Qt::Tool), host_(host), layout_(layout), canvas_(layout.clientWidth, layout.clientHeight) {
    setObjectName(QString::fromUtf8(layout.objectName));
    setFont(WindowFont());
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    canvas_.Clear(colors::kWhite);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->setSizeConstraint(QLayout::SetFixedSize);
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QString::fromUtf8(layout.menuName));
    menuBar_->setNativeMenuBar(false);
    box->setMenuBar(menuBar_);
    canvasWidget_ = new DiagramCanvasWidget(this, canvas_.Image());
    canvasWidget_->setFixedSize(layout.clientWidth, layout.clientHeight);
    box->addWidget(canvasWidget_);
    BuildMenu();
    InstallPictureMenu(this, canvasWidget_, host.pictures);

    close_ = new QPushButton(QStringLiteral("Close"), canvasWidget_);
    close_->setObjectName(QString::fromUtf8(layout.closeName));
    close_->setGeometry(layout.closeLeft, layout.closeTop, 75, 25);
    close_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });

    const bool aboveGrid = layout.controlsAboveGrid;
    bars_ = new DynVarBars(Model(), canvasWidget_, layout.barPrefix, 112, aboveGrid ? 1 : 3,
                           aboveGrid ? kPortBlockRowPitch : kBlockRowPitch);
    bars_->onChanged = [this](int) { BarChanged(); };
    bars_->onGestureEnd = [this](int) { BarGestureEnd(); };

    undo_ = new QPushButton(QStringLiteral("UnDo"), canvasWidget_);
    undo_->setObjectName(QString::fromUtf8(layout.undoName));
    undo_->setGeometry(aboveGrid ? 64 : 110, aboveGrid ? 2 : 50, 40, 16);
    undo_->setAutoDefault(false);
    undo_->setFocusPolicy(Qt::TabFocus);
    undo_->setVisible(false);
    undo_->setEnabled(false);
    connect(undo_, &QPushButton::clicked, this, &TDiagramWindow::UnDoClick);
    InstallUndoKeys(
        this, [this] { StepThroughUndo(UndoChange(Model())); }, [this] { StepThroughUndo(RedoChange(Model())); });

    move(0, 10);
}

TDiagramWindow::~TDiagramWindow() = default;

void TDiagramWindow::BuildMenu() {
    QMenu* current = nullptr;
    const char* currentCaption = nullptr;
    for (const MenuRow& r : layout_.menu) {
        QAction* a = nullptr;
        if (r.submenu == nullptr) {
            a = menuBar_->addAction(QString::fromUtf8(r.caption));
        } else {
            if (currentCaption == nullptr || std::string_view(currentCaption) != r.submenu) {
                current = menuBar_->addMenu(QString::fromUtf8(r.submenu));
                current->setObjectName(QString::fromUtf8(r.submenu).remove(QLatin1Char('&')));
                currentCaption = r.submenu;
            }
            a = current->addAction(QString::fromUtf8(r.caption));
        }
        a->setObjectName(QString::fromUtf8(r.name));
        const MenuCommand c = r.command;
        connect(a, &QAction::triggered, this, [this, c] { RunMenuCommand(c); });
    }
}

// ---------------------------------------------------------------------------
// Opening and closing.

void TDiagramWindow::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (open_) return; // back from the positions dialog, or un-minimised
    open_ = true;
    setWindowTitle(Caption());
    close_->setFocus();
    // The positions dialog is modal: start it once the window is up.
    QMetaObject::invokeMethod(
        this, [this] { if (open_) Activate(); }, Qt::QueuedConnection);
}

void TDiagramWindow::done(int r) {
    QDialog::done(r);
    open_ = false;
    if (host_.setTimerRunning) host_.setTimerRunning(true);
    SyncMain();
}

QString TDiagramWindow::CaptionOf(WindowKind kind) const {
    const CaptionText& t = Model().display.captions[static_cast<std::size_t>(kind)];
    const std::string_view v = t.View();
    return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
}

void TDiagramWindow::StopMainTimer() {
    if (host_.setTimerRunning) host_.setTimerRunning(false);
}

void TDiagramWindow::AskPositions() {
    if (host_.showPositionsDialog) host_.showPositionsDialog();
    else TakePositionList(Model());
}

void TDiagramWindow::Activate() {
    StopMainTimer();
    AskPositions();
    ClearAndDraw();
}

// ---------------------------------------------------------------------------
// Drawing.

void TDiagramWindow::setVisible(bool visible) {
    if (visible) ApplyTextScale();
    QDialog::setVisible(visible);
}

void TDiagramWindow::ApplyTextScale() {
    const GearState& g = Model();
    const float sx = SaneTextScale(g.textScaleX), sy = SaneTextScale(g.textScaleY);
    if (sx == scaleX_ && sy == scaleY_) return;
    scaleX_ = sx;
    scaleY_ = sy;
    // The picture area (a fixed size in the window's layout) grows with
    // the controls.
    ScaleControls(this, sx, sy);
    canvas_ = QImageCanvas(ScaledLength(layout_.clientWidth, sx), ScaledLength(layout_.clientHeight, sy));
    canvas_.Clear(colors::kWhite);
    canvasWidget_->setFixedSize(canvas_.Width(), canvas_.Height());
}

void TDiagramWindow::ClearPicture() {
    ApplyTextScale();
    canvas_.Clear(colors::kWhite);
    if (pictured_) *pictured_ = Model();
    else pictured_ = std::make_unique<GearState>(Model());
}

void TDiagramWindow::DrawOnly() {
    if (scaleX_ == 1 && scaleY_ == 1) {
        DrawDiagram(canvas_);
    } else {
        // The default picture, larger as a whole.
        ScaledCanvas scaled(canvas_, scaleX_, scaleY_);
        DrawDiagram(scaled);
    }
    // What a drawing leaves for the next: the undo line it drew becomes the
    // shared one, and a diagram of the positions list keeps the last it drew.
    GearState& g = Model();
    if (g.undoDisplay) RebuildDiagramUndoLine(g);
    if (layout_.keepsLastPosition) KeepLastDiagramPosition(g);
    ++drawCount_;
    ApplyControlStates();
    canvasWidget_->update();
}

void TDiagramWindow::ClearAndDraw() {
    ClearPicture();
    DrawOnly();
}

void TDiagramWindow::Redraw() { ClearAndDraw(); }

void TDiagramWindow::GestureRedraw() { DrawOnly(); }

void TDiagramWindow::ApplyControlStates() {
    const DynVarControlStates s = DynVarControls(Model());
    bars_->SetVisible(s.barsVisible);
    for (int n = 1; n <= 4; ++n) bars_->SetEnabled(n, s.barEnabled[static_cast<std::size_t>(n)]);
    undo_->setVisible(s.undoVisible);
    undo_->setEnabled(Model().undoButtonEnabled[static_cast<std::size_t>(layout_.undoButtonIndex)]);
}

void TDiagramWindow::SyncMain() {
    if (host_.syncMainControls) host_.syncMainControls();
}

// ---------------------------------------------------------------------------
// Events and commands.

void TDiagramWindow::FormMouseMove() { DrawChangedList(); }

void TDiagramWindow::DrawChangedList() {
    GearState& g = Model();
    if (!layout_.redrawOnMouseMove || !g.revArm.diagramRedrawPending) return;
    ClearAndDraw();
    g.revArm.diagramRedrawPending = false;
}

void TDiagramWindow::BarChanged() {
    // Every position change has stepped the model already; the picture
    // follows once the events waiting now are handled, drawn once for all.
    if (redrawQueued_) return;
    redrawQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        redrawQueued_ = false;
        Redraw();
    });
}

void TDiagramWindow::BarGestureEnd() {
    close_->setFocus();
    GestureRedraw();
    SyncMain();
}

void TDiagramWindow::UnDoClick() {
    GearState& g = Model();
    if (g.undo[1].id > 0) {
        UndoChange(g);
    } else {
        g.undoButtonEnabled[0] = false;
        g.undoButtonEnabled[static_cast<std::size_t>(layout_.undoButtonIndex)] = false;
    }
    for (int k = 0; k < layout_.undoRedraws; ++k) Redraw();
    ApplyControlStates();
    SyncMain();
}

void TDiagramWindow::StepThroughUndo(bool changed) {
    if (!changed) return;
    for (int k = 0; k < layout_.undoRedraws; ++k) Redraw();
    ApplyControlStates();
    SyncMain();
}

void TDiagramWindow::DynVariClick() {
    ToggleDynVarDisplay(Model());
    Redraw();
    SyncMain();
}

void TDiagramWindow::RunMenuCommand(MenuCommand c) {
    switch (c) {
    case MenuCommand::SetRevArmPos:
        AskPositions();
        // A changed list shows at once, not at the next move of the mouse
        // over the picture (which may be seconds away, or never come).
        DrawChangedList();
        break;
    case MenuCommand::ReDraw: Redraw(); break;
    case MenuCommand::DynVari: DynVariClick(); break;
    default: break; // the commands of one window only
    }
}

} // namespace vx
