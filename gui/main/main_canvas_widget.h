// The main window's client area: shows the last composed frame and carries
// every control of the window on top of it. Repaints only what a new frame
// changed; hands mouse presses on the picture to the window.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QImage;
class QMouseEvent;
class QToolBar;

namespace vx {

class MainCanvasWidget final : public QWidget {
public:
    // `frame` is the image the tick composes into; it outlives the widget.
    MainCanvasWidget(const QImage& frame, QWidget* parent);

    // The tool bar spans the widget's width.
    void SetToolBar(QToolBar* bar) { toolBar_ = bar; }
    void SetPressHandler(std::function<void(QMouseEvent*)> h) { press_ = std::move(h); }

    // A new frame was composed: repaint what it changed. Below the control
    // strip the gear moves everywhere; in the strip, behind the buttons and
    // bars, only the columns whose pixels changed are repainted, so the
    // controls there are not redrawn on every tick.
    void FrameChanged();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    const QImage& frame_;
    QToolBar* toolBar_ = nullptr;
    std::function<void(QMouseEvent*)> press_;
    std::vector<std::uint32_t> strip_; // the control strip of the last frame shown
};

} // namespace vx
