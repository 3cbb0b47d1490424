// QImageCanvas against the raster rules of canvas.h, on small images.
#include <QFontMetrics>
#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <QPainter>

#include "platform/qt/qt_image_canvas.h"

namespace vx {
namespace {

using Pixel = std::pair<int, int>; // x, y
using Pixels = std::set<Pixel>;

constexpr int k28 = 1 << 28;

Pixels Painted(const QImage& img, QRgb background = 0xFFFFFFFF) {
    Pixels out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background) out.insert({x, y});
    return out;
}

// The pixels of the rectangle x0..x1, y0..y1 (inclusive).
Pixels Rect(int x0, int y0, int x1, int y1) {
    Pixels out;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) out.insert({x, y});
    return out;
}

Pixels Diagonal(int x, int y, int dx, int dy, int count) {
    Pixels out;
    for (int i = 0; i < count; ++i) out.insert({x + i * dx, y + i * dy});
    return out;
}

struct Bounds {
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

Bounds BoundsOf(const Pixels& p) {
    Bounds b;
    for (auto [x, y] : p) {
        b.x0 = std::min(b.x0, x);
        b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x);
        b.y1 = std::max(b.y1, y);
    }
    return b;
}

std::string Show(const Pixels& p) {
    std::string s;
    for (auto [x, y] : p) s += "(" + std::to_string(x) + "," + std::to_string(y) + ")";
    return s;
}

struct LineCase {
    const char* name;
    int x0, y0, x1, y1, width;
    Pixels expected;
};

TEST(QImageCanvas, LinesIncludeStartAndExcludeEnd) {
    const std::vector<LineCase> cases = {
        {"right", 2, 5, 8, 5, 1, Rect(2, 5, 7, 5)},
        {"left", 8, 5, 2, 5, 1, Rect(3, 5, 8, 5)},
        {"down", 4, 1, 4, 6, 1, Rect(4, 1, 4, 5)},
        {"up", 4, 6, 4, 1, 1, Rect(4, 2, 4, 6)},
        {"diagonal", 2, 2, 7, 7, 1, Diagonal(2, 2, 1, 1, 5)},
        {"anti-diagonal", 7, 2, 2, 7, 1, Diagonal(7, 2, -1, 1, 5)},
        {"shallow", 0, 0, 5, 2, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {"steep upwards", 3, 9, 4, 5, 1, {{3, 9}, {3, 8}, {4, 7}, {4, 6}}},
        {"one pixel", 5, 5, 6, 5, 1, {{5, 5}}},
        {"zero length", 5, 5, 5, 5, 1, {}},
        {"width 2 right", 5, 5, 10, 5, 2, Rect(5, 4, 9, 5)},
        {"width 2 down", 5, 5, 5, 9, 2, Rect(4, 5, 5, 8)},
        {"width 0 is 1", 2, 5, 8, 5, 0, Rect(2, 5, 7, 5)},
        {"leaves the image", 15, 3, 25, 3, 1, Rect(15, 3, 19, 3)},
        {"enters the image", -5, 3, 4, 3, 1, Rect(0, 3, 3, 3)},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        QImageCanvas canvas(20, 20);
        canvas.SetPen(colors::kBlack, c.width);
        canvas.Line(c.x0, c.y0, c.x1, c.y1);
        const Pixels got = Painted(canvas.Image());
        EXPECT_EQ(got, c.expected) << Show(got);
    }
}

// One pixel per step of the longer axis, each the nearest to the ideal line.
TEST(QImageCanvas, LinesFollowTheIdealLine) {
    const int lines[][4] = {{0, 0, 19, 7}, {19, 0, 0, 13}, {3, 18, 17, 1}, {10, 10, 0, 9}, {1, 19, 18, 0}};
    for (const auto& l : lines) {
        SCOPED_TRACE(testing::Message() << l[0] << "," << l[1] << " -> " << l[2] << "," << l[3]);
        QImageCanvas canvas(20, 20);
        canvas.Line(l[0], l[1], l[2], l[3]);
        const Pixels got = Painted(canvas.Image());
        const int dx = l[2] - l[0], dy = l[3] - l[1];
        EXPECT_EQ(static_cast<int>(got.size()), std::max(std::abs(dx), std::abs(dy)));
        EXPECT_TRUE(got.count({l[0], l[1]}));
        EXPECT_FALSE(got.count({l[2], l[3]}));
        for (auto [x, y] : got) {
            if (std::abs(dx) >= std::abs(dy))
                EXPECT_LE(std::abs(l[1] + double(x - l[0]) * dy / dx - y), 0.5) << x << "," << y;
            else
                EXPECT_LE(std::abs(l[0] + double(y - l[1]) * dx / dy - x), 0.5) << x << "," << y;
        }
    }
}

TEST(QImageCanvas, HostileLinesDrawWhatIsVisible) {
    const std::vector<LineCase> cases = {
        {"far up-right", 10, 10, k28, -k28, 1, Diagonal(10, 10, 1, -1, 10)},
        {"whole int range diagonal", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1, Diagonal(0, 0, 1, 1, 20)},
        {"row across", INT_MAX, 5, INT_MIN, 5, 1, Rect(0, 5, 19, 5)},
        {"column across", 5, -k28, 5, k28, 1, Rect(5, 0, 5, 19)},
        {"column across, width 2", 5, -k28, 5, k28, 2, Rect(4, 0, 5, 19)},
        {"misses the image", INT_MIN, INT_MAX, INT_MAX, INT_MIN, 1, {}},
        {"far away", INT_MIN, INT_MIN, INT_MIN + 5, INT_MAX, 2, {}},
        {"ends on the image", -k28, 7, 3, 7, 1, Rect(0, 7, 2, 7)},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        QImageCanvas canvas(20, 20);
        canvas.SetPen(colors::kBlack, c.width);
        canvas.Line(c.x0, c.y0, c.x1, c.y1);
        const Pixels got = Painted(canvas.Image());
        EXPECT_EQ(got, c.expected) << Show(got);
    }
}

struct EllipseCase {
    const char* name;
    int left, top, right, bottom, width;
    Bounds expected;
};

// Left and top edges inclusive, right and bottom exclusive; outline only,
// symmetric and connected.
TEST(QImageCanvas, EllipsesFillTheirBoxExactly) {
    const std::vector<EllipseCase> cases = {
        {"circle", 2, 2, 13, 13, 1, {2, 2, 12, 12}},
        {"even circle", 2, 2, 12, 12, 1, {2, 2, 11, 11}},
        {"flat, height 3", 1, 5, 19, 8, 1, {1, 5, 18, 7}},
        {"flat, height 2", 1, 5, 19, 7, 1, {1, 5, 18, 6}},
        {"flat, height 1", 1, 5, 19, 6, 1, {1, 5, 18, 5}},
        {"tall, width 3", 5, 1, 8, 19, 1, {5, 1, 7, 18}},
        {"reversed box", 13, 13, 2, 2, 1, {2, 2, 12, 12}},
        {"box of one point", 5, 5, 5, 5, 1, {5, 5, 5, 5}},
        {"box of one pixel", 5, 5, 6, 6, 1, {5, 5, 5, 5}},
        {"circle, width 2", 2, 2, 13, 13, 2, {2, 2, 12, 12}},
        {"flat, height 3, width 2", 1, 5, 19, 8, 2, {1, 5, 18, 7}},
    };
    for (const EllipseCase& c : cases) {
        SCOPED_TRACE(c.name);
        QImageCanvas canvas(20, 20);
        canvas.SetPen(colors::kBlack, c.width);
        canvas.Ellipse(c.left, c.top, c.right, c.bottom);
        const Pixels got = Painted(canvas.Image());
        const Bounds b = BoundsOf(got);
        EXPECT_EQ(b, c.expected) << Show(got);
        for (auto [x, y] : got) {
            EXPECT_TRUE(got.count({b.x0 + b.x1 - x, y})) << "mirror of " << x << "," << y;
            EXPECT_TRUE(got.count({x, b.y0 + b.y1 - y})) << "mirror of " << x << "," << y;
            bool neighbour = got.size() == 1;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i) neighbour |= (i || j) && got.count({x + i, y + j});
            EXPECT_TRUE(neighbour) << "isolated " << x << "," << y;
        }
        if (b.x1 - b.x0 >= 4 && b.y1 - b.y0 >= 4) {
            EXPECT_FALSE(got.count({(b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2})) << "filled";
        }
    }
}

struct HostileShape {
    const char* name;
    int left, top, right, bottom;
    Pixels expected;
};

TEST(QImageCanvas, HostileEllipsesDrawWhatIsVisible) {
    const std::vector<HostileShape> cases = {
        {"huge, top edge on row 5", -k28, 5, k28, 5 + k28, Rect(0, 5, 19, 5)},
        {"huge, right edge on column 9", 10 - 2 * k28, -k28, 10, k28, Rect(9, 0, 9, 19)},
        {"whole int range", INT_MIN, INT_MIN, INT_MAX, INT_MAX, {}},
        {"whole int range, reversed", INT_MAX, INT_MAX, INT_MIN, INT_MIN, {}},
        {"one column tall", 10, INT_MIN, 11, INT_MAX, Rect(10, 0, 10, 19)},
        {"far away", INT_MIN, INT_MIN, INT_MIN + 3, INT_MIN + 3, {}},
    };
    for (const HostileShape& c : cases) {
        SCOPED_TRACE(c.name);
        QImageCanvas canvas(20, 20);
        canvas.Ellipse(c.left, c.top, c.right, c.bottom);
        const Pixels got = Painted(canvas.Image());
        EXPECT_EQ(got, c.expected) << Show(got);
        canvas.SetPen(colors::kBlack, 2);
        canvas.Arc(c.left, c.top, c.right, c.bottom, INT_MIN, INT_MAX, INT_MAX, INT_MIN);
    }
}

struct ArcCase {
    const char* name;
    int left, top, right, bottom, x1, y1, x2, y2;
    Pixels required;
    Bounds allowed;
};

// Counter-clockwise on the screen from the start radial to the end radial.
TEST(QImageCanvas, ArcsKeepTheirSide) {
    const std::vector<ArcCase> cases = {
        {"circle, 3 to 12 o'clock", 0, 0, 20, 20, 20, 9, 10, 0, {{10, 0}, {19, 9}}, {10, 0, 19, 9}},
        {"circle, 12 to 3 o'clock", 0, 0, 20, 20, 9, 0, 20, 9, {{9, 0}, {0, 10}, {9, 19}, {19, 10}}, {0, 0, 19, 19}},
        {"flat, 9 to 3 o'clock", 0, 5, 20, 12, 0, 8, 20, 8, {{0, 8}, {10, 11}, {19, 8}}, {0, 8, 19, 11}},
        {"flat, 3 to 9 o'clock", 0, 5, 20, 12, 20, 8, 0, 8, {{0, 8}, {10, 5}, {19, 8}}, {0, 5, 19, 8}},
    };
    for (const ArcCase& c : cases) {
        SCOPED_TRACE(c.name);
        QImageCanvas canvas(20, 20);
        canvas.Arc(c.left, c.top, c.right, c.bottom, c.x1, c.y1, c.x2, c.y2);
        const Pixels got = Painted(canvas.Image());
        for (const Pixel& p : c.required) EXPECT_TRUE(got.count(p)) << p.first << "," << p.second << " in " << Show(got);
        for (auto [x, y] : got)
            EXPECT_TRUE(x >= c.allowed.x0 && x <= c.allowed.x1 && y >= c.allowed.y0 && y <= c.allowed.y1)
                << x << "," << y;
    }
    // Three quarters: nothing in the quarter between 3 and 12 o'clock.
    QImageCanvas canvas(20, 20);
    canvas.Arc(0, 0, 20, 20, 9, 0, 20, 9);
    for (auto [x, y] : Painted(canvas.Image())) EXPECT_FALSE(x >= 11 && y <= 8) << x << "," << y;
}

TEST(QImageCanvas, ArcFromAndToTheSameRadialIsTheWholeEllipse) {
    QImageCanvas arc(20, 20), ellipse(20, 20);
    arc.Arc(1, 3, 18, 15, 0, 0, 0, 0);
    ellipse.Ellipse(1, 3, 18, 15);
    EXPECT_EQ(Painted(arc.Image()), Painted(ellipse.Image()));
}

TEST(QImageCanvas, ClearFillsResetsPenAndPositionAndKeepsTheBuffer) {
    QImageCanvas canvas(20, 20);
    const uchar* bits = canvas.Image().constBits();
    canvas.SetPen(colors::kRed, 2);
    canvas.MoveTo(10, 10);
    canvas.Clear(colors::kSilver);
    EXPECT_EQ(canvas.Image().constBits(), bits);
    const QRgb silver = qRgb(192, 192, 192);
    EXPECT_TRUE(Painted(canvas.Image(), silver).empty());
    canvas.LineTo(3, 0);
    EXPECT_EQ(Painted(canvas.Image(), silver), Rect(0, 0, 2, 0));
    EXPECT_EQ(canvas.Image().pixel(0, 0), qRgb(0, 0, 0));
}

TEST(QImageCanvas, PixelsOnlyOnTheImage) {
    QImageCanvas canvas(20, 20);
    const int points[][2] = {{3, 4}, {-1, 0}, {0, -1}, {20, 0}, {0, 20}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}};
    for (const auto& p : points) canvas.SetPixel(p[0], p[1], colors::kBlue);
    EXPECT_EQ(Painted(canvas.Image()), Pixels({{3, 4}}));
    EXPECT_EQ(canvas.Image().pixel(3, 4), qRgb(0, 0, 255));
}

QFont FontOf(const TextStyle& s) {
    QFont f(s.face == FontFace::Serif ? "Liberation Serif" : "Liberation Sans");
    f.setPixelSize(s.pixelSize);
    f.setBold(s.bold);
    f.setUnderline(s.underline);
    return f;
}

TEST(QImageCanvas, TextLiesBelowAndRightOfItsPoint) {
    const std::vector<TextStyle> styles = {
        {},
        {FontFace::Serif, 13, true, false, colors::kRed},
        {FontFace::Sans, 11, false, true, colors::kBlue},
        {FontFace::Sans, 11, false, false, colors::kBlack, true, colors::kAqua},
    };
    for (const TextStyle& s : styles) {
        SCOPED_TRACE(testing::Message() << "size " << s.pixelSize << " bold " << s.bold << " underline "
                                        << s.underline << " opaque " << s.opaque);
        QImageCanvas canvas(60, 30);
        canvas.Text(3, 4, "Hg", s);
        const QFontMetrics fm(FontOf(s));
        const Pixels got = Painted(canvas.Image());
        ASSERT_FALSE(got.empty());
        const Bounds b = BoundsOf(got);
        EXPECT_GE(b.x0, 3);
        EXPECT_GE(b.y0, 4);
        EXPECT_LT(b.x1, 3 + fm.horizontalAdvance("Hg") + 1);
        EXPECT_LT(b.y1, 4 + fm.height());
        bool inkColour = false, background = false;
        for (auto [x, y] : got) {
            inkColour |= canvas.Image().pixel(x, y) == qRgb(s.color.r, s.color.g, s.color.b);
            background |= canvas.Image().pixel(x, y) == qRgb(s.background.r, s.background.g, s.background.b);
        }
        EXPECT_TRUE(inkColour);
        EXPECT_EQ(background, s.opaque);
    }
}

TEST(QImageCanvas, TextFarAwayOrPartlyVisible) {
    const int points[][2] = {{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {INT_MIN, 5}, {5, INT_MIN}, {INT_MAX - 1, 5}};
    QImageCanvas canvas(40, 20);
    for (const auto& p : points) canvas.Text(p[0], p[1], "Far away", {});
    EXPECT_TRUE(Painted(canvas.Image()).empty());
    canvas.Text(-4, 2, "Hg", {});
    EXPECT_FALSE(Painted(canvas.Image()).empty());
}

TEST(QImageCanvas, EmptyImageTakesEveryCall) {
    for (auto [w, h] : {std::pair{0, 0}, std::pair{-5, 10}, std::pair{10, 0}}) {
        QImageCanvas canvas(w, h);
        canvas.Clear(colors::kWhite);
        canvas.Line(0, 0, 5, 5);
        canvas.Ellipse(0, 0, 5, 5);
        canvas.Arc(0, 0, 5, 5, 0, 0, 5, 5);
        canvas.SetPixel(0, 0, colors::kRed);
        canvas.Text(0, 0, "x", {});
        EXPECT_EQ(canvas.Width() * canvas.Height(), 0);
    }
}

// Clear fills only what was drawn since the last clear with that colour;
// whatever was drawn, and wherever, the picture comes back whole.
TEST(QImageCanvas, ClearRestoresEveryDrawnPixel) {
    QImageCanvas canvas(80, 60);
    for (int round = 0; round < 2; ++round) {
        canvas.Clear(colors::kWhite);
        canvas.SetPen(colors::kRed, 3);
        canvas.Line(-20, 5, 100, 50);
        canvas.Ellipse(70, 50, 95, 75);
        canvas.Arc(-10, -10, 10, 10, 0, -10, 10, 0);
        canvas.SetPixel(79, 59, colors::kBlue);
        canvas.SetPixel(-1, 5, colors::kBlue);
        canvas.Text(60, 45, "Wide text at the corner", {});
        canvas.Text(2, 2, "\xC2\xB0 non-ASCII", {});
    }
    canvas.Clear(colors::kWhite);
    EXPECT_TRUE(Painted(canvas.Image()).empty());
    // Another colour, or writes straight into the image, fill it all.
    canvas.Clear(colors::kAqua);
    EXPECT_EQ(canvas.Image().pixel(79, 59), qRgb(0, 255, 255));
    canvas.Image().setPixel(40, 30, qRgb(1, 2, 3));
    canvas.Clear(colors::kAqua);
    EXPECT_EQ(canvas.Image().pixel(40, 30), qRgb(0, 255, 255));
}

// Texts set glyph by glyph from the kept glyphs take the painter's place and
// width (without kerning), each glyph within a pixel of the painter's.
TEST(QImageCanvas, KeptGlyphsMatchThePainter) {
    for (const TextStyle& s : {TextStyle{}, TextStyle{FontFace::Serif, 13, true, true, colors::kRed}}) {
        QImageCanvas canvas(200, 30);
        canvas.Clear(colors::kWhite);
        canvas.Text(3, 4, "Rev Arm  7.622  Wy", s);
        QImage ref(200, 30, QImage::Format_RGB32);
        ref.fill(Qt::white);
        QFont f = FontOf(s);
        f.setStyleStrategy(QFont::NoAntialias);
        f.setKerning(false);
        {
            QPainter p(&ref);
            p.setFont(f);
            p.setPen(QColor(s.color.r, s.color.g, s.color.b));
            p.drawText(QPoint(3, 4 + QFontMetrics(f).ascent()), QStringLiteral("Rev Arm  7.622  Wy"));
        }
        const Bounds got = BoundsOf(Painted(canvas.Image()));
        const Bounds want = BoundsOf(Painted(ref));
        EXPECT_NEAR(got.x0, want.x0, 1);
        EXPECT_NEAR(got.x1, want.x1, 1);
        EXPECT_EQ(got.y0, want.y0);
        EXPECT_EQ(got.y1, want.y1);
        EXPECT_NEAR(Painted(canvas.Image()).size(), Painted(ref).size(), Painted(ref).size() / 20);
    }
}

} // namespace
} // namespace vx
