// Canvas on a QImage (RGB32), without antialiasing, honouring the classic
// raster rules of canvas.h. The image is allocated once and reused.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <optional>

#include "platform/canvas.h"

namespace vx {

class QImageCanvas final : public Canvas {
public:
    QImageCanvas(int width = 1280, int height = 1024);

    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

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

private:
    const QFontMetrics& FontFor(const TextStyle& style); // sets font_

    QImage image_;
    Rgb pen_ = colors::kBlack;
    int penWidth_ = 1;
    int curX_ = 0, curY_ = 0;
    // The font of the last text, kept while the style's font stays the same.
    QFont font_;
    std::optional<QFontMetrics> metrics_;
    FontFace fontFace_ = FontFace::Sans;
    int fontSize_ = 0;
    bool fontBold_ = false, fontUnderline_ = false;
};

} // namespace vx
