// The pivot data table window (TDataTable): the text of data/pivot_table.h
// for the six picked pivots, rebuilt whenever the window becomes active from
// inside the program (not on the way back from another program), in
// an editable text box whose text the user selects and copies (plain text)
// to paste into a spreadsheet. Menu: "&Close ", a spacer, and "&Edit" with
// "Cu&t", "&Copy", "&Paste" and "Select&All".
#pragma once

#include <QDialog>

#include "model/state/display_state.h"
#include "model/state/gear_state.h"

class QAction;
class QMenu;
class QPlainTextEdit;

namespace vx {

class Clock;

class TDataTable final : public QDialog {
    Q_OBJECT

public:
    TDataTable(GearState& g, const Clock& clock, QWidget* parent = nullptr);

    // Rebuilds the table (what every activation does).
    void FormActivate();
    // Shows the caption the last frame composed, when it changed.
    void RefreshCaption();

    QPlainTextEdit* Memo() const { return memo_; }

protected:
    bool event(QEvent* e) override;

private:
    void ApplicationStateChanged(Qt::ApplicationState state);
    void EditMenuOpening();
    void CutClick();
    void CopyClick();
    void SelectAllClick();

    GearState& g_;
    const Clock& clock_;
    QPlainTextEdit* memo_ = nullptr;
    QMenu* edit_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* selectAll_ = nullptr;
    CaptionText shownCaption_;
    std::string text_; // the last table, kept so rebuilding reuses its memory
    bool backFromOutside_ = false; // the program was left while the table was shown
};

} // namespace vx
