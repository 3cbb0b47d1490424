// SvgCanvas: the shapes reach the file, absurd coordinates do not, and
// failures to write say which file and why.
#include <QFile>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <climits>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/qt/qt_svg_canvas.h"

namespace vx {
namespace {

QString SaveToText(const SvgCanvas& canvas, const QTemporaryDir& dir) {
    const QString path = dir.filePath("picture.svg");
    QString error;
    EXPECT_TRUE(canvas.Save(path, &error)) << error.toStdString();
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(QSvgRenderer(bytes).isValid()) << bytes.toStdString();
    return QString::fromUtf8(bytes);
}

TEST(SvgCanvas, HoldsTheShapesDrawn) {
    QTemporaryDir dir;
    SvgCanvas canvas(200, 100);
    canvas.Clear(colors::kWhite);
    canvas.SetPen(colors::kRed, 2);
    const CanvasPoint pts[] = {{10, 10}, {50, 10}, {50, 40}, {10, 10}};
    canvas.Polyline(pts, 4);
    canvas.SetPen(colors::kBlue, 1);
    canvas.Ellipse(60, 10, 81, 31);
    canvas.Arc(100, 10, 140, 50, 140, 30, 120, 10);
    canvas.SetPixel(5, 6, colors::kLime);
    canvas.Text(10, 60, "a<b & \"c\"", {FontFace::Serif, 13, true, true, colors::kGreen});
    const QString svg = SaveToText(canvas, dir);

    EXPECT_EQ(svg.count("<path fill=\"none\" stroke=\"#ff0000\" stroke-width=\"2\" d=\"M10.5 10.5 L50.5 10.5 "
                        "L50.5 40.5 L10.5 10.5\"/>"),
              1)
        << svg.toStdString();
    EXPECT_TRUE(svg.contains("<ellipse cx=\"70.5\" cy=\"20.5\" rx=\"10\" ry=\"10\" fill=\"none\" stroke=\"#0000ff\""));
    EXPECT_TRUE(svg.contains(QRegularExpression(" A19.5 19.5 0 0 0 ")));
    EXPECT_TRUE(svg.contains("<rect x=\"5\" y=\"6\" width=\"1\" height=\"1\" fill=\"#00ff00\"/>"));
    EXPECT_TRUE(svg.contains("font-family=\"Liberation Serif\" font-size=\"13\" font-weight=\"bold\" "
                             "text-decoration=\"underline\" fill=\"#008000\">a&lt;b &amp; &quot;c&quot;</text>"));
}

TEST(SvgCanvas, ClearStartsAnEmptyPicture) {
    QTemporaryDir dir;
    SvgCanvas canvas(50, 50);
    canvas.SetPen(colors::kRed, 2);
    canvas.Line(1, 1, 30, 30);
    canvas.Ellipse(1, 1, 20, 20);
    canvas.Clear(colors::kGrey);
    canvas.Line(1, 1, 30, 30);
    const QString svg = SaveToText(canvas, dir);
    EXPECT_TRUE(svg.contains("fill=\"#808080\""));
    EXPECT_EQ(svg.count("<path"), 1);
    EXPECT_TRUE(svg.contains("stroke=\"#000000\" stroke-width=\"1\""));
    EXPECT_FALSE(svg.contains("<ellipse"));
}

// Every number in the file stays near the picture, except the radii of a
// huge ellipse that is partly visible.
TEST(SvgCanvas, AbsurdCoordinatesStayOutOfTheFile) {
    const std::vector<std::function<void(SvgCanvas&)>> draws = {
        [](SvgCanvas& c) { c.Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX); },
        [](SvgCanvas& c) { c.Line(100, 100, 1 << 28, -(1 << 28)); },
        [](SvgCanvas& c) { c.Line(INT_MIN, 5, INT_MIN, 50); },
        [](SvgCanvas& c) { c.Ellipse(INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 10); },
        [](SvgCanvas& c) { c.Arc(INT_MAX - 9, 0, INT_MAX, 10, INT_MIN, INT_MAX, INT_MAX, INT_MIN); },
        [](SvgCanvas& c) { c.SetPixel(INT_MIN, INT_MAX, colors::kRed); },
        [](SvgCanvas& c) { c.Text(INT_MAX, INT_MAX, "far", {}); },
        [](SvgCanvas& c) { c.Text(INT_MIN, 5, "far", {}); },
    };
    QTemporaryDir dir;
    for (std::size_t i = 0; i < draws.size(); ++i) {
        SCOPED_TRACE(i);
        SvgCanvas canvas(200, 100);
        draws[i](canvas);
        const QString svg = SaveToText(canvas, dir);
        EXPECT_LT(svg.size(), 1000);
        const QRegularExpression number("-?\\d+(\\.\\d+)?");
        for (auto it = number.globalMatch(svg.mid(svg.indexOf("<rect"))); it.hasNext();) {
            const double v = it.next().captured().toDouble();
            EXPECT_LE(std::abs(v), 300) << svg.toStdString();
        }
    }
}

TEST(SvgCanvas, SaveFailureNamesTheFileAndTheReason) {
    QTemporaryDir dir;
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {"/nonexistent-vexlin-folder/picture.svg", "No such file or directory"},
        {dir.path(), ""}, // a folder
    };
    SvgCanvas canvas(20, 20);
    canvas.Line(0, 0, 10, 10);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QString error;
        EXPECT_FALSE(canvas.Save(c.path, &error));
        EXPECT_TRUE(error.startsWith("cannot write " + c.path + ": ")) << error.toStdString();
        EXPECT_TRUE(error.endsWith(c.reason)) << error.toStdString();
        EXPECT_GT(error.size(), QString("cannot write " + c.path + ": ").size());
    }
}

} // namespace
} // namespace vx
