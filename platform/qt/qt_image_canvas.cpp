#include "platform/qt/qt_image_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

// Lines, ellipses and arcs are rasterised here rather than by QPainter, which
// paints line end pixels and lets flat ellipses overshoot their box. Every
// loop runs over the pixels that can land on the image only, so any int
// coordinates are cheap and safe; the arithmetic is done in int64 (and
// 128-bit where a product of two spans is needed) or double.

namespace vx {

namespace {

using i64 = std::int64_t;

constexpr int kMaxPenWidth = 32;
constexpr int kMaxPixelSize = 512;
// Fonts whose glyphs are kept; other texts are drawn with a painter.
constexpr std::size_t kMaxGlyphFonts = 16;
constexpr int kMaxGlyphPixelSize = 64;

std::uint32_t ToPixel(Rgb c) {
    return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

i64 FloorHalf(i64 v) { return v >> 1; } // floor(v / 2), also for negative v

// Direction from v towards c: +1, -1, or 0 when there.
int Towards(i64 v, i64 c) { return v < c ? 1 : v > c ? -1 : 0; }

i64 RoundToI64(double v) { return static_cast<i64>(std::floor(v + 0.5)); } // |v| well inside int64 here

// The image's pixels for one drawing call, written with clipping.
class Raster {
public:
    Raster(QImage& img, Rgb color)
        : bits_(img.isNull() ? nullptr : img.bits()), bpl_(img.bytesPerLine()), w_(img.width()), h_(img.height()),
          px_(ToPixel(color)) {}

    int W() const { return w_; }
    int H() const { return h_; }

    void Plot(i64 x, i64 y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        reinterpret_cast<std::uint32_t*>(bits_ + y * bpl_)[x] = px_;
    }
    // A width x width block at (x, y), grown towards +1 or -1 (or not: 0)
    // per axis.
    void Block(i64 x, i64 y, int width, int growX, int growY) const {
        for (int j = 0; j < width; ++j)
            for (int i = 0; i < width; ++i) Plot(x + i * growX, y + j * growY);
    }

private:
    uchar* bits_;
    qsizetype bpl_;
    int w_, h_;
    std::uint32_t px_;
};

// Line from (x0, y0) to (x1, y1) without its end pixel: one pixel per step
// along the major axis, the minor coordinate rounded to the nearest pixel of
// the ideal line. Wider pens repeat it across the minor axis.
void RasterLine(const Raster& r, i64 x0, i64 y0, i64 x1, i64 y1, int width) {
    const i64 dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const i64 n = xMajor ? std::abs(dx) : std::abs(dy); // pixels drawn: steps 0 .. n-1
    if (n == 0) return;
    const i64 m = xMajor ? std::abs(dy) : std::abs(dx);
    const i64 stepMajor = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const i64 stepMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const i64 a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
    const i64 extent = xMajor ? r.W() : r.H();

    // Steps whose major coordinate lies on the image.
    i64 lo = stepMajor > 0 ? -a0 : a0 - (extent - 1);
    i64 hi = stepMajor > 0 ? extent - 1 - a0 : a0;
    lo = std::max<i64>(lo, 0);
    hi = std::min(hi, n - 1);
    if (lo > hi) return;

    // Minor offset at step i: floor((2 i m + n) / 2n), kept as quotient and
    // remainder; 2 i m may exceed 64 bits, so start in 128 bits.
    const __int128 num = static_cast<__int128>(2 * lo) * m + n;
    i64 q = static_cast<i64>(num / (2 * n));
    i64 rem = static_cast<i64>(num % (2 * n));
    const int first = -(width / 2);
    for (i64 i = lo; i <= hi; ++i) {
        const i64 a = a0 + stepMajor * i, b = b0 + stepMinor * q;
        for (int k = 0; k < width; ++k) {
            if (xMajor)
                r.Plot(a, b + first + k);
            else
                r.Plot(b + first + k, a);
        }
        rem += 2 * m;
        if (rem >= 2 * n) {
            rem -= 2 * n;
            ++q;
        }
    }
}

// An arc's ends: the radials through (x1, y1) and (x2, y2).
struct ArcEnds {
    i64 x1, y1, x2, y2;
};

// Ellipse (or arc) outline inside the box: columns left .. right-1 and rows
// top .. bottom-1 (at least one of each). Row by row, each row of the upper
// left quarter is a run from just right of the next row's pixel to its own
// pixel on the ideal curve; the other quarters are mirror images.
void RasterEllipse(const Raster& r, i64 left, i64 top, i64 right, i64 bottom, int width, const ArcEnds* arc) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    const i64 x0 = left, x1 = std::max(left, right - 1), y0 = top, y1 = std::max(top, bottom - 1);
    const double cx = 0.5 * static_cast<double>(x0 + x1), cy = 0.5 * static_cast<double>(y0 + y1);
    const double a = 0.5 * static_cast<double>(x1 - x0), b = 0.5 * static_cast<double>(y1 - y0);

    // Arcs keep the pixels whose parametric angle lies counter-clockwise
    // (on the screen) from the start radial, within the span.
    constexpr double kTurn = 2 * std::numbers::pi;
    const double aa = std::max(a, 0.5), bb = std::max(b, 0.5);
    auto angle = [&](i64 x, i64 y) {
        return std::atan2(-(static_cast<double>(y) - cy) / bb, (static_cast<double>(x) - cx) / aa);
    };
    double start = 0, span = kTurn;
    if (arc) {
        start = angle(arc->x1, arc->y1);
        span = std::fmod(angle(arc->x2, arc->y2) - start + 2 * kTurn, kTurn);
        if (span < 1e-12) span = kTurn; // the same radial twice: the whole ellipse
    }
    auto onArc = [&](i64 x, i64 y) {
        if (!arc) return true;
        double d = std::fmod(angle(x, y) - start, kTurn);
        if (d < 0) d += kTurn;
        return d <= span + 1e-9;
    };
    const i64 sum2x = x0 + x1, sum2y = y0 + y1;
    auto plot = [&](i64 x, i64 y) {
        if (!onArc(x, y)) return;
        if (width == 1)
            r.Plot(x, y);
        else // thicken towards the centre, so the box still holds the outline
            r.Block(x, y, width, Towards(2 * x, sum2x), Towards(2 * y, sum2y));
    };
    // A run of the upper left quarter [s, e] on row y, and its mirror image.
    auto run = [&](i64 s, i64 e, i64 y) {
        const i64 lo = -kMaxPenWidth, hi = r.W() + kMaxPenWidth;
        for (i64 x = std::max(s, lo); x <= std::min(e, hi); ++x) plot(x, y);
        for (i64 x = std::max(sum2x - e, lo); x <= std::min(sum2x - s, hi); ++x) plot(x, y);
    };
    // Column of the upper left quarter's curve on row q.
    auto curve = [&](i64 q) {
        const double t = (static_cast<double>(q) - cy) / b;
        return RoundToI64(cx - a * std::sqrt(std::max(0.0, (1 - t) * (1 + t))));
    };

    const i64 rowLo = std::max(y0, i64{-kMaxPenWidth}), rowHi = std::min(y1, i64{r.H()} + kMaxPenWidth);
    if (y0 == y1) { // a single row
        if (rowLo <= rowHi) run(x0, FloorHalf(sum2x), y0);
        return;
    }
    const i64 lastRow = FloorHalf(sum2y); // the quarter's row nearest the centre
    for (i64 y = rowLo; y <= rowHi; ++y) {
        const i64 q = 2 * y <= sum2y ? y : sum2y - y;
        const i64 e = curve(q);
        const i64 s = q == lastRow ? x0 : std::min(e, curve(q + 1) + 1);
        run(s, e, y);
    }
}

int PenWidth(int width) { return std::clamp(width, 1, kMaxPenWidth); }

} // namespace

QImageCanvas::QImageCanvas(int width, int height)
    : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32) {
    image_.fill(ToPixel(colors::kWhite));
    glyphFonts_.reserve(kMaxGlyphFonts); // kept fonts never move
}

int QImageCanvas::Width() const { return image_.width(); }
int QImageCanvas::Height() const { return image_.height(); }

void QImageCanvas::Touch(i64 x0, i64 y0, i64 x1, i64 y1) {
    if (x1 < x0) std::swap(x0, x1);
    if (y1 < y0) std::swap(y0, y1);
    x0 = std::max<i64>(x0, 0);
    y0 = std::max<i64>(y0, 0);
    x1 = std::min<i64>(x1, i64{image_.width()} - 1);
    y1 = std::min<i64>(y1, i64{image_.height()} - 1);
    if (x1 < x0 || y1 < y0) return;
    if (dirtyX1_ < dirtyX0_) {
        dirtyX0_ = static_cast<int>(x0), dirtyY0_ = static_cast<int>(y0);
        dirtyX1_ = static_cast<int>(x1), dirtyY1_ = static_cast<int>(y1);
        return;
    }
    dirtyX0_ = std::min(dirtyX0_, static_cast<int>(x0));
    dirtyY0_ = std::min(dirtyY0_, static_cast<int>(y0));
    dirtyX1_ = std::max(dirtyX1_, static_cast<int>(x1));
    dirtyY1_ = std::max(dirtyY1_, static_cast<int>(y1));
}

void QImageCanvas::Clear(Rgb fill) {
    // Only what was drawn since the last clear with this colour needs it.
    const std::uint32_t px = ToPixel(fill);
    if (allDirty_ || !(clearedWith_ == fill)) {
        image_.fill(px);
    } else if (dirtyX0_ <= dirtyX1_ && !image_.isNull()) {
        uchar* bits = image_.bits();
        const qsizetype bpl = image_.bytesPerLine();
        for (int y = dirtyY0_; y <= dirtyY1_; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(bits + y * bpl);
            std::fill(row + dirtyX0_, row + dirtyX1_ + 1, px);
        }
    }
    allDirty_ = false;
    clearedWith_ = fill;
    dirtyX0_ = dirtyY0_ = 0;
    dirtyX1_ = dirtyY1_ = -1;
    pen_ = colors::kBlack;
    penWidth_ = 1;
    curX_ = curY_ = 0;
}

void QImageCanvas::SetPen(Rgb color, int width) {
    pen_ = color;
    penWidth_ = PenWidth(width);
}

void QImageCanvas::MoveTo(int x, int y) {
    curX_ = x;
    curY_ = y;
}

void QImageCanvas::LineTo(int x, int y) {
    Touch(i64{curX_} - penWidth_, i64{curY_} - penWidth_, i64{x} + penWidth_, i64{y} + penWidth_);
    RasterLine(Raster(image_, pen_), curX_, curY_, x, y, penWidth_);
    curX_ = x;
    curY_ = y;
}

void QImageCanvas::Ellipse(int left, int top, int right, int bottom) {
    Touch(i64{std::min(left, right)} - kMaxPenWidth, i64{std::min(top, bottom)} - kMaxPenWidth,
          i64{std::max(left, right)} + kMaxPenWidth, i64{std::max(top, bottom)} + kMaxPenWidth);
    RasterEllipse(Raster(image_, pen_), left, top, right, bottom, penWidth_, nullptr);
}

void QImageCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
    const ArcEnds ends{x1, y1, x2, y2};
    Touch(i64{std::min(left, right)} - kMaxPenWidth, i64{std::min(top, bottom)} - kMaxPenWidth,
          i64{std::max(left, right)} + kMaxPenWidth, i64{std::max(top, bottom)} + kMaxPenWidth);
    RasterEllipse(Raster(image_, pen_), left, top, right, bottom, penWidth_, &ends);
}

void QImageCanvas::SetPixel(int x, int y, Rgb color) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    Touch(x, y, x, y);
    Raster(image_, color).Plot(x, y);
}

void QImageCanvas::Text(int x, int y, std::string_view utf8, const TextStyle& style) {
    if (image_.isNull() || utf8.empty() || x >= image_.width() || y >= image_.height()) return;
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char ch) { return ch >= ' ' && ch <= '~'; });
    // A narrow text's numbers are drawn in the sans (canvas.h): the style of a run.
    TextStyle sansStyle = style;
    sansStyle.face = FontFace::Sans;
    auto styleOf = [&](FontFace face) -> const TextStyle& { return face == style.face ? style : sansStyle; };
    const bool split = style.face == FontFace::SansNarrow;

    const GlyphFont* base = ascii ? KeptGlyphs(style) : nullptr;
    const GlyphFont* sans = ascii && split ? KeptGlyphs(sansStyle) : base;
    if (ascii && (base == nullptr || sans == nullptr)) {
        base = GlyphsFor(style);
        sans = split ? GlyphsFor(sansStyle) : base;
    }
    if (base != nullptr && sans != nullptr) {
        const int maxWidth = std::max(base->maxWidth, sans->maxWidth);
        // Far left or above: no text is wider than its bytes times the widest glyph.
        if (i64{x} + static_cast<i64>(utf8.size()) * maxWidth <= 0 || i64{y} + base->height <= 0) return;
        auto fontOf = [&](FontFace face) { return face == style.face ? base : sans; };
        double advance = 0;
        ForEachFaceRun(utf8, style.face, [&](std::string_view run, FontFace face) {
            const GlyphFont& gf = *fontOf(face);
            for (char ch : run) advance += gf.glyphs[static_cast<std::size_t>(ch - ' ')].advance;
        });
        const i64 width = static_cast<i64>(std::ceil(advance));
        const int height = std::max(base->height, sans->height);
        // Ink may stray a little beyond the advance box (italics, underline).
        Touch(i64{x} - 4, y, i64{x} + width + 4, i64{y} + height + 2);
        if (style.opaque) {
            const Raster bg(image_, style.background);
            for (i64 row = std::max<i64>(y, 0); row < std::min<i64>(i64{y} + base->height, image_.height()); ++row)
                for (i64 col = std::max<i64>(x, 0); col < std::min<i64>(i64{x} + width, image_.width()); ++col)
                    bg.Plot(col, row);
        }
        const Raster ink(image_, style.color);
        double pen = 0;
        ForEachFaceRun(utf8, style.face, [&](std::string_view run, FontFace face) {
            const GlyphFont& gf = *fontOf(face);
            const i64 top = i64{y} + base->ascent - gf.ascent; // on the text's baseline
            for (char ch : run) {
                const Glyph& gl = gf.glyphs[static_cast<std::size_t>(ch - ' ')];
                const i64 left = i64{x} + static_cast<i64>(std::lround(pen));
                if (left >= image_.width()) return;
                for (const auto& [dx, dy] : gl.ink) ink.Plot(left + dx, top + dy);
                pen += gl.advance;
            }
        });
        return;
    }

    // Texts of glyphs not kept: each run with a painter.
    const QFontMetrics& baseMetrics = FontFor(style);
    const int ascent = baseMetrics.ascent(), height = baseMetrics.height();
    if (i64{x} + static_cast<i64>(utf8.size()) * baseMetrics.maxWidth() * 2 <= 0 || i64{y} + height <= 0) return;
    int width = 0;
    ForEachFaceRun(utf8, style.face, [&](std::string_view run, FontFace face) {
        width += FontFor(styleOf(face)).horizontalAdvance(
            QString::fromUtf8(run.data(), static_cast<qsizetype>(run.size())));
    });
    Touch(x, y, i64{x} + width + 4, i64{y} + height + 2);
    QPainter p(&image_);
    if (style.opaque) p.fillRect(QRect(x, y, width, height), QColor(style.background.r, style.background.g, style.background.b));
    p.setPen(QColor(style.color.r, style.color.g, style.color.b));
    int pen = 0;
    ForEachFaceRun(utf8, style.face, [&](std::string_view run, FontFace face) {
        const QFontMetrics& fm = FontFor(styleOf(face));
        const QString text = QString::fromUtf8(run.data(), static_cast<qsizetype>(run.size()));
        p.setFont(font_);
        p.drawText(QPoint(x + pen, y + ascent), text);
        pen += fm.horizontalAdvance(text);
    });
}

const QImageCanvas::GlyphFont* QImageCanvas::KeptGlyphs(const TextStyle& style) const {
    const int size = std::clamp(style.pixelSize, 1, kMaxPixelSize);
    for (const GlyphFont& gf : glyphFonts_)
        if (gf.face == style.face && gf.size == size && gf.bold == style.bold && gf.underline == style.underline)
            return &gf;
    return nullptr;
}

const QImageCanvas::GlyphFont* QImageCanvas::GlyphsFor(const TextStyle& style) {
    if (const GlyphFont* kept = KeptGlyphs(style)) return kept;
    const QFontMetrics& fm = FontFor(style);
    if (glyphFonts_.size() >= kMaxGlyphFonts || fontSize_ > kMaxGlyphPixelSize) return nullptr;
    GlyphFont gf;
    gf.face = fontFace_;
    gf.size = fontSize_;
    gf.bold = fontBold_;
    gf.underline = fontUnderline_;
    gf.height = fm.height();
    gf.ascent = fm.ascent();
    gf.maxWidth = fm.maxWidth();
    const int pad = std::max(8, fm.maxWidth());
    QImage cell(fm.maxWidth() + 2 * pad, fm.height() + 2 * pad, QImage::Format_RGB32);
    for (int c = ' '; c <= '~'; ++c) {
        const QString text(QChar(static_cast<char16_t>(c)));
        Glyph& gl = gf.glyphs[static_cast<std::size_t>(c - ' ')];
        gl.advance = QFontMetricsF(font_).horizontalAdvance(text);
        cell.fill(Qt::white);
        {
            QPainter p(&cell);
            p.setFont(font_);
            p.setPen(Qt::black);
            p.drawText(QPoint(pad, pad + fm.ascent()), text);
        }
        for (int py = 0; py < cell.height(); ++py) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(cell.constScanLine(py));
            for (int px = 0; px < cell.width(); ++px)
                if ((row[px] & 0xFFFFFFu) != 0xFFFFFFu)
                    gl.ink.emplace_back(static_cast<std::int16_t>(px - pad), static_cast<std::int16_t>(py - pad));
        }
    }
    glyphFonts_.push_back(std::move(gf));
    return &glyphFonts_.back();
}

const QFontMetrics& QImageCanvas::FontFor(const TextStyle& style) {
    const int size = std::clamp(style.pixelSize, 1, kMaxPixelSize);
    if (!metrics_ || fontFace_ != style.face || fontSize_ != size || fontBold_ != style.bold ||
        fontUnderline_ != style.underline) {
        const std::string_view family = FontFamily(style.face);
        font_ = QFont(QString::fromLatin1(family.data(), static_cast<qsizetype>(family.size())));
        font_.setPixelSize(size);
        font_.setBold(style.bold);
        font_.setUnderline(style.underline);
        font_.setStyleStrategy(QFont::NoAntialias);
        font_.setKerning(false); // texts are set glyph by glyph
        fontFace_ = style.face;
        fontSize_ = size;
        fontBold_ = style.bold;
        fontUnderline_ = style.underline;
        metrics_.emplace(font_);
    }
    return *metrics_;
}

} // namespace vx
