#include "gui/controls/menu_bar_fit_form.h"

#include <QAction>
#include <QMenuBar>
#include <QStyle>
#include <vector>

#include "gui/controls/control_scale.h"
#include "platform/qt/qt_fonts.h"

namespace vx {
namespace {

struct Candidate {
    UiFace face;
    int pixelSize;
};

constexpr Candidate kCandidates[] = {
    {UiFace::Sans, 12},
    {UiFace::SansNarrow, 12},
    {UiFace::SansNarrow, 11},
};

// The right edge of the bar's last item with every item shown, measured by
// the bar's own layout.
int ItemsRight(QMenuBar* bar) {
    std::vector<QAction*> hidden;
    for (QAction* a : bar->actions())
        if (!a->isVisible()) hidden.push_back(a);
    for (QAction* a : hidden) a->setVisible(true);
    int right = 0;
    for (QAction* a : bar->actions()) right = std::max(right, bar->actionGeometry(a).right() + 1);
    for (QAction* a : hidden) a->setVisible(false);
    return right;
}

} // namespace

int FitMenuBarFont(QMenuBar* bar, int width, float scale) {
    const int frame = bar->style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, bar);
    int right = 0;
    for (const Candidate& c : kCandidates) {
        bar->setFont(UiFont(c.face, std::max(1, ScaledLength(c.pixelSize, SaneTextScale(scale)))));
        right = ItemsRight(bar);
        if (right + frame <= width) break;
    }
    return right;
}

} // namespace vx
