#include "gui/main/draw_lines_dialog.h"
#include "platform/qt/qt_fonts.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace vx {

namespace {

const QColor kSilver(192, 192, 192);
const QColor kAqua(0, 255, 255);

// The dialog was laid out for a 14-pixel sans serif face.
QFont DialogFont() { return UiFont(UiFace::Sans, 12); }

struct GroupRow {
    const char* name;
    const char* caption;
    int left, top, width, height;
    int columns;
    std::array<const char*, 6> items;
    int count;
};

constexpr GroupRow kGroups[3] = {
    {"RadioGroup1", "  Type    ", 11, 9, 84, 67, 1, {"Line", "Circle"}, 2},
    {"RadioGroup2", "  Color  ", 101, 9, 209, 67, 3, {"Black", "Red", "Green", "Yellow", "Blue", "Gray"}, 6},
    {"RadioGroup3", "  Referenced to  ", 316, 9, 179, 67, 2, {"0,0", "Pivot1", "Piv1/0,0", "Piv1/Piv2"}, 4},
};

struct TitleRow {
    const char* name;
    const char* caption;
    int left, top;
};

constexpr TitleRow kTitles[5] = {
    {"Title1", "Line1Vert   Line1Horz     Line2Vert   Line2Horz", 241, 84},
    {"Title2", "CirCentV    CirCentH                        CirRadius", 246, 98},
    {"Title3", "Item", 44, 84},
    {"Title4", "No.", 48, 98},
    {"Title5", "Type     Color     Ref to", 82, 92},
};

constexpr std::array<int, kOverlayItems + 1> kPanelTops = {
    0, 123, 140, 158, 175, 192, 209, 226, 244, 261, 278, 295, 313, 330, 347, 364, 382, 399, 416, 433, 450};

// Within a row panel: the four labels and the four boxes (left, width).
constexpr std::array<int, 4> kLabelLefts = {10, 46, 91, 143};
constexpr std::array<int, 4> kLabelWidths = {34, 44, 50, 62};
constexpr std::array<int, 4> kBoxLefts = {207, 272, 351, 416};
constexpr std::array<int, 4> kBoxWidths = {51, 52, 51, 52};

void SetBackground(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

const char* NameOr(int index, const char* const* names, int count) {
    return index >= 0 && index < count ? names[index] : "";
}

} // namespace

TDrawLines::TDrawLines(GearState& g, Sound& sound, QWidget* parent)
    : QDialog(parent), g_(g), sound_(sound) {
    setObjectName(QStringLiteral("DrawLines"));
    setWindowTitle(QStringLiteral("Draw Lines"));
    setFont(DialogFont());
    SetBackground(this, Qt::white);
    // The client area of the 592 x 501 window with its border and caption.
    setFixedSize(584, 474);
    move(173, 30);

    BuildRadioGroups();

    struct ButtonRow {
        const char* name;
        const char* caption;
        int left, top, width, height;
    };
    constexpr ButtonRow kButtons[3] = {
        {"DrawBut", "Draw Close", 500, 9, 74, 30},
        {"ClearLine", "Clear Line", 500, 43, 74, 31},
        {"CloseBut", "Close", 522, 78, 52, 30},
    };
    std::array<QPushButton*, 3> buttons{};
    for (std::size_t i = 0; i < 3; ++i) {
        const ButtonRow& r = kButtons[i];
        auto* b = new QPushButton(QString::fromUtf8(r.caption), this);
        b->setObjectName(QString::fromUtf8(r.name));
        b->setGeometry(r.left, r.top, r.width, r.height);
        b->setAutoDefault(false);
        buttons[i] = b;
    }
    drawBut_ = buttons[0];
    connect(buttons[0], &QPushButton::clicked, this, &TDrawLines::DrawButClick);
    connect(buttons[1], &QPushButton::clicked, this, &TDrawLines::ClearLineClick);
    connect(buttons[2], &QPushButton::clicked, this, &TDrawLines::CloseButClick);

    for (const TitleRow& t : kTitles) {
        auto* l = new QLabel(QString::fromUtf8(t.caption), this);
        l->setObjectName(QString::fromUtf8(t.name));
        l->move(t.left, t.top);
        l->adjustSize();
    }

    BuildRows();

    // Never visible: its click refreshes the table.
    auto* linesData = new QPushButton(this);
    linesData->setObjectName(QStringLiteral("LinesData"));
    linesData->setGeometry(551, 463, 11, 11);
    linesData->setVisible(false);
    connect(linesData, &QPushButton::clicked, this, &TDrawLines::LinesDataClick);

    Sync();
}

void TDrawLines::BuildRadioGroups() {
    for (int gi = 0; gi < 3; ++gi) {
        const GroupRow& r = kGroups[gi];
        auto* box = new QGroupBox(QString::fromUtf8(r.caption), this);
        box->setObjectName(QString::fromUtf8(r.name));
        box->setGeometry(r.left, r.top, r.width, r.height);
        SetBackground(box, kSilver);
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(6, 2, 2, 2);
        grid->setHorizontalSpacing(2);
        grid->setVerticalSpacing(0);
        auto* group = new QButtonGroup(box);
        const int rowsPerColumn = (r.count + r.columns - 1) / r.columns;
        for (int i = 0; i < r.count; ++i) {
            auto* b = new QRadioButton(QString::fromUtf8(r.items[static_cast<std::size_t>(i)]), box);
            b->setObjectName(QStringLiteral("%1Item%2").arg(QString::fromUtf8(r.name)).arg(i));
            // Items run down each column, then on to the next column.
            grid->addWidget(b, i % rowsPerColumn, i / rowsPerColumn);
            group->addButton(b, i);
        }
        groups_[static_cast<std::size_t>(gi)] = group;
        connect(group, &QButtonGroup::idClicked, this, [this, gi](int id) { RadioGroupClick(gi, id); });
    }
}

void TDrawLines::BuildRows() {
    for (int i = 1; i <= kOverlayItems; ++i) {
        Row& row = rows_[static_cast<std::size_t>(i)];
        row.panel = new QFrame(this);
        row.panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        row.panel->setFrameStyle(QFrame::NoFrame);
        row.panel->setGeometry(39, kPanelTops[static_cast<std::size_t>(i)], 480, 16);
        SetBackground(row.panel, Qt::white);
        for (int k = 0; k < 4; ++k) {
            const auto kk = static_cast<std::size_t>(k);
            const int number = 4 * i - 3 + k;
            auto* l = new QLabel(row.panel);
            l->setObjectName(QStringLiteral("Label%1").arg(number));
            l->setGeometry(kLabelLefts[kk], 0, kLabelWidths[kk], 16);
            row.labels[kk] = l;

            auto* e = new QLineEdit(row.panel);
            e->setObjectName(QStringLiteral("Edit%1").arg(number));
            e->setGeometry(kBoxLefts[kk], 0, kBoxWidths[kk], 16);
            e->setFrame(false);
            e->setTextMargins(0, 0, 0, 0);
            QPalette p = e->palette();
            p.setColor(QPalette::Base, kSilver);
            e->setPalette(p);
            // Typed characters pass the key filter; nothing else may put
            // text into a box.
            e->setContextMenuPolicy(Qt::NoContextMenu);
            e->setAcceptDrops(false);
            e->setAttribute(Qt::WA_InputMethodEnabled, false);
            e->installEventFilter(this);
            row.boxes[kk] = e;
        }
        row.labels[0]->setText(i < 10 ? QStringLiteral("%1  ").arg(i) : QString::number(i));
        row.labels[0]->setCursor(Qt::PointingHandCursor);
        row.labels[0]->installEventFilter(this);
    }
}

// ---------------------------------------------------------------------------
// Handlers.

void TDrawLines::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormActivate();
}

void TDrawLines::FormActivate() {
    OverlayActivate(g_);
    Sync();
}

void TDrawLines::RadioGroupClick(int group, int choice) {
    const int current = group == 0 ? g_.overlayChoice.type : group == 1 ? g_.overlayChoice.color : g_.overlayChoice.ref;
    if (choice == current) return; // the choice did not change
    OverlayEffects e;
    switch (group) {
    case 0: e = OverlayTypeChoice(g_, state_, choice); break;
    case 1: e = OverlayColorChoice(g_, state_, choice); break;
    default: e = OverlayRefChoice(g_, state_, choice); break;
    }
    Sync();
    Apply(e);
}

void TDrawLines::DrawButClick() {
    const OverlayEffects e = OverlayDrawClose(g_, state_);
    Sync();
    Apply(e);
}

void TDrawLines::ClearLineClick() {
    OverlayClearLine(g_, state_);
    Sync();
}

void TDrawLines::CloseButClick() {
    OverlayClose(g_);
    Sync();
    Apply({0, true});
}

void TDrawLines::LabelClick(int row) {
    OverlaySelectRow(g_, state_, row);
    Sync();
}

void TDrawLines::LinesDataClick() {
    OverlayRefreshTable(g_, state_);
    Sync();
}

void TDrawLines::ClearRowTexts() {
    OverlayClearRowTexts(state_);
    Sync();
}

void TDrawLines::DesignOpened() {
    OverlayDesignOpened(g_, state_);
    Sync();
}

void TDrawLines::EditExit(int box) {
    const int row = (box + 3) / 4;
    QLineEdit* e = rows_[static_cast<std::size_t>(row)].boxes[static_cast<std::size_t>((box - 1) % 4)];
    OverlayBoxExit(g_, state_, box, e->text().toStdString());
    e->setModified(false);
}

bool TDrawLines::EditKeyPress(int box, const QKeyEvent& k) {
    // Focus keys move on; keys that type nothing (arrows, Home, End, Delete)
    // edit as usual, except in a circle's third box, which takes no key.
    if (k.key() == Qt::Key_Tab || k.key() == Qt::Key_Backtab) return true;
    const auto& rowTexts = state_.rows[static_cast<std::size_t>((box + 3) / 4)];
    const bool closed = (box - 1) % 4 == 2 && rowTexts.type == 1;
    if (closed) return false;
    // Pasting, cutting and undoing would bring in or take out text past the
    // filter (Shift+Insert, Shift+Delete and Ctrl+Z type no character).
    for (QKeySequence::StandardKey sk : {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo})
        if (k.matches(sk)) return false;
    if (k.key() == Qt::Key_Backspace) return true;
    const QString t = k.text();
    if (k.key() == Qt::Key_Delete || t.isEmpty()) return (k.modifiers() & Qt::ControlModifier) == 0;
    if (t.size() != 1 || t[0].unicode() >= 128) return false;
    QLineEdit* e = rows_[static_cast<std::size_t>((box + 3) / 4)].boxes[static_cast<std::size_t>((box - 1) % 4)];
    // A decimal comma (a German or French keypad's) is the point, under the
    // point's rule.
    if (t[0] == u',') {
        if (OverlayBoxAcceptsKey(state_, box, e->text().toStdString(), '.')) e->insert(QStringLiteral("."));
        return false;
    }
    return OverlayBoxAcceptsKey(state_, box, e->text().toStdString(), static_cast<char>(t[0].unicode()));
}

bool TDrawLines::eventFilter(QObject* watched, QEvent* e) {
    for (int i = 1; i <= kOverlayItems; ++i) {
        const Row& row = rows_[static_cast<std::size_t>(i)];
        if (watched == row.labels[0]) {
            if (e->type() == QEvent::MouseButtonRelease) {
                const auto* m = static_cast<QMouseEvent*>(e);
                if (m->button() == Qt::LeftButton && row.labels[0]->rect().contains(m->position().toPoint()))
                    LabelClick(i);
            }
            return QDialog::eventFilter(watched, e);
        }
        for (int k = 0; k < 4; ++k) {
            QLineEdit* box = row.boxes[static_cast<std::size_t>(k)];
            if (watched != box) continue;
            const int number = 4 * i - 3 + k;
            switch (e->type()) {
            case QEvent::KeyPress:
                if (!EditKeyPress(number, *static_cast<QKeyEvent*>(e))) return true;
                break;
            case QEvent::FocusOut:
                // Leaving a box stores what the user typed into it.
                if (box->isModified()) EditExit(number);
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
                // No pasting of the selection with the middle button.
                if (static_cast<QMouseEvent*>(e)->button() == Qt::MiddleButton) return true;
                break;
            default: break;
            }
            return QDialog::eventFilter(watched, e);
        }
    }
    return QDialog::eventFilter(watched, e);
}

// ---------------------------------------------------------------------------
// Controls in step with the state.

void TDrawLines::Apply(const OverlayEffects& e) {
    for (int i = 0; i < e.beeps; ++i) sound_.Beep();
    if (e.close) done(QDialog::Rejected);
}

void TDrawLines::SyncChoice(int group, int choice) {
    QButtonGroup* bg = groups_[static_cast<std::size_t>(group)];
    QAbstractButton* want = choice >= 0 ? bg->button(choice) : nullptr;
    if (bg->checkedButton() == want) return;
    if (want != nullptr) {
        want->setChecked(true);
        return;
    }
    bg->setExclusive(false);
    for (QAbstractButton* b : bg->buttons()) b->setChecked(false);
    bg->setExclusive(true);
}

void TDrawLines::HighlightRow() {
    for (int i = 1; i <= kOverlayItems; ++i)
        SetBackground(rows_[static_cast<std::size_t>(i)].panel, i == g_.currentItem ? kAqua : QColor(Qt::white));
}

void TDrawLines::Sync() {
    SyncChoice(0, g_.overlayChoice.type);
    SyncChoice(1, g_.overlayChoice.color);
    SyncChoice(2, g_.overlayChoice.ref);
    drawBut_->setEnabled(state_.drawEnabled);
    for (int i = 1; i <= kOverlayItems; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        const OverlayRowTexts& t = state_.rows[ii];
        Row& row = rows_[ii];
        const QString texts[3] = {
            QString::fromUtf8(NameOr(t.type, kOverlayTypeNames.data(), 2)),
            QString::fromUtf8(NameOr(t.color, kOverlayColorNames.data(), 6)),
            QString::fromUtf8(NameOr(t.ref, kOverlayRefNames.data(), 4)),
        };
        for (std::size_t k = 0; k < 3; ++k)
            if (row.labels[k + 1]->text() != texts[k]) row.labels[k + 1]->setText(texts[k]);
        for (std::size_t k = 0; k < 4; ++k) {
            const QString s = QString::fromStdString(t.box[k]);
            // A box the user is typing into keeps its text until it is left.
            if (row.boxes[k]->isModified()) continue;
            if (row.boxes[k]->text() != s) row.boxes[k]->setText(s);
        }
    }
    HighlightRow();
}

} // namespace vx
