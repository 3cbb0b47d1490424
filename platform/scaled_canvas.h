// A canvas that draws a picture laid out for one size onto another canvas,
// larger or smaller by the factors (sx, sy): every point (x, y) lands on
// (nearest(x × sx), nearest(y × sy)), boxes by their corners, a pixel or a
// filled box covers the whole area it scales to (no gaps between rows), and
// a text's pixel size is scaled by sy. Lines keep their pen width, so a
// larger picture has the same crisp one-pixel lines.
#pragma once

#include "platform/canvas.h"

namespace vx {

class ScaledCanvas final : public Canvas {
public:
    ScaledCanvas(Canvas& target, float sx, float sy);

    // The laid-out size that fills the target.
    int Width() const override;
    int Height() const override;
    void Clear(Rgb fill) override;
    void SetPen(Rgb color, int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override;
    void SetPixel(int x, int y, Rgb color) override;
    void Text(int x, int y, std::string_view utf8, const TextStyle& style) override;
    void FillRect(int left, int top, int right, int bottom, Rgb color) override;

    int X(int x) const;
    int Y(int y) const;

private:
    Canvas& target_;
    double sx_, sy_;
};

} // namespace vx
