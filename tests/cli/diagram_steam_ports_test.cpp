// vexlin-cli diagram steam and ports: the CSV figures against the drawings'
// own, the rows of each port graph mode, empty fields, and the pictures.
#include "scene/diagrams/ports_drawing.h"
#include "scene/diagrams/steam_drawing.h"
#include "model/workspace/defaults.h"
#include "platform/null_canvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
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

std::vector<std::vector<std::string>> Rows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::string field;
        std::istringstream l(line);
        while (std::getline(l, field, ',')) fields.push_back(field);
        if (!line.empty() && line.back() == ',') fields.emplace_back();
        rows.push_back(fields);
    }
    return rows;
}

std::string Fixed4(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatFixed(buf, v, 0, 4));
}

TEST(DiagramSteamPortsCommand, SteamFiguresAreTheDiagramsOwn) {
    const Result r = Cli({"diagram", "steam", "--data"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              "position,frontCutOff,frontRelease,frontCompression,frontAdmission,rearCutOff,rearRelease,"
              "rearCompression,rearAdmission");

    GearState g;
    StartUp(g);
    g.revArm.positionCount = 3;
    NullCanvas c;
    SteamFigures f;
    DrawSteamDiagram(g, c, &f);
    ASSERT_EQ(f.count, 3);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& row = rows[i + 1];
        ASSERT_EQ(row.size(), 9u);
        EXPECT_EQ(row[0], Fixed4(f.positions[i].position));
        for (std::size_t k = 0; k < kSteamFigureCount; ++k) {
            ASSERT_TRUE(f.positions[i].found[k]);
            EXPECT_EQ(row[k + 1], Fixed4(f.positions[i].percent[k])) << i << "," << k;
        }
    }

    const Result empty = Cli({"diagram", "steam", "--positions", "", "--data"});
    ASSERT_EQ(empty.code, 0) << empty.err;
    EXPECT_EQ(Rows(empty.out).size(), 1u);
}

TEST(DiagramSteamPortsCommand, SteamEndWithoutCutOffHasEmptyFields) {
    const Result r = Cli({"--set", "valveFrontHalf=-10", "diagram", "steam", "--positions", "-1", "--data"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(rows[1].size(), 9u);
    EXPECT_EQ(rows[1][1], "");         // front cut-off
    EXPECT_EQ(rows[1][4], "");         // front admission
    EXPECT_NE(rows[1][5], "");         // rear cut-off
}

// Forward rows step down from mid gear, reverse rows up; both prints the
// forward graph's rows, then the reverse graph's, each row naming its mode.
// The events are percentages of the stroke as the axis reads them.
TEST(DiagramSteamPortsCommand, PortRowsOfEachMode) {
    struct Case {
        const char* mode;
        std::size_t rows;
    };
    for (const Case& cs : {Case{"forward", 19}, Case{"reverse", 19}, Case{"both", 38}}) {
        const Result r = Cli({"diagram", "ports", "--mode", cs.mode, "--data"});
        ASSERT_EQ(r.code, 0) << r.err;
        const auto rows = Rows(r.out);
        ASSERT_EQ(rows.size(), cs.rows + 1) << cs.mode;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
                  "mode,row,position,fstOpen,fexOpen,rstOpen,rexOpen,fstClose,fexClose,rstClose,rexClose");
        for (std::size_t i = 1; i < rows.size(); ++i) {
            ASSERT_EQ(rows[i].size(), 11u);
            const bool reverseRow = std::string(cs.mode) == "reverse" || i > 19;
            EXPECT_EQ(rows[i][0], reverseRow ? "reverse" : "forward");
            EXPECT_EQ(rows[i][1], std::to_string((i - 1) % 19));
            for (std::size_t k = 3; k < 11; ++k) {
                const double percent = Number(rows[i][k]);
                EXPECT_GE(percent, 0);
                EXPECT_LE(percent, 100);
            }
        }
        const double first = Number(rows[1][2]), last = Number(rows[19][2]);
        if (std::string(cs.mode) == "reverse") {
            EXPECT_GT(last, first);
        } else {
            EXPECT_LT(last, first);
        }
        if (cs.rows == 38) {
            EXPECT_GT(Number(rows[38][2]), Number(rows[20][2]));
        }
    }

    // A front port's event from the forward end (p / 6.4), a rear port's
    // from the other end ((640 - p) / 6.4), p the piston position drawn.
    GearState g;
    StartUp(g);
    NullCanvas c;
    PortGraphFigures f;
    DrawPortGraph(g, c, PortGraphMode::Forward, true, &f);
    const auto rows = Rows(Cli({"diagram", "ports", "--mode", "forward", "--data"}).out);
    for (int e = 0; e < kPortEventCount; ++e) {
        const double p = f.rows[13].crossing[static_cast<std::size_t>(e)];
        const bool front = e == kFrontSteamOpens || e == kFrontExhaustOpens || e == kFrontSteamCloses ||
                           e == kFrontExhaustCloses;
        EXPECT_EQ(rows[14][static_cast<std::size_t>(e) + 3], Fixed4(front ? p / 6.4 : (640 - p) / 6.4)) << e;
    }
}

TEST(DiagramSteamPortsCommand, PortEventsNotFoundAreEmpty) {
    const Result r = Cli({"--set", "valveFrontHalf=-10", "diagram", "ports", "--mode", "forward", "--data"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 20u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][3], "");                    // front steam opens
        EXPECT_EQ(rows[i][7], "");                    // front steam closes
        EXPECT_NE(rows[i][4], "");                    // front port opens to exhaust
    }
}

TEST(DiagramSteamPortsCommand, PicturesAtTheWindowSize) {
    test::TempDir dir;
    const std::string steam = dir.File("steam.png"), ports = dir.File("ports.png");
    ASSERT_EQ(Cli({"diagram", "steam", "--out", steam}).code, 0);
    ASSERT_EQ(Cli({"diagram", "ports", "--mode", "reverse", "--out", ports}).code, 0);
    const QImage s(QString::fromStdString(steam)), p(QString::fromStdString(ports));
    EXPECT_EQ(s.size(), QSize(632, 414));
    EXPECT_EQ(p.size(), QSize(632, 414));
    // The reverse graph alone: maroon rear port curves, no teal.
    int maroon = 0, teal = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            maroon += p.pixel(x, y) == qRgb(128, 0, 0);
            teal += p.pixel(x, y) == qRgb(0, 128, 128);
        }
    EXPECT_GT(maroon, 100);
    EXPECT_EQ(teal, 0);
}

} // namespace
} // namespace vx::cli
