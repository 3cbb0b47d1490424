// A number's decimal point stands clear of its digits: drawn through each
// canvas (the window's image, SVG and PDF) in the faces the pictures draw
// numbers in, at the default and the large text size, there is an empty
// column between the digit before the point and the point, and between the
// point and the digit after it, wherever in a text the number starts.
#include <gtest/gtest.h>

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/qt/qt_image_canvas.h"
#include "platform/qt/qt_pdf_canvas.h"
#include "platform/qt/qt_svg_canvas.h"
#include "tests/kit/poppler.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

constexpr const char* kNumbers[] = {"8.3", "0.118", "-0.275", "69.08", "3.9", "12.345"};
// Labels and the leading spaces of right-aligned fields the numbers follow
// on the pictures, which set where the number's glyphs fall between pixels.
constexpr const char* kPrefixes[] = {"", " ", "  ", "   ", "FrontCO%  ", "Pt1V ", "ValveFSt", "Rev Arm  ", "x"};
constexpr int kSizes[] = {11, 14}; // the default and the large text
constexpr FontFace kFaces[] = {FontFace::SansNarrow, FontFace::Sans};

constexpr int kWidth = 200, kHeight = 40, kX = 4, kY = 6;

struct Case {
    std::string prefix, number;
    TextStyle style;
    std::string Name() const {
        return "\"" + prefix + number + "\" in " + std::string(FontFamily(style.face)) + " " +
               std::to_string(style.pixelSize) + " px";
    }
};

std::vector<Case> Cases() {
    std::vector<Case> out;
    for (FontFace face : kFaces)
        for (int size : kSizes)
            for (const char* prefix : kPrefixes)
                for (const char* number : kNumbers) {
                    TextStyle s;
                    s.face = face;
                    s.pixelSize = size;
                    out.push_back({prefix, number, s});
                }
    return out;
}

bool Ink(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 160; }

// The rightmost column of ink, or -1.
int RightmostInk(const QImage& img) {
    for (int x = img.width() - 1; x >= 0; --x)
        for (int y = 0; y < img.height(); ++y)
            if (Ink(img, x, y)) return x;
    return -1;
}

// Whether the number drawn right of column `from` shows its point clear:
// the point is the run of columns whose ink lies only in the lowest rows of
// the number's ink, and the columns either side of that run are empty,
// with the digits' ink beyond them.
std::string PointClear(const QImage& img, int from) {
    const int w = img.width(), h = img.height();
    std::vector<int> top(w, h), bottom(w, -1);
    int inkTop = h, inkBottom = -1;
    for (int x = from + 1; x < w; ++x)
        for (int y = 0; y < h; ++y)
            if (Ink(img, x, y)) {
                top[x] = std::min(top[x], y);
                bottom[x] = std::max(bottom[x], y);
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
    if (inkBottom < 0) return "no ink";
    const int low = inkBottom - std::max(1, (inkBottom - inkTop) / 4);
    auto empty = [&](int x) { return x <= from || x >= w || bottom[x] < 0; };
    auto pointOnly = [&](int x) { return !empty(x) && top[x] > low; };
    std::string columns;
    for (int x = from + 1; x < w; ++x) columns += empty(x) ? '_' : pointOnly(x) ? '.' : '#';
    for (int x = from + 1; x < w; ++x) {
        if (!pointOnly(x)) continue;
        int end = x;
        while (end + 1 < w && pointOnly(end + 1)) ++end;
        bool inkLeft = false, inkRight = false;
        for (int k = from + 1; k < x - 1; ++k) inkLeft |= !empty(k);
        for (int k = end + 2; k < w; ++k) inkRight |= !empty(k);
        if (empty(x - 1) && empty(end + 1) && inkLeft && inkRight) return "";
        x = end;
    }
    return "columns " + columns;
}

// One canvas kind: draws a text on a white surface of kWidth x kHeight and
// gives the pixels.
using Draw = QImage (*)(const std::string& text, const TextStyle& style);

QImage DrawImage(const std::string& text, const TextStyle& style) {
    QImageCanvas c(kWidth, kHeight);
    c.Clear(colors::kWhite);
    c.Text(kX, kY, text, style);
    return c.Image().copy();
}

QImage DrawSvg(const std::string& text, const TextStyle& style) {
    SvgCanvas c(kWidth, kHeight);
    c.Clear(colors::kWhite);
    c.Text(kX, kY, text, style);
    test::TempDir dir;
    const QString file = QString::fromStdString(dir.File("t.svg"));
    QString error;
    EXPECT_TRUE(c.Save(file, &error)) << error.toStdString();
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QSvgRenderer r(file);
    QPainter p(&img);
    r.render(&p, QRectF(0, 0, kWidth, kHeight));
    return img;
}

QImage DrawPdf(const std::string& text, const TextStyle& style) {
    PdfCanvas c(PaperSize{kWidth, kHeight}, QStringLiteral("t"));
    c.Clear(colors::kWhite);
    c.Text(kX, kY, text, style);
    const QByteArray bytes = c.Finish();
    test::TempDir dir;
    const QString file = QString::fromStdString(dir.File("t.pdf"));
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    out.close();
    // One page unit (1/96 inch) to one pixel, without smoothing.
    const QString prefix = QString::fromStdString(dir.File("page"));
    test::Poppler(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-aa"),
                                               QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                                               QStringLiteral("-singlefile"), QStringLiteral("-png"), file, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

void CheckPoints(Draw draw) {
    for (const Case& c : Cases()) {
        // The number starts right of the label's ink, drawn alone.
        const int from = c.prefix.empty() ? kX - 1 : RightmostInk(draw(c.prefix, c.style));
        const QImage img = draw(c.prefix + c.number, c.style);
        ASSERT_EQ(img.width(), kWidth) << c.Name();
        const std::string fault = PointClear(img, from);
        EXPECT_EQ(fault, "") << c.Name();
    }
}

TEST(DecimalPoint, StandsClearInTheWindowsImage) { CheckPoints(DrawImage); }

// The whole text in the narrow face, glyph by glyph as the image canvas sets
// glyphs: what the pictures drew before the split.
QImage DrawAllNarrow(const std::string& text, const TextStyle& style) {
    QFont f(QStringLiteral("Liberation Sans Narrow"));
    f.setPixelSize(style.pixelSize);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setKerning(false);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(f);
    p.setPen(Qt::black);
    const QFontMetricsF fm(f);
    double pen = 0;
    for (char ch : text) {
        const QString glyph(QChar(static_cast<char16_t>(ch)));
        p.drawText(QPoint(kX + static_cast<int>(std::lround(pen)), kY + QFontMetrics(f).ascent()), glyph);
        pen += fm.horizontalAdvance(glyph);
    }
    return img;
}

// The check sees what a reader saw: in the narrow face alone, points
// pressed against their digits ("FrontCO%  8.3" reading as 83).
TEST(DecimalPoint, TheCheckFindsPointsTheNarrowFaceSqueezes) {
    TextStyle narrow;
    narrow.face = FontFace::SansNarrow;
    EXPECT_NE(PointClear(DrawAllNarrow("FrontCO%  8.3", narrow), RightmostInk(DrawAllNarrow("FrontCO%  ", narrow))),
              "");
    int squeezed = 0;
    for (const Case& c : Cases())
        if (c.style.face == FontFace::SansNarrow) {
            const int from = c.prefix.empty() ? kX - 1 : RightmostInk(DrawAllNarrow(c.prefix, c.style));
            squeezed += !PointClear(DrawAllNarrow(c.prefix + c.number, c.style), from).empty();
        }
    EXPECT_GT(squeezed, 10);
}

TEST(DecimalPoint, StandsClearInSvg) { CheckPoints(DrawSvg); }

TEST(DecimalPoint, StandsClearInPdf) { CheckPoints(DrawPdf); }

// The split every canvas draws through: in a narrow text each decimal
// point goes to the sans with the digit either side of it, the rest stays;
// other faces are never split.
TEST(DecimalPoint, NarrowTextsDrawTheirPointsInTheSans) {
    struct Split {
        const char* text;
        FontFace face;
        std::vector<std::pair<std::string, FontFace>> runs;
    };
    const FontFace N = FontFace::SansNarrow, S = FontFace::Sans;
    const std::vector<Split> table = {
        {"FrontCO%  8.3", N, {{"FrontCO%  ", N}, {"8.3", S}}},
        {"-0.275", N, {{"-", N}, {"0.2", S}, {"75", N}}},
        {"69.08", N, {{"6", N}, {"9.0", S}, {"8", N}}},
        {"Pt1V 12 and 3. .5", N, {{"Pt1V 12 and ", N}, {"3.", S}, {" ", N}, {".5", S}}},
        {"No number... 1", N, {{"No number... 1", N}}},
        {"1.5x2.25", N, {{"1.5", S}, {"x", N}, {"2.2", S}, {"5", N}}},
        {"1.2.3", N, {{"1.2.3", S}}},
        {"69.08", S, {{"69.08", S}}},
        {"8.3", FontFace::Serif, {{"8.3", FontFace::Serif}}},
        {"", N, {{"", N}}},
    };
    for (const Split& s : table) {
        std::vector<std::pair<std::string, FontFace>> got;
        ForEachFaceRun(s.text, s.face, [&](std::string_view run, FontFace f) { got.emplace_back(std::string(run), f); });
        EXPECT_EQ(got, s.runs) << s.text;
    }
}

} // namespace
} // namespace vx
