#include "platform/scaled_canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/workspace/view.h"

namespace vx {

ScaledCanvas::ScaledCanvas(Canvas& target, float sx, float sy)
    : target_(target), sx_(sx > 0 ? sx : 1.0f), sy_(sy > 0 ? sy : 1.0f) {}

int ScaledCanvas::X(int x) const { return Nearest(x * sx_); }
int ScaledCanvas::Y(int y) const { return Nearest(y * sy_); }

int ScaledCanvas::Width() const { return static_cast<int>(std::floor(target_.Width() / sx_ + 1e-9)); }
int ScaledCanvas::Height() const { return static_cast<int>(std::floor(target_.Height() / sy_ + 1e-9)); }

void ScaledCanvas::Clear(Rgb fill) { target_.Clear(fill); }
void ScaledCanvas::SetPen(Rgb color, int width) { target_.SetPen(color, width); }
void ScaledCanvas::MoveTo(int x, int y) { target_.MoveTo(X(x), Y(y)); }
void ScaledCanvas::LineTo(int x, int y) { target_.LineTo(X(x), Y(y)); }

void ScaledCanvas::Ellipse(int left, int top, int right, int bottom) {
    target_.Ellipse(X(left), Y(top), X(right), Y(bottom));
}

void ScaledCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
    target_.Arc(X(left), Y(top), X(right), Y(bottom), X(x1), Y(y1), X(x2), Y(y2));
}

void ScaledCanvas::SetPixel(int x, int y, Rgb color) {
    // The area pixel (x, y) scales to, at least one pixel.
    const int r = std::max(X(x) + 1, Nearest((static_cast<double>(x) + 1) * sx_));
    const int b = std::max(Y(y) + 1, Nearest((static_cast<double>(y) + 1) * sy_));
    for (int py = Y(y); py < b; ++py)
        for (int px = X(x); px < r; ++px) target_.SetPixel(px, py, color);
}

void ScaledCanvas::Text(int x, int y, std::string_view utf8, const TextStyle& style) {
    TextStyle s = style;
    s.pixelSize = std::max(1, Nearest(style.pixelSize * sy_));
    target_.Text(X(x), Y(y), utf8, s);
}

void ScaledCanvas::FillRect(int left, int top, int right, int bottom, Rgb color) {
    target_.FillRect(X(left), Y(top), X(right), Y(bottom), color);
}

} // namespace vx
