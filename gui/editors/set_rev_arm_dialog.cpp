#include "gui/editors/set_rev_arm_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "scene/editors/editor_layout.h"
#include "model/workspace/dimension_edit.h"
#include "base/typed_value.h"

namespace vx {
namespace {
QString Shown(float v) { return QString::fromStdString(FormatWD(v, 5, 3, 10)); }
} // namespace

TSetRevArm::TSetRevArm(GearState& g, QWidget* parent)
    : CanvasDialog(kClientWidth, kClientHeight, parent), g_(g) {
    setObjectName(QStringLiteral("SetRevArm"));
    setWindowTitle(QStringLiteral("Set Reverse Arm Positions"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white); // the system window colour
    setPalette(pal);
    move(170, 55);
    FollowTextScale(&g_.textScaleX, &g_.textScaleY);

    filter_ = new NumberBoxFilter(KeyRules{true, EnterKey::Discard},
                                       {nullptr, nullptr, [this](int k) { EditKeyPress(k); },
                                        [this](int k) { EditExit(k); }},
                                       this);
    for (int k = 1; k <= 10; ++k) {
        const BoxPlace b = RevArmEditorBox(k);
        const QByteArray name = "Edit" + QByteArray::number(k);
        QLineEdit* box = MakeNumberBox(this, name.constData(), QRect(b.left, b.top, b.width, 13), false,
                                       QColor(192, 192, 192));
        filter_->Attach(box, k);
        boxes_[static_cast<std::size_t>(k)] = box;
    }
    close1_ = MakeDialogButton(this, "Close1", QStringLiteral("Close"), QRect(128, 93, 75, 25));
    connect(close1_, &QPushButton::clicked, this, [this] { accept(); });
    // Tab goes through the vertical scale, then the positions in order.
    setTabOrder(boxes_[10], boxes_[1]);
    for (int k = 1; k < 9; ++k) setTabOrder(boxes_[static_cast<std::size_t>(k)], boxes_[static_cast<std::size_t>(k + 1)]);
    setTabOrder(boxes_[9], close1_);
    // The boxes are filled and shown by the refresh when the dialog shows.
    for (int k = 2; k <= 9; ++k) boxes_[static_cast<std::size_t>(k)]->setVisible(false);
}

// The boxes lose the focus as they go: nothing is committed any more.
TSetRevArm::~TSetRevArm() { delete filter_; }

void TSetRevArm::Refresh() {
    shown_ = RefreshRevArmPositions(g_);
    for (int k = 1; k <= 9; ++k) {
        QLineEdit* box = boxes_[static_cast<std::size_t>(k)];
        box->setText(Shown(g_.revArm.position[static_cast<std::size_t>(k)]));
        box->setVisible(k <= shown_);
    }
    boxes_[10]->setText(Shown(g_.revArm.verticalScale));
    update();
    close1_->setFocus();
}

void TSetRevArm::showEvent(QShowEvent* e) {
    CanvasDialog::showEvent(e);
    Refresh();
}

void TSetRevArm::DrawSurface(Canvas& c) { DrawRevArmEditorTexts(g_, c, shown_, Background()); }

void TSetRevArm::EditKeyPress(int k) {
    // Any key in a position box reveals the next one.
    if (k < 1 || k > 8 || k + 1 <= shown_) return;
    shown_ = k + 1;
    boxes_[static_cast<std::size_t>(k + 1)]->setVisible(true);
    update();
}

void TSetRevArm::EditExit(int k) {
    QLineEdit* box = boxes_[static_cast<std::size_t>(k)];
    // A box not typed into shows its figure cut: it commits nothing.
    if (!box->isModified()) return;
    box->setModified(false);
    const float v = TypedNumber(box->text().toStdString());
    if (k == 10) CommitVerticalScale(g_, v);
    else CommitRevArmPosition(g_, k, v);
}

void TSetRevArm::done(int result) {
    // The box being typed in is left (committed) before the window goes.
    if (isVisible()) close1_->setFocus();
    CanvasDialog::done(result);
    g_.revArm.diagramRedrawPending = true;
    Refresh();
}

} // namespace vx
