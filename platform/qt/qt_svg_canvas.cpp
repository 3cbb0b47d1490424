#include "platform/qt/qt_svg_canvas.h"
#include "platform/qt/qt_picture_file.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>

#include "base/fixed_format.h"

// The picture is kept as SVG text. Coordinates are pixel centres (x + 0.5).
// Shapes entirely off the picture are left out and lines are clipped to a
// margin around it, so absurd coordinates never reach the file.

namespace vx {

namespace {

using i64 = std::int64_t;

constexpr int kMaxPenWidth = 32;
constexpr int kMaxPixelSize = 512;
constexpr double kTurn = 2 * std::numbers::pi;

std::string Num(double v) {
    char buf[kNumberBuffer];
    std::string s(FormatFixed(buf, v, 0, 2));
    if (s.find('.') == std::string::npos) return s; // nan, inf
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Color(Rgb c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

// XML text: markup characters escaped, control characters dropped.
std::string Escape(const QString& text) {
    QString out;
    for (QChar ch : text) {
        if (ch == u'&') out += QStringLiteral("&amp;");
        else if (ch == u'<') out += QStringLiteral("&lt;");
        else if (ch == u'>') out += QStringLiteral("&gt;");
        else if (ch == u'"') out += QStringLiteral("&quot;");
        else if (ch.unicode() >= 0x20 || ch == u'\t') out += ch;
    }
    return out.toStdString();
}

} // namespace

struct SvgCanvas::Impl {
    int width, height;
    Rgb background = colors::kWhite;
    std::string body;   // finished elements
    std::string path;   // the polyline being drawn, still open
    double pathEndX = 0, pathEndY = 0;
    Rgb pen = colors::kBlack;
    int penWidth = 1;
    int curX = 0, curY = 0;

    void ClosePath() {
        if (path.empty()) return;
        body += path + "\"/>\n";
        path.clear();
    }
    std::string Stroke() const {
        return " fill=\"none\" stroke=\"" + Color(pen) + "\" stroke-width=\"" + std::to_string(penWidth) + "\"";
    }
    // The box (x0, y0) .. (x1, y1), inclusive pixel columns and rows, meets
    // the picture (with a margin for the pen).
    bool Visible(i64 x0, i64 y0, i64 x1, i64 y1) const {
        return x1 >= -kMaxPenWidth && y1 >= -kMaxPenWidth && x0 <= width + kMaxPenWidth && y0 <= height + kMaxPenWidth;
    }
};

SvgCanvas::SvgCanvas(int width, int height) : d_(std::make_unique<Impl>()) {
    d_->width = std::max(width, 0);
    d_->height = std::max(height, 0);
}

SvgCanvas::~SvgCanvas() = default;

int SvgCanvas::Width() const { return d_->width; }
int SvgCanvas::Height() const { return d_->height; }

void SvgCanvas::Clear(Rgb fill) {
    d_->background = fill;
    d_->body.clear();
    d_->path.clear();
    d_->pen = colors::kBlack;
    d_->penWidth = 1;
    d_->curX = d_->curY = 0;
}

void SvgCanvas::SetPen(Rgb color, int width) {
    d_->ClosePath();
    d_->pen = color;
    d_->penWidth = std::clamp(width, 1, kMaxPenWidth);
}

void SvgCanvas::MoveTo(int x, int y) {
    d_->curX = x;
    d_->curY = y;
}

void SvgCanvas::LineTo(int x, int y) {
    Impl& d = *d_;
    // Clip to a margin around the picture (Liang-Barsky).
    const double x0 = d.curX + 0.5, y0 = d.curY + 0.5, dx = double(x) - d.curX, dy = double(y) - d.curY;
    d.curX = x;
    d.curY = y;
    if (dx == 0 && dy == 0) return;
    const double margin = 2.0 * kMaxPenWidth;
    double t0 = 0, t1 = 1;
    auto clip = [&](double p, double q) { // keep where p t <= q
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!clip(-dx, x0 + margin) || !clip(dx, d.width + margin - x0) || !clip(-dy, y0 + margin) ||
        !clip(dy, d.height + margin - y0))
        return;
    const double sx = x0 + t0 * dx, sy = y0 + t0 * dy, ex = x0 + t1 * dx, ey = y0 + t1 * dy;
    if (d.path.empty() || sx != d.pathEndX || sy != d.pathEndY) {
        d.ClosePath();
        d.path = "<path" + d.Stroke() + " d=\"M" + Num(sx) + " " + Num(sy);
    }
    d.path += " L" + Num(ex) + " " + Num(ey);
    d.pathEndX = ex;
    d.pathEndY = ey;
}

void SvgCanvas::Ellipse(int left, int top, int right, int bottom) {
    Arc(left, top, right, bottom, 0, 0, 0, 0);
}

void SvgCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
    Impl& d = *d_;
    d.ClosePath();
    // The same box rule as the image canvas: columns left .. right-1, rows
    // top .. bottom-1, at least one of each.
    const i64 l = std::min(left, right), r = std::max(left, right), t = std::min(top, bottom), b = std::max(top, bottom);
    const i64 px0 = l, px1 = std::max(l, r - 1), py0 = t, py1 = std::max(t, b - 1);
    if (!d.Visible(px0, py0, px1, py1)) return;
    if (px0 == px1 && py0 == py1) {
        SetPixel(static_cast<int>(px0), static_cast<int>(py0), d.pen);
        return;
    }
    const double cx = 0.5 * double(px0 + px1) + 0.5, cy = 0.5 * double(py0 + py1) + 0.5;
    const double rx = std::max(0.5 * double(px1 - px0), 0.5), ry = std::max(0.5 * double(py1 - py0), 0.5);
    auto angle = [&](int x, int y) { return std::atan2(-(y + 0.5 - cy) / ry, (x + 0.5 - cx) / rx); };
    const double start = angle(x1, y1);
    const double span = std::fmod(angle(x2, y2) - start + 2 * kTurn, kTurn);
    if (span < 1e-12) { // the whole ellipse (also the same radial twice)
        d.body += "<ellipse cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" rx=\"" + Num(rx) + "\" ry=\"" + Num(ry) + "\"" +
                  d.Stroke() + "/>\n";
        return;
    }
    const double end = start + span;
    // Counter-clockwise on the screen is SVG's negative sweep.
    d.body += "<path" + d.Stroke() + " d=\"M" + Num(cx + rx * std::cos(start)) + " " + Num(cy - ry * std::sin(start)) +
              " A" + Num(rx) + " " + Num(ry) + " 0 " + (span > std::numbers::pi ? "1" : "0") + " 0 " +
              Num(cx + rx * std::cos(end)) + " " + Num(cy - ry * std::sin(end)) + "\"/>\n";
}

void SvgCanvas::SetPixel(int x, int y, Rgb color) {
    if (x < 0 || y < 0 || x >= d_->width || y >= d_->height) return;
    d_->ClosePath();
    d_->body += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"1\" height=\"1\" fill=\"" +
                Color(color) + "\"/>\n";
}

void SvgCanvas::Text(int x, int y, std::string_view utf8, const TextStyle& style) {
    Impl& d = *d_;
    if (utf8.empty() || x >= d.width || y >= d.height) return;
    const int size = std::clamp(style.pixelSize, 1, kMaxPixelSize);
    const bool serif = style.face == FontFace::Serif;
    const bool fonts = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    auto fontOf = [&](FontFace face) {
        const std::string_view family = FontFamily(face);
        QFont font(QString::fromLatin1(family.data(), static_cast<qsizetype>(family.size())));
        font.setPixelSize(size);
        font.setBold(style.bold);
        return font;
    };
    // Metrics from the font when the fonts are at hand, else the faces' typical ones.
    double advance = 0, ascent = (serif ? 0.891 : 0.905) * size, height = 1.15 * size;
    if (fonts) {
        const QFontMetricsF fm(fontOf(style.face));
        ascent = fm.ascent();
        height = fm.height();
    }
    // A narrow text's numbers are runs in the sans (canvas.h): spans of the
    // text, each set where the one before ends.
    std::string spans;
    ForEachFaceRun(utf8, style.face, [&](std::string_view run, FontFace face) {
        const QString text = QString::fromUtf8(run.data(), static_cast<qsizetype>(run.size()));
        advance += fonts ? QFontMetricsF(fontOf(face)).horizontalAdvance(text) : 0.55 * size * text.size();
        if (face == style.face)
            spans += Escape(text);
        else
            spans += "<tspan font-family=\"" + std::string(FontFamily(face)) + "\">" + Escape(text) + "</tspan>";
    });
    if (x + advance <= 0 || y + height <= 0) return;
    d.ClosePath();
    if (style.opaque)
        d.body += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" + Num(advance) +
                  "\" height=\"" + Num(height) + "\" fill=\"" + Color(style.background) + "\"/>\n";
    d.body += "<text x=\"" + std::to_string(x) + "\" y=\"" + Num(y + ascent) + "\" font-family=\"" +
              std::string(FontFamily(style.face)) + "\" font-size=\"" + std::to_string(size) + "\"" +
              (style.bold ? " font-weight=\"bold\"" : "") + (style.underline ? " text-decoration=\"underline\"" : "") +
              " fill=\"" + Color(style.color) + "\">" + spans + "</text>\n";
}

bool SvgCanvas::Save(const QString& path, QString* error) const {
    const std::string w = std::to_string(d_->width), h = std::to_string(d_->height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w + "\" height=\"" + h +
                      "\" viewBox=\"0 0 " + w + " " + h + "\" xml:space=\"preserve\">\n"
                      "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"" +
                      Color(d_->background) + "\"/>\n" +
                      d_->body;
    if (!d_->path.empty()) out += d_->path + "\"/>\n";
    out += "</svg>\n";

    const QString failure = WriteWholeFile(path, QByteArray(out.data(), static_cast<qsizetype>(out.size())));
    if (!failure.isEmpty() && error) *error = failure;
    return failure.isEmpty();
}

} // namespace vx
