// A number's decimal point must stand clear of its neighbours on every
// picture: "8.3" drawn with the point pressed against both digits reads as
// "83". Drawn through the image canvas the windows use, in the faces and
// sizes the pictures use for numbers.
#include <algorithm>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/qt/qt_image_canvas.h"

namespace vx {
namespace {

constexpr int kW = 200, kH = 60, kX = 10, kY = 10;

// The image of `text` drawn alone at (kX, kY).
QImage Drawn(std::string_view text, const TextStyle& style) {
    QImageCanvas c(kW, kH);
    c.Clear(colors::kWhite);
    c.Text(kX, kY, text, style);
    return c.Image().copy();
}

bool Inked(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu; }

bool ColumnInked(const QImage& img, int x) {
    for (int y = 0; y < img.height(); ++y)
        if (Inked(img, x, y)) return true;
    return false;
}

struct Span {
    int lo = kW, hi = -1;
    bool Empty() const { return hi < lo; }
};

// Columns of the pixels inked in `with` but not in `without`.
Span NewInk(const QImage& without, const QImage& with) {
    Span s;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (Inked(with, x, y) && !Inked(without, x, y)) {
                s.lo = std::min(s.lo, x);
                s.hi = std::max(s.hi, x);
            }
    return s;
}

Span AllInk(const QImage& img) {
    QImage blank(kW, kH, QImage::Format_RGB32);
    blank.fill(Qt::white);
    return NewInk(blank, img);
}

// An empty column of the whole text strictly between columns a and b.
bool GapBetween(const QImage& whole, int a, int b) {
    for (int x = a + 1; x < b; ++x)
        if (!ColumnInked(whole, x)) return true;
    return false;
}

struct Case {
    const char* what; // where the pictures draw numbers this way
    FontFace face;
    int pixelSize;
};

// The screen data, the reference points, the diagrams' figures and rows and
// the events table draw their numbers at 11 pixels, in the narrow face or the
// sans; the large font moves these texts (by 1.27 and 1.22) and keeps their
// size, so both font sizes draw their numbers this way.
constexpr Case kCases[] = {
    {"screen data, compact diagram rows (narrow)", FontFace::SansNarrow, 11},
    {"diagram figures, events table (sans)", FontFace::Sans, 11},
};

// As the pictures draw them: right-aligned in fields of several widths, so
// the leading spaces shift the digits by fractions of a pixel.
constexpr const char* kNumbers[] = {"8.3", "0.118", "-0.275", "69.08", "3.9", "12.345"};
constexpr int kMaxLead = 3;

TEST(DecimalPoint, StandsClearOfBothNeighbours) {
    for (const Case& k : kCases) {
        TextStyle style;
        style.face = k.face;
        style.pixelSize = k.pixelSize;
        for (int lead = 0; lead <= kMaxLead; ++lead)
        for (const char* n : kNumbers) {
            const std::string padded = std::string(static_cast<std::size_t>(lead), ' ') + n;
            const std::string_view number = padded;
            SCOPED_TRACE(std::string(k.what) + " " + std::to_string(k.pixelSize) + "px \"" + std::string(number) + "\"");
            const std::size_t dot = number.find('.');
            ASSERT_NE(dot, std::string_view::npos);
            // Each glyph is drawn at its own place, so the ink a longer
            // prefix adds is the ink of its last character.
            // The prefixes are drawn in the face the canvas chose for the
            // whole text (shorter texts might get another).
            TextStyle used = style;
            used.face = TextFace(style.face, number);
            const QImage whole = Drawn(number, style);
            ASSERT_EQ(whole, Drawn(number, used));
            const QImage before = Drawn(number.substr(0, dot), used);
            const QImage withDot = Drawn(number.substr(0, dot + 1), used);
            const QImage withNext = Drawn(number.substr(0, dot + 2), used);
            const Span digit = AllInk(before);
            const Span point = NewInk(before, withDot);
            const Span next = NewInk(withDot, withNext);
            ASSERT_FALSE(digit.Empty());
            ASSERT_FALSE(point.Empty()) << "the point is hidden in the digit before it";
            ASSERT_FALSE(next.Empty());
            EXPECT_TRUE(GapBetween(whole, digit.hi, point.lo))
                << "no empty column between the digit (right edge " << digit.hi << ") and the point (left edge "
                << point.lo << ")";
            EXPECT_TRUE(GapBetween(whole, point.hi, next.lo))
                << "no empty column between the point (right edge " << point.hi << ") and the next digit (left edge "
                << next.lo << ")";
        }
    }
}

} // namespace
} // namespace vx
