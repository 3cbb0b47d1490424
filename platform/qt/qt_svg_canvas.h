// Canvas that records a picture as SVG (vector export). Same raster rules
// as the QImage canvas, expressed as vector shapes.
#pragma once

#include <QString>
#include <memory>

#include "platform/canvas.h"

namespace vx {

class SvgCanvas final : public Canvas {
public:
    SvgCanvas(int width = 1280, int height = 1024);
    ~SvgCanvas() override;

    // Writes the picture drawn so far (through a temporary file, see
    // qt_picture_file.h). On failure returns false and sets *error to a
    // message naming the file and the reason; an existing file is left as
    // it was.
    bool Save(const QString& path, QString* error) const;

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
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace vx
