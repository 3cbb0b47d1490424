// Every window at the large font is the window at the default font, larger:
// its client area and each control inside it at the default place and size
// times the text factors (within a pixel), every control inside its window,
// no two controls overlapping at the large font that do not at the default
// one, and every label's and button's text inside it. One table over the
// main window (dynamic variables and pivot data shown), its dialogs, the
// positions dialog, the two dimension editors and every diagram window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/controls/control_scale.h"
#include "gui/diagrams/oval_window.h"
#include "gui/diagrams/port_window.h"
#include "gui/diagrams/sensitivity_window.h"
#include "gui/diagrams/sine_window.h"
#include "gui/diagrams/steam_window.h"
#include "gui/diagrams/tolerance_window.h"
#include "gui/diagrams/valve_events_window.h"
#include "gui/diagrams/work_window.h"
#include "gui/editors/cylinder_dimensions_dialog.h"
#include "gui/editors/frame_dimensions_dialog.h"
#include "gui/editors/set_rev_arm_dialog.h"
#include "gui/main/main_form.h"
#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "scene/diagrams/diagram_common.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

constexpr float kLargeX = 1.27f, kLargeY = 1.22f;

// One window under test: made once, then shown at a text scale.
struct Window {
    std::unique_ptr<GearState> ownModel;
    std::unique_ptr<QWidget> top;
    QWidget* client = nullptr; // the area the controls are placed on
    QSize defaultClient;       // its size at the default font
    std::function<void(bool large)> show;
    std::function<void()> hide;
};

// A started gear with all four slots assigned, the dynamic variables and
// the undo line shown, and nine positions.
std::unique_ptr<GearState> BusyModel() {
    auto g = test::StartedDesign();
    const int ids[4] = {2, 3, 4, 5};
    for (int k = 0; k < 4; ++k) {
        g->dynVarSlots[0] = {ids[k], DimensionValue(*g, *FindDimension(ids[k])), FindDimension(ids[k])->shortName};
        SelectDynVar(*g);
    }
    g->dynVarDisplay = g->undoDisplay = true;
    const float c = g->revArm.centre;
    for (int k = 1; k <= kRevArmPositions; ++k)
        g->revArm.position[static_cast<std::size_t>(k)] = c + static_cast<float>(k - 5) * 0.4f;
    g->revArm.positionCount = kRevArmPositions;
    return g;
}

void SetScale(GearState& g, bool large) {
    g.textScaleX = large ? kLargeX : 1.0f;
    g.textScaleY = large ? kLargeY : 1.0f;
}

void Settle() {
    QApplication::processEvents();
    QApplication::processEvents();
}

Window MainWindow() {
    Window w;
    auto form = std::make_unique<TMainForm>();
    TMainForm* f = form.get();
    f->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    for (TMainForm::Command k : {TMainForm::Command::DynamicVari, TMainForm::Command::PivotData,
                                 TMainForm::Command::ReferPoints})
        f->RunCommand(k);
    w.client = f->findChild<QWidget*>(QStringLiteral("MainCanvas"));
    w.defaultClient = QSize(TMainForm::kClientWidth, TMainForm::kClientHeight);
    w.show = [f](bool large) {
        if ((f->Model().textScaleX != 1.0f) != large) f->RunCommand(TMainForm::Command::SetLargeFont);
        f->show();
        f->Tick();
        Settle();
    };
    w.hide = [f] { f->hide(); };
    w.top = std::move(form);
    return w;
}

// One of the main window's other windows, shown (not modal) at each of the
// main window's fonts.
Window MainDialog(const char* objectName) {
    Window w;
    auto form = std::make_unique<TMainForm>();
    TMainForm* f = form.get();
    f->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    auto* d = f->findChild<QDialog*>(QString::fromUtf8(objectName), Qt::FindDirectChildrenOnly);
    EXPECT_NE(d, nullptr) << objectName;
    w.client = d;
    w.show = [f, d](bool large) {
        if ((f->Model().textScaleX != 1.0f) != large) f->RunCommand(TMainForm::Command::SetLargeFont);
        d->show();
        Settle();
    };
    w.hide = [d] { d->hide(); };
    w.top = std::move(form);
    return w;
}

// A dialog over its own busy model, shown (not modal) at each scale.
template <class Dialog, class... Extra>
Window DialogWindow(QSize defaultClient, Extra... extra) {
    Window w;
    w.ownModel = BusyModel();
    GearState* g = w.ownModel.get();
    auto d = std::make_unique<Dialog>(*g, extra...);
    Dialog* dp = d.get();
    w.client = dp;
    w.defaultClient = defaultClient;
    w.show = [g, dp](bool large) {
        SetScale(*g, large);
        dp->show();
        Settle();
    };
    w.hide = [dp] { dp->hide(); };
    w.top = std::move(d);
    return w;
}

// A diagram window over its own busy model, opened as the main window
// opens it, the positions taken as they are.
template <class Diagram>
Window DiagramWindow(QSize defaultClient) {
    Window w;
    w.ownModel = BusyModel();
    GearState* g = w.ownModel.get();
    DiagramHost host;
    host.model = g;
    auto d = std::make_unique<Diagram>(host);
    Diagram* dp = d.get();
    w.client = dp->template findChild<QWidget*>(QStringLiteral("DiagramCanvas"));
    w.defaultClient = defaultClient;
    w.show = [g, dp](bool large) {
        SetScale(*g, large);
        dp->open();
        Settle();
    };
    w.hide = [dp] { dp->done(0); };
    w.top = std::move(d);
    return w;
}

struct Row {
    const char* name;
    std::function<Window()> make;
};

// What a control looks like at one scale, in its client area's pixels.
struct Shown {
    const QWidget* widget;
    const QWidget* parent;
    QRect rect;
    bool visible;
    bool placedByHand; // not by a layout or a tool bar
    bool sizedToText;  // a label: its size follows its text in its font
    int textWidth = -1; // a label's or button's text in its font, -1 for none
    int room = 0;       // the width its text has
};

bool InsideCompound(const QWidget* w, const QWidget* client) {
    for (const QWidget* p = w->parentWidget(); p != nullptr && p != client; p = p->parentWidget())
        if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QMenuBar*>(p) ||
            qobject_cast<const QToolBar*>(p))
            return true;
    return false;
}

bool InLayout(QLayout* layout, const QWidget* w) {
    if (layout == nullptr) return false;
    if (layout->menuBar() == w) return true;
    for (int i = 0; i < layout->count(); ++i)
        if (QLayoutItem* item = layout->itemAt(i); item && (item->widget() == w || InLayout(item->layout(), w)))
            return true;
    return false;
}

std::map<const QWidget*, Shown> Controls(const QWidget* client) {
    std::map<const QWidget*, Shown> out;
    for (const QWidget* w : client->findChildren<QWidget*>()) {
        if (w->isWindow() || InsideCompound(w, client)) continue;
        // A control of no size shows nothing.
        Shown s{w, w->parentWidget(), QRect(w->mapTo(client, QPoint(0, 0)), w->size()),
                w->isVisibleTo(client) && !w->size().isEmpty(),
                qobject_cast<const QToolBar*>(w->parentWidget()) == nullptr && !InLayout(w->parentWidget()->layout(), w),
                qobject_cast<const QLabel*>(w) != nullptr};
        QString text;
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            text = l->text();
            s.room = l->contentsRect().width();
        } else if (const auto* b = qobject_cast<const QAbstractButton*>(w); b && !b->text().isEmpty()) {
            text = b->text();
            s.room = b->width() - 2; // inside the frame
            if (b->inherits("QCheckBox")) s.room = b->width() - 20; // beside the box
        }
        if (!text.isEmpty()) s.textWidth = w->fontMetrics().horizontalAdvance(text.remove(QLatin1Char('&')));
        out.emplace(w, s);
    }
    return out;
}

std::string Name(const QWidget* w) {
    const QString n = w->objectName();
    return (n.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : n).toStdString();
}

std::string Describe(const QRect& r) {
    return "[" + std::to_string(r.left()) + ", " + std::to_string(r.top()) + " " + std::to_string(r.width()) + " x " +
           std::to_string(r.height()) + "]";
}

bool Near(int a, double b) { return std::abs(a - b) <= 1.0 + 1e-9; }

// The checks of one scale alone.
void CheckWindow(const std::map<const QWidget*, Shown>& controls, QSize client, const char* size) {
    SCOPED_TRACE(size);
    const QRect area(QPoint(0, 0), client);
    for (const auto& [w, s] : controls) {
        if (!s.visible) continue;
        EXPECT_TRUE(area.contains(s.rect)) << Name(w) << " " << Describe(s.rect) << " leaves its " << client.width()
                                           << " x " << client.height() << " window";
        if (s.textWidth >= 0)
            EXPECT_LE(s.textWidth, s.room) << "the text of " << Name(w) << " does not fit its " << s.room << " pixels";
    }
}

TEST(LargeFont, EveryWindowIsTheDefaultWindowLarger) {
    const Row rows[] = {
        {"main window", [] { return MainWindow(); }},
        {"positions dialog",
         [] { return DialogWindow<TSetRevArm>(QSize(TSetRevArm::kClientWidth, TSetRevArm::kClientHeight)); }},
        {"frame dimensions", [] { return DialogWindow<TFrameDi>(QSize(), EditorHooks{}); }},
        {"cylinder dimensions", [] { return DialogWindow<TCylDimen>(QSize(), EditorHooks{}); }},
        {"reverse arm position", [] { return MainDialog("RevPos"); }},
        {"driver angle", [] { return MainDialog("DrivAng"); }},
        {"step angle", [] { return MainDialog("StpAng"); }},
        {"graphic zoom", [] { return MainDialog("GraphZoom"); }},
        {"reference points", [] { return MainDialog("TRefPnts"); }},
        {"lines and circles", [] { return MainDialog("DrawLines"); }},
        {"about", [] { return MainDialog("AboutBox"); }},
        {"instructions", [] { return MainDialog("Inst"); }},
        {"balance", [] { return MainDialog("BalanceEvents"); }},
        {"pivot data", [] { return MainDialog("TDataTable"); }},
        {"sine", [] { return DiagramWindow<TSineDia>(QSize(kDiagramWidth, kSineDiagramHeight)); }},
        {"oval", [] { return DiagramWindow<TOvalDia>(QSize(kDiagramWidth, kOvalDiagramHeight)); }},
        {"steam", [] { return DiagramWindow<TSteamDia>(QSize(kDiagramWidth, kSteamDiagramHeight)); }},
        {"port events", [] { return DiagramWindow<TPortDia>(QSize(kDiagramWidth, kPortDiagramHeight)); }},
        {"valve events", [] { return DiagramWindow<TEventsDia>(QSize()); }},
        {"sensitivity", [] { return DiagramWindow<TSensitivityDia>(QSize()); }},
        {"tolerance", [] { return DiagramWindow<TToleranceDia>(QSize()); }},
        {"work", [] { return DiagramWindow<TWorkDia>(QSize()); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Window w = r.make();
        w.show(false);
        const QSize small = w.client->size();
        std::map<const QMenu*, double> menuFonts; // the drop-down menus' sizes
        for (const QMenu* m : w.top->findChildren<QMenu*>()) menuFonts[m] = QFontInfo(m->font()).pixelSize();
        if (w.defaultClient.isValid()) EXPECT_EQ(small, w.defaultClient);
        const std::map<const QWidget*, Shown> before = Controls(w.client);
        CheckWindow(before, small, "default");
        w.hide();
        w.show(true);
        const QSize large = w.client->size();
        const std::map<const QWidget*, Shown> after = Controls(w.client);
        CheckWindow(after, large, "large");
        for (const auto& [menu, size] : menuFonts)
            EXPECT_TRUE(Near(QFontInfo(menu->font()).pixelSize(), size * kLargeY)) << Name(menu) << " keeps its font";
        // The client area grows by the factors.
        EXPECT_EQ(large, QSize(ScaledLength(small.width(), kLargeX), ScaledLength(small.height(), kLargeY)));
        ASSERT_EQ(before.size(), after.size());
        for (const auto& [widget, a] : after) {
            const Shown& b = before.at(widget);
            if (b.visible && a.visible && b.placedByHand) {
                const QRect& c = b.rect;
                const QRect& l = a.rect;
                EXPECT_TRUE(Near(l.left(), c.left() * kLargeX) && Near(l.top(), c.top() * kLargeY) &&
                            (a.sizedToText || (Near(l.left() + l.width(), (c.left() + c.width()) * kLargeX) &&
                                               Near(l.top() + l.height(), (c.top() + c.height()) * kLargeY))))
                    << Name(widget) << " is at " << Describe(l) << ", not the default " << Describe(c)
                    << " times the factors";
            }
            if (!a.visible) continue;
            for (const auto& [other, o] : after) {
                if (other <= widget || !o.visible || o.parent != a.parent) continue;
                const Shown& ob = before.at(other);
                if (a.rect.intersects(o.rect) && !(b.visible && ob.visible && b.rect.intersects(ob.rect)))
                    ADD_FAILURE() << Name(widget) << " " << Describe(a.rect) << " overlaps " << Name(other) << " "
                                  << Describe(o.rect) << " at the large font only";
            }
        }
        w.hide();
        // And back: the default window again.
        w.show(false);
        EXPECT_EQ(w.client->size(), small);
        for (const auto& [widget, b] : Controls(w.client))
            if (b.placedByHand) EXPECT_EQ(b.rect, before.at(widget).rect) << Name(widget) << " back at the default font";
        w.hide();
    }
}

} // namespace
} // namespace vx
