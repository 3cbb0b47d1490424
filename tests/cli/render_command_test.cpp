// vexlin-cli render frame through its library entry: the picture files it
// writes, the state it draws, and its usage errors.
// The model headers come before Qt's: Qt defines "slots" as a macro.
#include "cli/command_table.h"
#include "cli/dispatch.h"
#include "model/workspace/defaults.h"
#include "model/workspace/view.h"
#include "tests/kit/designs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace vx::cli {
namespace {

struct Result {
    int code;
    std::string out, err;
};

// "render ARGS..." on the design, which is left as the command left it.
Result Render(GearState& g, const std::vector<std::string>& args) {
    std::vector<std::string> words{"render"};
    words.insert(words.end(), args.begin(), args.end());
    std::ostringstream out, err;
    const int code = RunCommandOn(g, words, out, err);
    return {code, out.str(), err.str()};
}

bool White(QRgb p) { return (p & 0xFFFFFF) == 0xFFFFFF; }

// Some pixel within `slack` of (x, y) is not white.
bool InkNear(const QImage& img, int x, int y, int slack = 1) {
    for (int dy = -slack; dy <= slack; ++dy)
        for (int dx = -slack; dx <= slack; ++dx) {
            const int px = x + dx, py = y + dy;
            if (img.valid(px, py) && !White(img.pixel(px, py))) return true;
        }
    return false;
}

class RenderFrame : public ::testing::Test {
protected:
    QTemporaryDir dir_;
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
};

// The wheel rim and the piston's rear face, where the model puts them after
// the render has solved the gear.
struct ViewCase {
    std::vector<std::string> viewArgs;
    float angle;
};

TEST_F(RenderFrame, PngShowsTheWheelAndThePiston) {
    const ViewCase cases[] = {
        {{}, 0},
        {{}, 135},
        {{"--zoom", "40", "--pan-h", "300", "--pan-v", "400"}, 250},
    };
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(c.angle);
        GearState g = *test::StartedDesign();
        const std::string file = Path("frame.png");
        std::vector<std::string> args{"frame", "--out", file, "--angle", std::to_string(c.angle)};
        args.insert(args.end(), c.viewArgs.begin(), c.viewArgs.end());
        const Result r = Render(g, args);
        ASSERT_EQ(r.code, 0) << r.err;

        QImage img(QString::fromStdString(file));
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.width(), 1280);
        EXPECT_EQ(img.height(), 1024);

        // Wheel rim: radius D/2 about the axle, at four points of the compass.
        const double radius = g.frame.driverDia / 2 * g.view.zoom;
        const ScreenPoint axle = WorldToScreen(g.view, 0, 0);
        for (int q = 0; q < 4; ++q) {
            const double t = q * 3.14159265358979 / 2 + 0.3;
            const int x = static_cast<int>(std::lround(axle.x + radius * std::cos(t)));
            const int y = static_cast<int>(std::lround(axle.y + radius * std::sin(t)));
            EXPECT_TRUE(InkNear(img, x, y)) << "wheel rim at " << x << "," << y;
        }
        // Piston rear face: from V(1) down to V(2).
        const ScreenPoint v1 = g.valveOutline[1], v2 = g.valveOutline[2];
        EXPECT_TRUE(InkNear(img, v1.x, (v1.y + v2.y) / 2)) << "piston at " << v1.x;
        // Far from the gear the picture stays white.
        EXPECT_TRUE(White(img.pixel(1279, 1023)));
    }
}

TEST_F(RenderFrame, DrawsTheGearAtTheAngleAskedFor) {
    for (float angle : {0.f, 90.f, 212.5f}) {
        SCOPED_TRACE(angle);
        GearState g = *test::StartedDesign();
        const Result r = Render(g, {"frame", "--out", Path("a.png"), "--angle", std::to_string(angle)});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_FLOAT_EQ(g.motion.driverAngle, angle); // no advance while stopped
        EXPECT_EQ(g.motion.tickStep, 0);
        // The crank pin was solved at that angle.
        const double t = angle * 3.14159265358979 / 180;
        EXPECT_NEAR(g.piv.x[2], std::cos(t) * g.frame.stroke / 2, 1e-4);
        EXPECT_NEAR(g.piv.y[2], -std::sin(t) * g.frame.stroke / 2, 1e-4);
    }
}

TEST_F(RenderFrame, ReverseArmFromMidGear) {
    for (double offset : {0.0, -1.0, 0.5}) {
        SCOPED_TRACE(offset);
        GearState g = *test::StartedDesign();
        const float centre = g.revArm.centre;
        const Result r = Render(g, {"frame", "--out", Path("r.png"), "--revarm", std::to_string(offset)});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_FLOAT_EQ(g.motion.reverseArmPosition, static_cast<float>(centre + offset));
        EXPECT_FLOAT_EQ(g.piv.x[18], g.motion.reverseArmPosition);
    }
}

TEST_F(RenderFrame, SvgWhenTheFileEndsInSvg) {
    for (const char* name : {"frame.svg", "FRAME.SVG"}) {
        SCOPED_TRACE(name);
        GearState g = *test::StartedDesign();
        const std::string file = Path(name);
        const Result r = Render(g, {"frame", "--out", file});
        ASSERT_EQ(r.code, 0) << r.err;
        QFile f(QString::fromStdString(file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        EXPECT_TRUE(text.contains("<svg")) << text.left(200).toStdString();
        EXPECT_TRUE(QImage(QString::fromStdString(file), "PNG").isNull()); // not a PNG

        // Every number is one a reader in any locale takes whole.
        QXmlStreamReader xml(text);
        int numbers = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            for (const QXmlStreamAttribute& at : xml.attributes()) {
                const QString name = at.name().toString();
                QStringList values;
                if (name == "d")
                    values = at.value().toString().split(QRegularExpression("[ MLAZmlaz]+"), Qt::SkipEmptyParts);
                else if (QStringList{"x", "y", "width", "height", "cx", "cy", "rx", "ry", "stroke-width", "font-size"}
                             .contains(name))
                    values = {at.value().toString()};
                for (const QString& v : values) {
                    const std::string t = v.toStdString();
                    double d = 0;
                    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
                    EXPECT_TRUE(ec == std::errc() && end == t.data() + t.size() && std::isfinite(d))
                        << xml.name().toString().toStdString() << " " << name.toStdString() << "=\"" << t << "\"";
                    ++numbers;
                }
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_GT(numbers, 100);

        // Drawn by an SVG reader, it is the picture the PNG export holds:
        // each inked pixel of one has ink within 2 pixels in the other.
        QSvgRenderer svg(text);
        ASSERT_TRUE(svg.isValid());
        EXPECT_EQ(svg.defaultSize(), QSize(1280, 1024));
        QImage drawn(1280, 1024, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        {
            QPainter p(&drawn);
            svg.render(&p, QRectF(0, 0, 1280, 1024));
        }
        GearState again = *test::StartedDesign();
        ASSERT_EQ(Render(again, {"frame", "--out", Path("same.png")}).code, 0);
        const QImage png = QImage(QString::fromStdString(Path("same.png"))).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(png.size(), drawn.size());
        const auto inked = [](const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 200; };
        const auto near = [&](const QImage& img, int x, int y) {
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    const int u = x + dx, v = y + dy;
                    if (u >= 0 && v >= 0 && u < img.width() && v < img.height() && qGray(img.pixel(u, v)) < 240)
                        return true;
                }
            return false;
        };
        int pngInk = 0, pngMatched = 0, svgInk = 0, svgMatched = 0;
        for (int y = 0; y < 1024; ++y)
            for (int x = 0; x < 1280; ++x) {
                if (inked(png, x, y)) {
                    ++pngInk;
                    pngMatched += near(drawn, x, y);
                }
                if (inked(drawn, x, y)) {
                    ++svgInk;
                    svgMatched += near(png, x, y);
                }
            }
        ASSERT_GT(pngInk, 1000);
        ASSERT_GT(svgInk, 1000);
        EXPECT_GT(pngMatched, pngInk * 95 / 100) << pngMatched << " of " << pngInk;
        EXPECT_GT(svgMatched, svgInk * 95 / 100) << svgMatched << " of " << svgInk;
    }
}

TEST_F(RenderFrame, WriteFailureNamesTheFile) {
    for (const char* name : {"missing-folder/frame.png", "missing-folder/frame.svg"}) {
        SCOPED_TRACE(name);
        GearState g = *test::StartedDesign();
        const std::string file = Path(name);
        const Result r = Render(g, {"frame", "--out", file});
        EXPECT_EQ(r.code, kExitCannotRun);
        EXPECT_NE(r.err.find("frame."), std::string::npos) << r.err;
    }
}

TEST(RenderUsage, ErrorsReturnTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"movie", "--out", "x.png"},
        {"frame"},
        {"frame", "--angle", "10"},
        {"frame", "--out"},
        {"frame", "--out", ""},
        {"frame", "--out", "x.png", "--bogus"},
        {"frame", "--out", "x.png", "--angle"},
        {"frame", "--out", "x.png", "--angle", "ten"},
        {"frame", "--out", "x.png", "--angle", "1,5"},
        {"frame", "--out", "x.png", "--revarm", "1x"},
        {"frame", "--out", "x.png", "--pan-h", ""},
        {"frame", "--out", "x.png", "--zoom", "0"},
        {"frame", "--out", "x.png", "--zoom", "-3"},
        {"frame", "--out", "x.png", "--zoom", "inf"},
        {"frame", "--out", "x.png", "--zoom", "nan"},
        {"frame", "--out", "x.png", "--zoom", "1e300"},
        {"frame", "--out", "x.png", "--zoom", "1e-300"},
        {"frame", "--out", "x.png", "--line-width", "3"},
        {"frame", "--out", "x.png", "--running", "0"},
        {"frame", "--out", "x.png", "--running", "46"},
        {"frame", "--out", "x.png", "--running", "nan"},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        SCOPED_TRACE(joined);
        GearState g = *test::StartedDesign();
        const Result r = Render(g, args);
        EXPECT_EQ(r.code, 2);
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(RenderUsage, HelpGoesToOut) {
    GearState g = *test::StartedDesign();
    const Result r = Render(g, {"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("render frame"), std::string::npos);
}

// Angles, arms and views no design should see still give a picture (an
// arm beyond the travel one where the linkage does not close: exit 1, drawn);
// an angle or an arm that is not a number is refused.
TEST_F(RenderFrame, ExtremeNumbersStillDraw) {
    const struct {
        std::vector<std::string> extra;
        int code;
    } cases[] = {
        {{"--angle", "nan"}, 2},
        {{"--revarm", "nan"}, 2},
        {{"--revarm", "inf"}, 2},
        {{"--angle", "-1e300"}, 0},
        {{"--revarm", "1e30"}, 1},
        {{"--pan-h", "1e30", "--pan-v", "-inf"}, 0},
        {{"--zoom", "3e38"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extra.front() + " " + c.extra[1]);
        GearState g = *test::StartedDesign();
        std::vector<std::string> args{"frame", "--out", Path("x.png")};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Result r = Render(g, args);
        EXPECT_EQ(r.code, c.code) << r.err;
        if (c.code == 2) EXPECT_NE(r.err.find("must be a finite number"), std::string::npos) << r.err;
        if (c.code == 1) EXPECT_NE(r.err.find("drawn, but the linkage does not close"), std::string::npos) << r.err;
    }
}

// Screen data as the window draws it (on by default), its options, and the
// running gear's frame-to-frame state with --running.
TEST_F(RenderFrame, ScreenDataSteamAndRunning) {
    auto inkInBox = [](const QImage& img, QRect box) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (!White(img.pixel(x, y))) return true;
        return false;
    };
    // "Pan Vert" at (199, 25), or at (253, 31) with the large-font scale.
    const QRect panVert(199, 25, 35, 9), largePanVert(253, 31, 35, 9);
    struct Case {
        std::vector<std::string> options;
        bool normalText, largeText;
    } cases[] = {{{}, true, false}, {{"--no-screen-data"}, false, false}, {{"--large-font"}, false, true}};
    for (const Case& c : cases) {
        GearState g = *test::StartedDesign();
        std::vector<std::string> args{"frame", "--out", Path("sd.png")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(Render(g, args).code, 0);
        const QImage img(QString::fromStdString(Path("sd.png")));
        EXPECT_EQ(inkInBox(img, panVert), c.normalText);
        EXPECT_EQ(inkInBox(img, largePanVert), c.largeText);
    }

    // Stopped, nothing is caught and the steam densities stay at their start.
    GearState still = *test::StartedDesign();
    ASSERT_EQ(Render(still, {"frame", "--out", Path("s.png"), "--steam", "--angle", "100"}).code, 0);
    EXPECT_TRUE(still.frontCutOffText.empty());
    EXPECT_EQ(still.display.steam[0].density, 25); // held at its least

    GearState running = *test::StartedDesign();
    ASSERT_EQ(Render(running, {"frame", "--out", Path("r.png"), "--steam", "--running", "1", "--angle", "100"}).code,
              0);
    EXPECT_FALSE(running.frontCutOffText.empty());
    EXPECT_FALSE(running.rearCutOffText.empty());
    EXPECT_GT(running.display.steam[0].density, 25);
    EXPECT_EQ(running.piv.x[2], still.piv.x[2]); // the gear drawn at the angle asked for
    EXPECT_EQ(running.motion.driverAngle, 101.0f); // the readout shows the advanced angle
}

} // namespace
} // namespace vx::cli
