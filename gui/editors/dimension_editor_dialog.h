// What the frame and cylinder dimension editors share: one borderless box
// and one locate button per row of the editor's table, the labels drawn
// through a Canvas, one key filter and one commit handler for every box,
// "Close" (mid-gear search) and the reset button with its mouse-down
// behaviour. TFrameDi and TCylDimen give the table, layout and reset.
#pragma once

#include "base/length_unit.h"
#include <QString>
#include <functional>
#include <string>
#include <span>
#include <vector>

#include "scene/editors/editor_layout.h"
#include "gui/editors/number_box_dialog.h"
#include "model/state/gear_state.h"

class QLineEdit;
class QPushButton;

namespace vx {

// What the editors change on the main window.
struct EditorHooks {
    std::function<void()> revArmRangeChanged; // Max changed: the reverse arm bar's range
    std::function<void()> revArmBarToCentre;  // "Close": the reverse arm bar to position 0
    std::function<void()> undoButtonsChanged; // the undo buttons follow the model
    std::function<void(const QString&)> tellUser; // one message, shown after the dialog closed
};

class DimensionEditor : public CanvasDialog {
    Q_OBJECT

public:
    struct Layout {
        const char* objectName;
        const char* caption;
        int clientWidth, clientHeight;
        QPoint position;
        QColor background;
        std::span<const EditorRow> rows;
        std::span<const EditorText> notes;
        QRect closeGeometry;
        const char* resetName;
        const char* resetCaption;
        QRect resetGeometry;
        WindowKind captionKind; // the caption the frame keeps in the model
    };

    DimensionEditor(GearState& g, EditorHooks hooks, const Layout& layout, QWidget* parent);
    ~DimensionEditor() override;

    // Activation: the boxes refilled from the model, the focus on "Close".
    void FormActivate();
    // "Close": mid-gear search, reverse arm bar to 0, cut-off texts emptied,
    // the dialog closed; a search that does not settle is told once.
    void Close1Click();
    // The reset button: all its steps at the click; the undo list kept when
    // only the mouse went down on it.
    void ResetClick();
    void ResetMouseDown();
    // The locator took over: the dialog goes, the box being typed in
    // committed first.
    void CloseForLocator();

    // However the dialog closes, the box being typed in is committed first.
    void done(int result) override;

    // The window's caption follows the one the frame keeps in the model
    // (design name, date and time); nothing is allocated while it stays.
    void FollowCaption();

    QLineEdit* Box(int number) const;
    QPushButton* LocateButton(int number) const;

protected:
    // The model part of the reset (defaults and what goes with them).
    virtual void ApplyDefaults() = 0;
    EditorHooks& Hooks() { return hooks_; }
    GearState& Model() { return g_; }

    void showEvent(QShowEvent* e) override;
    void DrawSurface(Canvas& c) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    const EditorRow& RowOf(int number) const;
    void EditExit(int number);
    void EditAccepted(int number);
    void ButtonClick(int number);
    void ResetSteps(bool clearUndo);

    GearState& g_;
    EditorHooks hooks_;
    Layout layout_;
    std::vector<QLineEdit*> boxes_;     // by box number, [0] unused
    std::vector<QPushButton*> buttons_; // by box number, [0] unused
    QPushButton* close1_ = nullptr;
    QPushButton* reset_ = nullptr;
    NumberBoxFilter* filter_ = nullptr;
    std::string caption_;
    QString plainTitle_; // the editor's own title, before any caption or unit
    LengthUnit unit_ = LengthUnit::None; // of the title, read when the editor opens
};

// The message told when "Close" finds no mid gear.
QString MidGearNotFoundMessage();

// The main window's part of the dimension locator, around each frame.
// Before it: the editor the locator took over from closes, the cursor is
// the hourglass. After it, once the locator has ended: the arrow cursor, and
// the editor shown again right after the tick (a queued open(), never a
// modal loop inside the tick). Either editor may be null.
void LocatorBeforeFrame(GearState& g, DimensionEditor* frameEditor, DimensionEditor* cylinderEditor, QWidget* window);
void LocatorAfterFrame(GearState& g, DimensionEditor* frameEditor, DimensionEditor* cylinderEditor, QWidget* window);

} // namespace vx
