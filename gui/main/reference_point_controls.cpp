#include "gui/main/reference_point_controls.h"
#include "platform/qt/qt_fonts.h"

#include <QAction>
#include <QFrame>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>

namespace vx {
namespace {

struct RefBarRow {
    const char* name;
    int top;
    int limit;
    const char* hint;
};

// In the order of RefBar (model/reference_points.h).
constexpr RefBarRow kRefBars[4] = {
    {"SBRef1Vert", 72, 5000, "Change Reference Point 1 Vertical"},
    {"SBRef1Horz", 84, 10000, "Change Reference Point 1 Horzontal"},
    {"SBRef2Vert", 96, 5000, "Change Reference Point 2 Vertical"},
    {"SBRef2Horz", 108, 10000, "Change Reference Point 2 Horzontal"},
};

struct PointButtonRow {
    const char* zeroName;
    int zeroTop;
    const char* zeroHint;
    const char* centreName;
    const char* centreCaption;
    int centreLeft;
    const char* centreHint;
};

constexpr PointButtonRow kPointButtons[3] = {
    {},
    {"RefPt1Zero", 72, "Zero Reference Point 1", "RefPt1", "RP1", 5, "Pan to Reference Point 1"},
    {"RefPt2Zero", 95, "Zero Reference Point 2", "RefPt2", "RP2", 40, "Pan to Reference Point 2"},
};

// Panels that frame the reference controls.
constexpr const char* kRefPanels[] = {"Panel5", "Panel6", "Panel11"};

QFont ButtonFont(bool bold) { return UiFont(UiFace::Sans, 11, bold); }

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect geometry, const char* hint,
                        bool bold) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(geometry);
    if (hint) b->setToolTip(QString::fromUtf8(hint));
    b->setFont(ButtonFont(bold));
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    return b;
}

} // namespace

RefPointControls::RefPointControls(QMainWindow* window, QWidget* canvas, GearState& g)
    : QObject(canvas), window_(window), g_(g) {
    for (int i = 0; i < 4; ++i) {
        const RefBarRow& r = kRefBars[i];
        auto* s = new QScrollBar(Qt::Horizontal, canvas);
        s->setObjectName(QString::fromUtf8(r.name));
        s->setGeometry(20, r.top, 121, 10);
        s->setRange(-r.limit, r.limit);
        s->setSingleStep(1);
        s->setPageStep(25);
        s->setValue(0);
        s->setToolTip(QString::fromUtf8(r.hint));
        s->setFocusPolicy(Qt::StrongFocus);
        s->setVisible(false);
        bars_[static_cast<std::size_t>(i)] = s;
        connect(s, &QScrollBar::valueChanged, this, [this, i](int p) { RefBarChange(i, p); });
    }
    for (int point = 1; point <= 2; ++point) {
        const PointButtonRow& r = kPointButtons[point];
        const auto n = static_cast<std::size_t>(point);
        zero_[n] = MakeButton(canvas, r.zeroName, "0", QRect(5, r.zeroTop, 14, 23), r.zeroHint, true);
        zero_[n]->setVisible(false);
        zero_[n]->setEnabled(false);
        connect(zero_[n], &QPushButton::clicked, this, [this, point] { ZeroClick(point); });
        centre_[n] = MakeButton(canvas, r.centreName, r.centreCaption, QRect(r.centreLeft, 53, 35, 14),
                                r.centreHint, false);
        centre_[n]->setEnabled(false);
        connect(centre_[n], &QPushButton::clicked, this, [this, point] { CentreClick(point); });
    }
    dataTableBut_ = MakeButton(canvas, "DataTableBut", "DataTable", QRect(2, 214, 60, 15), nullptr, true);
    dataTableBut_->setVisible(false);
    connect(dataTableBut_, &QPushButton::clicked, this, [this] {
        if (openDataTable_) openDataTable_();
    });
}

void RefPointControls::SetOverlayHooks(std::function<OverlayPickQuery()> query, std::function<void()> open) {
    overlayQuery_ = std::move(query);
    openDrawLines_ = std::move(open);
}

void RefPointControls::SetLocatorHook(std::function<void()> endLocator) { endLocator_ = std::move(endLocator); }

void RefPointControls::SetDataTableHook(std::function<void()> openDataTable) {
    openDataTable_ = std::move(openDataTable);
}

QWidget* RefPointControls::Find(const char* name) const {
    return window_->findChild<QWidget*>(QString::fromUtf8(name));
}

QAction* RefPointControls::FindAction(const char* name) const {
    return window_->findChild<QAction*>(QString::fromUtf8(name));
}

void RefPointControls::SetReferenceMode(bool on) {
    g_.refPointsOn = on;
    for (QScrollBar* s : bars_) s->setVisible(on);
    zero_[1]->setVisible(on);
    zero_[2]->setVisible(on);
    for (const char* name : kRefPanels)
        if (QWidget* p = Find(name)) p->setVisible(on);
    centre_[1]->setEnabled(on);
    centre_[2]->setEnabled(on);
    for (const char* name : {"DrawLines1", "ToolDrawLines"})
        if (QAction* a = FindAction(name)) a->setEnabled(on);
    if (!on) SetPivotDataMode(false);
}

void RefPointControls::SetPivotDataMode(bool on) {
    g_.pivotDataOn = on;
    dataTableBut_->setVisible(on);
    if (on && !g_.refPointsOn) SetReferenceMode(true);
}

void RefPointControls::ToggleReferencePoints() { SetReferenceMode(!g_.refPointsOn); }

void RefPointControls::TogglePivotData() { SetPivotDataMode(!g_.pivotDataOn); }

void RefPointControls::SetScreenDataShown(bool shown) {
    if (!shown) SetReferenceMode(false);
    centre_[1]->setVisible(shown);
    centre_[2]->setVisible(shown);
}

void RefPointControls::SetZeroEnabled(int point, bool enabled) {
    zero_.at(static_cast<std::size_t>(point))->setEnabled(enabled);
}

void RefPointControls::RefBarChange(int bar, int position) {
    const int point = ReferenceBarStep(g_, bar, position);
    SetZeroEnabled(point, true);
    // The bar rests at 0; putting it back runs this handler once more with 0.
    bars_[static_cast<std::size_t>(bar)]->setValue(0);
}

void RefPointControls::ZeroClick(int point) {
    ZeroReferencePoint(g_, point);
    const int first = point == 1 ? kRef1Vert : kRef2Vert;
    bars_[static_cast<std::size_t>(first)]->setValue(0);
    bars_[static_cast<std::size_t>(first + 1)]->setValue(0);
    SetZeroEnabled(point, false);
}

void RefPointControls::CentreClick(int point) {
    const CentreBars bars = CentreOnReferencePoint(g_, point);
    // Each bar's own jog handler moves the pan once more and returns it to 0.
    if (auto* h = qobject_cast<QScrollBar*>(Find("SBPanHorz"))) h->setValue(bars.panHorz);
    if (auto* v = qobject_cast<QScrollBar*>(Find("SBPanVert"))) v->setValue(bars.panVert);
}

void RefPointControls::PicturePress(int x, int y, PressButton button) {
    const OverlayPickQuery query = overlayQuery_ ? overlayQuery_() : OverlayPickQuery{};
    // The lines-and-circles dialog is shown, and waited for, at its step of
    // the rules: the rules after it see what it did.
    const PressOutcome out = PressOnPicture(g_, x, y, button, query, [this] {
        if (openDrawLines_) openDrawLines_();
    });
    if (out.enableRefPt1Zero) SetZeroEnabled(1, true);
    if (out.enableRefPt2Zero) SetZeroEnabled(2, true);
    if (out.endLocator && endLocator_) endLocator_();
}

} // namespace vx
