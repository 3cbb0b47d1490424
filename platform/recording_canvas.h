// A canvas that records every call, for tests that check what was drawn
// where, in which order and with which pen.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace vx {

class RecordingCanvas final : public Canvas {
public:
    enum class Kind { Clear, Pen, MoveTo, LineTo, Ellipse, Arc, Pixel, Text };
    struct Op {
        Kind kind;
        Rgb color;      // pen colour in effect (Pixel/Text/Clear: their own colour)
        int width = 1;  // pen width in effect
        int a[8] = {};  // coordinates in call order
        std::string text;
        TextStyle style;
    };

    explicit RecordingCanvas(int width = 1280, int height = 1024) : width_(width), height_(height) {}

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Clear(Rgb fill) override;
    void SetPen(Rgb color, int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override;
    void SetPixel(int x, int y, Rgb color) override;
    void Text(int x, int y, std::string_view utf8, const TextStyle& style) override;

    const std::vector<Op>& Ops() const { return ops_; }
    void Reset() { ops_.clear(); }

    // Segments drawn (from MoveTo/LineTo), with the pen of each.
    struct Segment {
        int x1, y1, x2, y2;
        Rgb color;
        int width;
    };
    std::vector<Segment> Segments() const;

private:
    void Push(Kind k, std::initializer_list<int> coords, Rgb color);
    int width_, height_;
    Rgb pen_ = colors::kBlack;
    int penWidth_ = 1;
    std::vector<Op> ops_;
};

} // namespace vx
