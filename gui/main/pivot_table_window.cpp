#include "gui/main/pivot_table_window.h"
#include "platform/qt/qt_fonts.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "data/pivot_table.h"
#include "platform/clock.h"

namespace vx {

TDataTable::TDataTable(GearState& g, const Clock& clock, QWidget* parent)
    : QDialog(parent), g_(g), clock_(clock) {
    setObjectName(QStringLiteral("TDataTable"));
    setWindowTitle(QStringLiteral("Pivot Data Table"));
    setModal(true);
    setGeometry(150, 110, 620, 400);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, &TDataTable::ApplicationStateChanged);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("DataTableMenu"));
    QAction* close = bar->addAction(QStringLiteral("&Close "));
    close->setObjectName(QStringLiteral("Close1"));
    connect(close, &QAction::triggered, this, &QDialog::accept);
    QAction* blank = bar->addAction(QString(14, u' '));
    blank->setObjectName(QStringLiteral("Blank"));
    edit_ = bar->addMenu(QStringLiteral("&Edit"));
    edit_->setObjectName(QStringLiteral("Edit1"));
    connect(edit_, &QMenu::aboutToShow, this, &TDataTable::EditMenuOpening);
    cut_ = edit_->addAction(QStringLiteral("Cu&t"));
    cut_->setObjectName(QStringLiteral("Cut1"));
    copy_ = edit_->addAction(QStringLiteral("&Copy"));
    copy_->setObjectName(QStringLiteral("Copy1"));
    QAction* paste = edit_->addAction(QStringLiteral("&Paste"));
    paste->setObjectName(QStringLiteral("Past1"));
    edit_->addSeparator();
    selectAll_ = edit_->addAction(QStringLiteral("Select&All"));
    selectAll_->setObjectName(QStringLiteral("SelectAll1"));
    cut_->setEnabled(false);
    copy_->setEnabled(false);
    layout->setMenuBar(bar);

    // A plain text box: it lays out only the lines in view, so a table of
    // 36,001 rows loads in a moment and scrolls freely.
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("DataMemo"));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setUndoRedoEnabled(false);
    // A fixed-pitch face, so that the columns line up on screen as they do
    // in a spreadsheet.
    memo_->setFont(UiFont(UiFace::Mono, 12));
    layout->addWidget(memo_);

    connect(cut_, &QAction::triggered, this, &TDataTable::CutClick);
    connect(copy_, &QAction::triggered, this, &TDataTable::CopyClick);
    connect(paste, &QAction::triggered, memo_, &QPlainTextEdit::paste);
    connect(selectAll_, &QAction::triggered, this, &TDataTable::SelectAllClick);
}

bool TDataTable::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::WindowActivate:
        // Back from another program: the table stays as the user left it
        // (a selection, a scrolled place). From inside the program: rebuilt.
        if (!backFromOutside_) FormActivate();
        backFromOutside_ = false;
        break;
    case QEvent::Hide: backFromOutside_ = false; break;
    default: break;
    }
    return QDialog::event(e);
}

void TDataTable::ApplicationStateChanged(Qt::ApplicationState state) {
    // The table is modal: while it is shown, the program is left from it.
    if (state != Qt::ApplicationActive && isVisible()) backFromOutside_ = true;
}

void TDataTable::FormActivate() {
    memo_->clear();
    cut_->setEnabled(false);
    copy_->setEnabled(false);
    selectAll_->setEnabled(true);
    BuildPivotTable(g_, PickedPivots(g_), clock_.ShortDate(), clock_.LongTime(), text_);
    memo_->setPlainText(QString::fromUtf8(text_.data(), static_cast<qsizetype>(text_.size())));
    RefreshCaption();
}

void TDataTable::RefreshCaption() {
    const CaptionText& c = g_.display.captions[static_cast<std::size_t>(WindowKind::PivotData)];
    if (c.size == 0 || c == shownCaption_) return;
    shownCaption_ = c;
    const std::string_view v = c.View();
    setWindowTitle(QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size())));
}

void TDataTable::EditMenuOpening() {
    if (memo_->textCursor().hasSelection()) {
        cut_->setEnabled(true);
        copy_->setEnabled(true);
    }
}

void TDataTable::CutClick() {
    memo_->cut();
    selectAll_->setEnabled(true);
}

void TDataTable::CopyClick() {
    memo_->copy();
    selectAll_->setEnabled(true);
}

void TDataTable::SelectAllClick() {
    memo_->selectAll();
    cut_->setEnabled(true);
    copy_->setEnabled(true);
    selectAll_->setEnabled(false);
}

} // namespace vx
