#include "gui/editors/graph_zoom_dialog.h"

#include <QLabel>
#include <algorithm>
#include <QLineEdit>
#include <QPushButton>

#include "gui/editors/number_box_dialog.h"
#include "base/typed_value.h"

namespace vx {
namespace {

struct LabelRow {
    const char* name;
    int left, top, width, height;
    const char* text;
};
constexpr LabelRow kLabels[] = {
    {"Label2", 40, 3, 44, 13, "Min = 0.5"},
    {"Label3", 168, 3, 65, 13, "Max = 2000.0"},
    {"Label4", 5, 20, 259, 13, "Approximate Factor = Locomotive Gauge in Units Used"},
    {"Label1", 32, 42, 25, 13, "Enter"},
};

} // namespace

TGraphZoom::TGraphZoom(GearState& g, QWidget* parent) : QDialog(parent), g_(g) {
    setObjectName(QStringLiteral("GraphZoom"));
    setWindowTitle(QStringLiteral("Set Zoom of Dimensional Graphic Position"));
    setFont(DialogFont());
    setFixedSize(270, 68);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    move(195, 110);
    // The labels keep their places and take the width their text needs in
    // this font; the dialog widens if the long one needs it.
    int right = 0;
    for (const LabelRow& r : kLabels) {
        auto* l = new QLabel(QString::fromUtf8(r.text), this);
        l->setObjectName(QString::fromUtf8(r.name));
        l->setGeometry(r.left, r.top, std::max(r.width, l->sizeHint().width()), r.height);
        right = std::max(right, l->geometry().right());
    }
    if (right + 6 > width()) setFixedSize(right + 6, height());
    edit1_ = MakeNumberBox(this, "Edit1", QRect(64, 40, 50, 21), true, QColor(Qt::white));
    auto* filter = new NumberBoxFilter(KeyRules{false, EnterKey::Discard}, {}, this);
    filter->Attach(edit1_, 1);
    auto* ok = MakeDialogButton(this, "OK", QStringLiteral("OK"), QRect(134, 40, 52, 21));
    auto* cancel = MakeDialogButton(this, "Cancel", QStringLiteral("Cancel"), QRect(194, 40, 52, 21));
    connect(ok, &QPushButton::clicked, this, &TGraphZoom::OKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TGraphZoom::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    edit1_->setText(QString::fromStdString(FormatWD(g_.graphicZoomFactor, 4, 2, 10)));
}

void TGraphZoom::OKClick() {
    float v = TypedNumber(edit1_->text().toStdString());
    if (!(v >= 0.5f)) v = 0.5f;
    if (v > 2000.0f) v = 2000.0f;
    g_.graphicZoomFactor = v;
    accept();
}

} // namespace vx
