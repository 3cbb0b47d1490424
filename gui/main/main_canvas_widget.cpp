#include "gui/main/main_canvas_widget.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QRegion>
#include <QToolBar>
#include <algorithm>

namespace vx {

MainCanvasWidget::MainCanvasWidget(const QImage& frame, QWidget* parent) : QWidget(parent), frame_(frame) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MainCanvasWidget::FrameChanged() {
    constexpr int kStrip = 138;
    const int w = std::min(width(), frame_.width());
    const int h = std::min(kStrip, frame_.height());
    if (w <= 0 || h <= 0) {
        update();
        return;
    }
    const auto size = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    bool all = false;
    if (strip_.size() != size) { // first frame, or a new width
        strip_.assign(size, 0);
        all = true;
    }
    int lo = w, hi = -1;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(frame_.constScanLine(y));
        std::uint32_t* old = strip_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        const auto first = std::mismatch(row, row + w, old);
        if (first.first == row + w) continue;
        int last = w - 1;
        while (last > 0 && row[last] == old[last]) --last;
        lo = std::min(lo, static_cast<int>(first.first - row));
        hi = std::max(hi, last);
        std::copy(row, row + w, old);
    }
    if (all) {
        update();
        return;
    }
    if (hi >= lo) update(QRect(lo, 0, hi - lo + 1, h));
    update(QRect(0, h, width(), height() - h));
}

void MainCanvasWidget::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = e->rect();
    p.drawImage(r.topLeft(), frame_, r);
    // Beyond the picture (a window larger than the picture) stays silver.
    const QRect beyond = r.intersected(QRect(QPoint(0, 0), frame_.size()));
    if (beyond != r) {
        const QRegion rest = QRegion(r).subtracted(QRegion(QRect(QPoint(0, 0), frame_.size())));
        for (const QRect& part : rest) p.fillRect(part, QColor(192, 192, 192));
    }
}

void MainCanvasWidget::mousePressEvent(QMouseEvent* e) {
    if (press_) press_(e);
    QWidget::mousePressEvent(e);
}

void MainCanvasWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (toolBar_) toolBar_->setGeometry(0, 0, width(), toolBar_->height());
}

} // namespace vx
