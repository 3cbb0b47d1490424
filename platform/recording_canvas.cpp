#include "platform/recording_canvas.h"

namespace vx {

void RecordingCanvas::Push(Kind k, std::initializer_list<int> coords, Rgb color) {
    Op op{k, color, penWidth_, {}, {}, {}};
    int i = 0;
    for (int v : coords) op.a[i++] = v;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::Clear(Rgb fill) {
    pen_ = colors::kBlack;
    penWidth_ = 1;
    Push(Kind::Clear, {}, fill);
}

void RecordingCanvas::SetPen(Rgb color, int width) {
    pen_ = color;
    penWidth_ = width;
    Push(Kind::Pen, {width}, color);
}

void RecordingCanvas::MoveTo(int x, int y) { Push(Kind::MoveTo, {x, y}, pen_); }
void RecordingCanvas::LineTo(int x, int y) { Push(Kind::LineTo, {x, y}, pen_); }

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom) {
    Push(Kind::Ellipse, {left, top, right, bottom}, pen_);
}

void RecordingCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
    Push(Kind::Arc, {left, top, right, bottom, x1, y1, x2, y2}, pen_);
}

void RecordingCanvas::SetPixel(int x, int y, Rgb color) { Push(Kind::Pixel, {x, y}, color); }

void RecordingCanvas::Text(int x, int y, std::string_view utf8, const TextStyle& style) {
    Push(Kind::Text, {x, y}, style.color);
    ops_.back().text.assign(utf8);
    ops_.back().style = style;
}

std::vector<RecordingCanvas::Segment> RecordingCanvas::Segments() const {
    std::vector<Segment> out;
    int cx = 0, cy = 0;
    for (const Op& op : ops_) {
        if (op.kind == Kind::MoveTo) {
            cx = op.a[0];
            cy = op.a[1];
        } else if (op.kind == Kind::LineTo) {
            out.push_back({cx, cy, op.a[0], op.a[1], op.color, op.width});
            cx = op.a[0];
            cy = op.a[1];
        }
    }
    return out;
}

} // namespace vx
