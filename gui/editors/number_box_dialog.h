// What the program's dialogs with number boxes share: the one key filter and
// focus-loss handler of every box (a box is known by its number), the boxes
// themselves, the dialog font, and a dialog that draws its texts through a
// Canvas.
#pragma once

#include <QDialog>
#include <QObject>
#include <functional>

#include "gui/editors/key_filter.h"
#include "platform/qt/qt_image_canvas.h"

class QLineEdit;
class QPushButton;

namespace vx {

// Installed on every box of one dialog. Keys go through FilterKey; the
// handlers get the box's number.
class NumberBoxFilter final : public QObject {
public:
    struct Handlers {
        std::function<void(int)> accepted; // the box took a typed character (Backspace, Delete too)
        std::function<void(int)> enter;    // Enter, when the rules make it commit
        std::function<void(int)> anyKey;   // any key pressed in the box, taken or not
        std::function<void(int)> left;     // the box lost the focus (edited or not)
    };
    NumberBoxFilter(KeyRules rules, Handlers handlers, QObject* parent);
    void Attach(QLineEdit* box, int number);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    KeyRules rules_;
    Handlers handlers_;
};

// The dialogs' font: the classic 8-point sans serif, as 11-pixel Liberation Sans.
QFont DialogFont();

// A number box: borderless with a coloured background (the editors' silver
// and white boxes) or with the usual frame.
QLineEdit* MakeNumberBox(QWidget* parent, const char* name, QRect geometry, bool frame, QColor background);
QPushButton* MakeDialogButton(QWidget* parent, const char* name, const QString& caption, QRect geometry);

// A dialog of fixed client size whose texts are drawn through a Canvas on
// every repaint; DrawSurface clears the surface and draws them in the
// default layout. With a text scale to follow, the dialog is shown at that
// scale: its controls, its size and its drawing larger as a whole.
class CanvasDialog : public QDialog {
public:
    CanvasDialog(int clientWidth, int clientHeight, QWidget* parent);

    void setVisible(bool visible) override;

protected:
    virtual void DrawSurface(Canvas& c) = 0;
    Rgb Background() const;
    void paintEvent(QPaintEvent* e) override;
    // The text scale factors the dialog takes each time it is shown.
    void FollowTextScale(const float* sx, const float* sy);

private:
    QImageCanvas surface_;
    const float* followX_ = nullptr;
    const float* followY_ = nullptr;
    float sx_ = 1, sy_ = 1;
};

} // namespace vx
