// vexlin-cli diagram through its library entry: pictures, the CSV figures
// and the usage errors.
#include "cli/command_table.h"
#include "cli/dispatch.h"
#include "scene/diagrams/oval_diagram.h"
#include "scene/diagrams/sine_diagram.h"
#include "model/workspace/defaults.h"
#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/kit/temp_dir.h"

#include "tests/cli/cli_run.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::Number;
using Result = test::CliRun;
using test::Lines;

TEST(DiagramCommand, SineFiguresOnlyAtMidGear) {
    const Result r = Cli({"diagram", "sine", "--data"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "position,upperLead,frontLap,frontExhaustClearance,rearExhaustClearance,rearLap,lowerLead");
    // Mid gear first, with its figures; normal forward and reverse without.
    EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), ','), 6);
    EXPECT_EQ(lines[1].find(",,"), std::string::npos);
    EXPECT_NE(lines[1].find(",0.1565,"), std::string::npos) << lines[1]; // the default steam lap
    for (int i : {2, 3}) EXPECT_EQ(lines[static_cast<std::size_t>(i)].substr(lines[static_cast<std::size_t>(i)].find(',')), ",,,,,,");
}

TEST(DiagramCommand, PositionsAreOffsetsFromMidGear) {
    const Result r = Cli({"diagram", "oval", "--positions", "0.04,0.05,-9", "--data"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].find(",,"), std::string::npos);
    EXPECT_NE(lines[2].find(",,,,,,"), std::string::npos);

    // The list and the scale the diagram is drawn with, as the positions
    // dialog would leave them on the design.
    GearState g;
    StartUp(g);
    std::ostringstream out, err;
    ASSERT_EQ(RunCommandOn(g, {"diagram", "sine", "--positions=0.04,0.05,-9", "--data", "--scale", "0.01"}, out, err),
              kExitOk)
        << err.str();
    EXPECT_EQ(g.revArm.positionCount, 3);
    EXPECT_FLOAT_EQ(g.revArm.position[1], g.revArm.centre + 0.04f);
    // Limited to mid gear - Max, as the positions dialog limits.
    EXPECT_EQ(g.revArm.position[3], static_cast<float>(g.revArm.centre - static_cast<double>(g.frame.revArmToCentMax)));
    EXPECT_EQ(g.revArm.verticalScale, 0.1f);

    const Result empty = Cli({"diagram", "sine", "--positions", "", "--data"});
    ASSERT_EQ(empty.code, 0) << empty.err;
    EXPECT_EQ(Lines(empty.out).size(), 1u);
}

// --samples gives the points each curve is drawn through: every one is an
// end of a drawn curve segment, at the driver angles the diagram samples.
TEST(DiagramCommand, SamplesAreTheDrawnValveTravelPoints) {
    const struct {
        const char* name;
        void (*draw)(GearState&, Canvas&);
        std::size_t perCurve;
    } diagrams[] = {{"sine", [](GearState& g, Canvas& c) { DrawSineDiagram(g, c); }, 67},
                    {"oval", [](GearState& g, Canvas& c) { DrawOvalDiagram(g, c); }, 46}};
    for (const auto& d : diagrams) {
        SCOPED_TRACE(d.name);
        const Result r = Cli({"diagram", d.name, "--data", "--samples"});
        ASSERT_EQ(r.code, 0) << r.err;
        const auto lines = Lines(r.out);
        ASSERT_EQ(lines.size(), 1 + 3 * d.perCurve);
        EXPECT_EQ(lines[0], "position,angle,travel,x,y");

        GearState g;
        StartUp(g);
        g.revArm.positionCount = 3;
        RecordingCanvas rc;
        d.draw(g, rc);
        std::set<std::pair<int, int>> ends;
        for (const auto& s : rc.Segments())
            if (s.color == colors::kBlack) ends.insert({s.x1, s.y1}), ends.insert({s.x2, s.y2});
        for (std::size_t i = 1; i < lines.size(); ++i) {
            std::vector<std::string> f;
            std::stringstream in(lines[i]);
            for (std::string field; std::getline(in, field, ',');) f.push_back(field);
            ASSERT_EQ(f.size(), 5u) << lines[i];
            const double angle = Number(f[1]);
            EXPECT_TRUE(angle >= 0 && angle <= 360) << lines[i];
            EXPECT_EQ(std::fmod(angle, 8.0), 0.0) << lines[i]; // the samples lie 8 degrees apart
            EXPECT_TRUE(ends.count({std::stoi(f[3]), std::stoi(f[4])})) << lines[i];
        }
    }
}

TEST(DiagramCommand, PicturesAtTheWindowSizes) {
    test::TempDir dir;
    const std::string sine = dir.File("sine.png"), oval = dir.File("oval.png"), svg = dir.File("sine.svg");
    ASSERT_EQ(Cli({"diagram", "sine", "--out", sine}).code, 0);
    ASSERT_EQ(Cli({"diagram", "oval", "--out", oval}).code, 0);
    ASSERT_EQ(Cli({"diagram", "sine", "--out", svg}).code, 0);
    EXPECT_EQ(QImage(QString::fromStdString(sine)).size(), QSize(632, 414));
    EXPECT_EQ(QImage(QString::fromStdString(oval)).size(), QSize(632, 426));
    QFile f(QString::fromStdString(svg));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("Reverse Arm Positions"));

    const Result bad = Cli({"diagram", "sine", "--out", dir.File("no/such/folder/x.png")});
    EXPECT_EQ(bad.code, kExitCannotRun);
    EXPECT_NE(bad.err.find("cannot write"), std::string::npos);
}

TEST(DiagramCommand, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"diagram"},
        {"diagram", "cosine", "--data"},
        {"diagram", "sine"},
        {"diagram", "sine", "--data", "--out", "x.png"},
        {"diagram", "sine", "--data", "--positions", "1,nan"},
        {"diagram", "sine", "--data", "--positions", "1,,2"},
        {"diagram", "sine", "--data", "--positions", "0,1,2,3,4,5,6,7,8,9"},
        {"diagram", "sine", "--data", "--mode", "sideways"},
        {"diagram", "sine", "--data", "--scale", "inf"},
        {"diagram", "sine", "--data", "--frobnicate"},
        {"diagram", "steam", "--data", "--samples"},
        {"diagram", "sine", "--out", "x.png", "--samples"},
    };
    for (const auto& args : cases) {
        const Result r = Cli(args);
        EXPECT_EQ(r.code, kExitUsage) << args.back();
        EXPECT_NE(r.err.find("diagram"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    const Result help = Cli({"diagram", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--positions"), std::string::npos);
}

} // namespace
} // namespace vx::cli
