#include "gui/editors/dimension_editor_dialog.h"
#include "gui/controls/analysis_settings.h"

#include <QEvent>
#include <QMetaObject>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "model/workspace/dimension_edit.h"
#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "model/gear/midgear.h"
#include "base/typed_value.h"
#include "model/workspace/undo_redo.h"

namespace vx {

QString MidGearNotFoundMessage() {
    return QStringLiteral(
        "Mid gear was not found: over the whole travel of the reverse arm the radius rod die "
        "never reaches the centre of the expansion link.\n\n"
        "The dimensions stay as typed; the reverse arm keeps the previous mid-gear position.");
}

DimensionEditor::DimensionEditor(GearState& g, EditorHooks hooks, const Layout& layout, QWidget* parent)
    : CanvasDialog(layout.clientWidth, layout.clientHeight, parent), g_(g), hooks_(std::move(hooks)),
      layout_(layout) {
    setObjectName(QString::fromUtf8(layout.objectName));
    setWindowTitle(QString::fromUtf8(layout.caption));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, layout.background);
    setPalette(pal);
    move(layout.position);
    FollowTextScale(&g_.textScaleX, &g_.textScaleY);

    filter_ = new NumberBoxFilter(KeyRules{true, EnterKey::MovesToClose},
                                  {[this](int n) { EditAccepted(n); }, [this](int) { close1_->setFocus(); },
                                   nullptr, [this](int n) { EditExit(n); }},
                                  this);
    int last = 0;
    for (const EditorRow& r : layout.rows) last = std::max(last, r.box);
    boxes_.assign(static_cast<std::size_t>(last + 1), nullptr);
    buttons_.assign(static_cast<std::size_t>(last + 1), nullptr);

    QWidget* previous = nullptr;
    for (const EditorRow& r : layout.rows) {
        const QByteArray boxName = "Edit" + QByteArray::number(r.box);
        const bool white = !IsDynamicVariable(r.id);
        QLineEdit* box = MakeNumberBox(this, boxName.constData(),
                                       QRect(kEditorBoxX[r.column], r.boxY, kEditorBoxWidth, kEditorRowHeight),
                                       false, white ? QColor(Qt::white) : QColor(192, 192, 192));
        filter_->Attach(box, r.box);
        boxes_[static_cast<std::size_t>(r.box)] = box;

        const QByteArray buttonName = "Button" + QByteArray::number(r.box);
        auto* b = MakeDialogButton(this, buttonName.constData(), QString(),
                                   QRect(kEditorButtonX[r.column], r.buttonY, r.buttonWidth, r.buttonHeight));
        b->setToolTip(QString::fromUtf8(FindDimension(r.id)->shortName.data(),
                                        static_cast<int>(FindDimension(r.id)->shortName.size())));
        // Out of the Tab chain: Tab runs from box to box, and Tab from
        // Close and Reset reaches the first box at once.
        b->setFocusPolicy(Qt::ClickFocus);
        const int number = r.box;
        connect(b, &QPushButton::clicked, this, [this, number] { ButtonClick(number); });
        buttons_[static_cast<std::size_t>(r.box)] = b;
        // Tab runs down the boxes in the table's order.
        if (previous != nullptr) setTabOrder(previous, box);
        previous = box;
    }
    close1_ = MakeDialogButton(this, "Close1", QStringLiteral("Close"), layout.closeGeometry);
    reset_ = MakeDialogButton(this, layout.resetName, QString::fromUtf8(layout.resetCaption), layout.resetGeometry);
    // Enter in a box commits it and moves on to Close: a second Enter closes.
    close1_->setAutoDefault(true);
    if (previous != nullptr) setTabOrder(previous, close1_);
    setTabOrder(close1_, reset_);
    connect(close1_, &QPushButton::clicked, this, &DimensionEditor::Close1Click);
    connect(reset_, &QPushButton::clicked, this, &DimensionEditor::ResetClick);
    reset_->installEventFilter(this);
}

// The boxes lose the focus as they go: nothing is committed any more.
DimensionEditor::~DimensionEditor() { delete filter_; }

const EditorRow& DimensionEditor::RowOf(int number) const {
    for (const EditorRow& r : layout_.rows)
        if (r.box == number) return r;
    return layout_.rows.front();
}

QLineEdit* DimensionEditor::Box(int number) const {
    return number > 0 && static_cast<std::size_t>(number) < boxes_.size() ? boxes_[static_cast<std::size_t>(number)]
                                                                          : nullptr;
}

QPushButton* DimensionEditor::LocateButton(int number) const {
    return number > 0 && static_cast<std::size_t>(number) < buttons_.size()
               ? buttons_[static_cast<std::size_t>(number)]
               : nullptr;
}

void DimensionEditor::FormActivate() {
    for (const EditorRow& r : layout_.rows) {
        const float v = ShownDimensionValue(r.id, DimensionValue(g_, *FindDimension(r.id)));
        boxes_[static_cast<std::size_t>(r.box)]->setText(QString::fromStdString(FormatWD(v, 5, 3, 10)));
    }
    update();
    close1_->setFocus();
}

void DimensionEditor::showEvent(QShowEvent* e) {
    CanvasDialog::showEvent(e);
    // The unit of the lengths in the title ("Frame Dimensions (mm)").
    if (const LengthUnit unit = LoadAnalysisSettings().unit; unit != unit_) {
        unit_ = unit;
        caption_.clear();
    }
    FollowCaption();
    FormActivate();
}

void DimensionEditor::FollowCaption() {
    const std::string_view text = g_.display.captions[static_cast<std::size_t>(layout_.captionKind)].View();
    if (text.empty()) {
        // No caption yet: the editor's own title, with the unit.
        if (plainTitle_.isEmpty()) plainTitle_ = windowTitle();
        if (caption_.empty()) setWindowTitle(TitleWithUnit(plainTitle_, unit_));
        return;
    }
    if (text == caption_) return;
    caption_.assign(text);
    setWindowTitle(TitleWithUnit(QString::fromUtf8(caption_.data(), static_cast<qsizetype>(caption_.size())), unit_));
}

void LocatorBeforeFrame(GearState& g, DimensionEditor* frameEditor, DimensionEditor* cylinderEditor, QWidget* window) {
    if (frameEditor != nullptr && frameEditor->isVisible()) frameEditor->FollowCaption();
    if (cylinderEditor != nullptr && cylinderEditor->isVisible()) cylinderEditor->FollowCaption();
    if (g.locatorDimension <= 0) return;
    DimensionEditor* editor = g.locatorDimension > 99 ? cylinderEditor : frameEditor;
    if (editor != nullptr) editor->CloseForLocator();
    if (window != nullptr && window->cursor().shape() != Qt::WaitCursor) window->setCursor(Qt::WaitCursor);
}

void LocatorAfterFrame(GearState& g, DimensionEditor* frameEditor, DimensionEditor* cylinderEditor, QWidget* window) {
    if (!g.locatorEnded) return;
    g.locatorEnded = false;
    if (window != nullptr) window->unsetCursor();
    DimensionEditor* editor = g.locatorReopenCylinder ? cylinderEditor : frameEditor;
    if (editor != nullptr) QMetaObject::invokeMethod(editor, "open", Qt::QueuedConnection);
}

void DimensionEditor::DrawSurface(Canvas& c) {
    DrawEditorLabels(c, layout_.rows, layout_.notes, Background());
}

void DimensionEditor::EditAccepted(int number) {
    // The travel limits make no undo entry.
    if (IsDynamicVariable(RowOf(number).id)) g_.undoPending = true;
}

void DimensionEditor::EditExit(int number) {
    const int id = RowOf(number).id;
    QLineEdit* box = boxes_[static_cast<std::size_t>(number)];
    // A box not typed into shows the value cut to three decimals: reading
    // that back would change the dimension.
    if (!box->isModified()) {
        SelectEditorBox(g_, id);
        if (hooks_.undoButtonsChanged) hooks_.undoButtonsChanged();
        return;
    }
    box->setModified(false);
    const float v = TypedNumber(box->text().toStdString());
    CommitEditorBox(g_, id, v);
    // An angle is stored folded into one turn: the box shows what is stored.
    if (IsAngleDimension(id)) {
        if (const float stored = DimensionValue(g_, *FindDimension(id)); stored != v)
            boxes_[static_cast<std::size_t>(number)]->setText(QString::fromStdString(FormatWD(stored, 5, 3, 10)));
    }
    if (id == 26 && hooks_.revArmRangeChanged) hooks_.revArmRangeChanged();
    if (hooks_.undoButtonsChanged) hooks_.undoButtonsChanged();
}

void DimensionEditor::ButtonClick(int number) { g_.locatorDimension = RowOf(number).id; }

void DimensionEditor::Close1Click() {
    // Undoing the last change takes this search back with it.
    const MidGearFigures before = TakeMidGearFigures(g_);
    const MidGearResult found = FindMidGear(g_);
    RecordMidGearSearch(g_, before);
    if (hooks_.revArmBarToCentre) hooks_.revArmBarToCentre();
    g_.frontCutOffText.clear();
    g_.rearCutOffText.clear();
    accept();
    if (found != MidGearResult::Found && hooks_.tellUser) hooks_.tellUser(MidGearNotFoundMessage());
}

void DimensionEditor::CloseForLocator() {
    if (isVisible()) reject();
}

void DimensionEditor::done(int result) {
    if (isVisible()) close1_->setFocus();
    CanvasDialog::done(result);
}

void DimensionEditor::ResetSteps(bool clearUndo) {
    ApplyDefaults();
    ClearDynVarSlots(g_);
    g_.dynVarStep = 0;
    for (int k = 1; k <= 4; ++k) StepSlot(g_, k);
    FormActivate();
    if (clearUndo) ClearUndo(g_);
    if (hooks_.undoButtonsChanged) hooks_.undoButtonsChanged();
}

void DimensionEditor::ResetClick() { ResetSteps(true); }
void DimensionEditor::ResetMouseDown() { ResetSteps(false); }

bool DimensionEditor::eventFilter(QObject* watched, QEvent* e) {
    // Any mouse button going down on the reset button resets (a right press
    // keeps the undo list; the left click that follows clears it).
    if (watched == reset_ && e->type() == QEvent::MouseButtonPress) ResetMouseDown();
    return CanvasDialog::eventFilter(watched, e);
}

} // namespace vx
