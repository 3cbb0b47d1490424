// A canvas that draws nothing: for running a drawing only for its effects
// on the model or for the figures it computes.
#pragma once

#include "platform/canvas.h"

namespace vx {

class NullCanvas final : public Canvas {
public:
    NullCanvas(int width = 1280, int height = 1024) : width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Clear(Rgb) override {}
    void SetPen(Rgb, int) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Ellipse(int, int, int, int) override {}
    void Arc(int, int, int, int, int, int, int, int) override {}
    void SetPixel(int, int, Rgb) override {}
    void Text(int, int, std::string_view, const TextStyle&) override {}

private:
    int width_, height_;
};

} // namespace vx
