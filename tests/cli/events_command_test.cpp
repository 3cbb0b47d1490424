// vexlin-cli events: the CSV's columns and rows, the table, the directions,
// ports without events, a design that does not close and usage errors.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include <string>
#include <vector>

#include "cli/command_table.h"
#include "model/analysis/valve_events_text.h"
#include "tests/cli/cli_run.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::Number;
using test::CliRun;
using test::Fields;
using test::Lines;

// Decimals after the point, or -1 without one.
int Decimals(const std::string& field) {
    const auto dot = field.find('.');
    return dot == std::string::npos ? -1 : static_cast<int>(field.size() - dot - 1);
}

TEST(EventsCommand, CsvHasTheColumnsAndOneRowPerNotchAndEnd) {
    const CliRun r = Cli({"events", "--csv"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 1u + 18u);
    EXPECT_EQ(lines[0],
              "position,direction,end,admissionAngle,cutOffAngle,releaseAngle,compressionAngle,admission,cutOff,"
              "release,compression,lead,maxSteamOpening,maxExhaustOpening,valveTravel,dieSlip,steamOpenings,"
              "exhaustOpenings,offset,closes");
    // Decimals of each column: position 6, angles and percentages 4,
    // lengths 5, counts none.
    const int kDecimals[] = {6, -2, -2, 4, 4, 4, 4, 4, 4, 4, 4, 5, 5, 5, 5, 5, -1, -1, -2, -2};
    const char* kOffsets[] = {"-1", "-0.75", "-0.5", "-0.25", "0", "0.25", "0.5", "0.75", "1"};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = Fields(lines[i]);
        ASSERT_EQ(f.size(), 20u) << lines[i];
        EXPECT_EQ(f[18], kOffsets[(i - 1) / 2]) << lines[i]; // the notches' offsets, k/4 Norm
        EXPECT_EQ(f[19], "yes");
        const bool rearRow = i % 2 == 0;
        // The first five notches (mid gear too) run forward, as in the window.
        EXPECT_EQ(f[1], i <= 10 ? "forward" : "reverse") << lines[i];
        EXPECT_EQ(f[2], rearRow ? "rear" : "front");
        for (std::size_t c = 0; c < f.size(); ++c) {
            if (kDecimals[c] != -2) {
                EXPECT_EQ(Decimals(f[c]), kDecimals[c]) << lines[i] << " column " << c;
            }
        }
        EXPECT_EQ(f[16], "1");
    }
    // Full forward, front end: the cut-off and compression of the default design.
    const auto front = Fields(lines[1]);
    EXPECT_EQ(front[0], "6.621586"); // from the exact solve's mid gear
    EXPECT_EQ(front[8].substr(0, 4), "69.0");
    EXPECT_EQ(front[10].substr(0, 3), "8.7");
}

TEST(EventsCommand, PositionsAndDirectionAsAsked) {
    const CliRun r = Cli({"events", "--csv", "--positions", "0,-0.5,99", "--direction", "reverse"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 7u);
    const auto mid = Fields(lines[1]), half = Fields(lines[3]), held = Fields(lines[5]);
    // From the exact solve's mid gear.
    EXPECT_EQ(mid[0], "7.621586");
    EXPECT_EQ(half[0], "7.121586");
    EXPECT_EQ(held[0], "8.695586"); // held at mid gear + Max (1.074)
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(Fields(lines[i])[1], "reverse");
    // Forward: admission and cut-off change places.
    const CliRun f = Cli({"events", "--csv", "--positions", "-0.5", "--direction", "forward"});
    const auto fwd = Fields(Lines(f.out)[1]);
    EXPECT_EQ(fwd[1], "forward");
    EXPECT_NEAR(Number(fwd[4]), Number(half[3]), 0.001);
}

TEST(EventsCommand, NoEventIsAnEmptyField) {
    // A port that never opens to steam: the fields are empty, and the design
    // has a fault.
    const CliRun r = Cli({"--set", "valveFrontHalf=2", "events", "--csv", "--positions", "-1"});
    ASSERT_EQ(r.code, kExitFault) << r.err;
    EXPECT_NE(r.err.find("the front admission and cut-off never happen"), std::string::npos) << r.err;
    const auto front = Fields(Lines(r.out)[1]);
    for (const std::size_t c : {3u, 4u, 7u, 8u}) EXPECT_EQ(front[c], "") << c;
    EXPECT_EQ(front[16], "0");
    EXPECT_NE(front[5], ""); // the exhaust still opens
}

TEST(EventsCommand, TableSetsFrontAndRearSideBySide) {
    // The classic solve's figures, pinned.
    const CliRun r = Cli({"events", "--positions", "-1", "--solve", "classic"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_NE(r.out.find("Reverse arm 6.621721 (mid gear -1.000000), running forward"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("front        rear  front-rear"), std::string::npos);
    // cut-off, %: front, rear and front minus rear.
    const auto lines = Lines(r.out);
    bool found = false;
    for (const auto& l : lines) {
        if (l.rfind("cut-off, %", 0) != 0) continue;
        found = true;
        EXPECT_NE(l.find("69.0786"), std::string::npos) << l;
        EXPECT_NE(l.find("-0.13"), std::string::npos) << l;
    }
    EXPECT_TRUE(found) << r.out;
}

// Every fault the geometry check counts, in the linkage, the piston or the
// ports, fails the command after the figures.
TEST(EventsCommand, ADesignThatDoesNotCloseFailsAfterPrinting) {
    struct Case {
        const char* set;
        const char* words;
    };
    const Case cases[] = {
        {"mainRodLength=1", "The main rod cannot reach the crosshead"},
        {"mainRodLength=1.49995", "The main rod cannot reach the crosshead"}, // only near 90 and 270 degrees
        {"stroke=1e-30", "The stroke is zero"},
    };
    for (const Case& c : cases) {
        const CliRun r = Cli({"--set", c.set, "events", "--csv", "--positions", "-1,1"});
        EXPECT_EQ(r.code, kExitFault) << c.set;
        EXPECT_EQ(Lines(r.out).size(), 5u) << c.set;
        EXPECT_NE(r.err.find("does not close"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
    }
    // A stroke of 0 or not a number: the design is refused before any solve.
    for (const char* set : {"stroke=0", "stroke=nan"}) {
        const CliRun r = Cli({"--set", set, "events", "--csv", "--positions", "-1,1"});
        EXPECT_EQ(r.code, kExitFault) << set;
        EXPECT_EQ(r.out, "") << set;
        EXPECT_NE(r.err.find("the design is not usable: Stroke (stroke) is "), std::string::npos) << r.err;
    }
}

// Two designs with different mid gears: their rows join on offset and end,
// every row of one finding its row in the other, at the same offsets.
TEST(EventsCommand, CsvOfTwoDesignsJoinsOnOffsetAndEnd) {
    const std::vector<std::string> tail = {"events", "--csv", "--positions", "-1,-0.5,-0.25,0,0.3"};
    std::vector<std::string> a = tail, c = {"--set", "liftShaftHorz=7.637"};
    c.insert(c.end(), tail.begin(), tail.end());
    const CliRun ra = Cli(a), rc = Cli(c);
    ASSERT_EQ(ra.code, kExitOk) << ra.err;
    ASSERT_EQ(rc.code, kExitOk) << rc.err;
    const auto la = Lines(ra.out), lc = Lines(rc.out);
    ASSERT_EQ(la.size(), 11u);
    ASSERT_EQ(lc.size(), 11u);
    std::map<std::pair<std::string, std::string>, std::string> keyed; // (offset, end) -> position
    for (std::size_t i = 1; i < lc.size(); ++i) {
        const auto f = Fields(lc[i]);
        keyed[{f[18], f[2]}] = f[0];
    }
    int joined = 0;
    for (std::size_t i = 1; i < la.size(); ++i) {
        const auto f = Fields(la[i]);
        const auto it = keyed.find({f[18], f[2]});
        ASSERT_NE(it, keyed.end()) << la[i];
        EXPECT_NE(it->second, f[0]) << "the absolute positions differ: " << la[i]; // different mid gears
        ++joined;
    }
    EXPECT_EQ(joined, 10);
    EXPECT_EQ(Fields(la[1])[18], "-1");
    EXPECT_EQ(Fields(la[9])[18], "0.3");
}

// A dimension that is not a number is refused before any figure is made; a
// refused design is named even under --quiet (nothing else is written).
TEST(EventsCommand, FiguresThatAreNotNumbersAreAFault) {
    const CliRun r = Cli({"--set", "valveFrontHalf=nan", "events", "--csv", "--positions", "-1"});
    EXPECT_EQ(r.code, kExitFault);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("not a finite number"), std::string::npos) << r.err;
    const CliRun quiet = Cli({"--quiet", "--set", "valveFrontHalf=nan", "events", "--positions", "-1"});
    EXPECT_EQ(quiet.code, kExitFault);
    EXPECT_NE(quiet.err.find("Valve Length   Front Half (valveFrontHalf) is nan"), std::string::npos) << quiet.err;
    // A fault found in figures already written is a note --quiet drops.
    const CliRun noted = Cli({"--quiet", "--set", "eccFwdRod=1", "events", "--positions", "-1"});
    EXPECT_EQ(noted.code, kExitFault);
    EXPECT_EQ(noted.err, "");
}

// A value of 12 characters or more never runs into the next column: every
// table row holds its label and then one blank-separated word per column.
TEST(EventsCommand, WideValuesKeepTheColumnsApart) {
    const CliRun r = Cli({"--set", "valveFrontHalf=200000", "events", "--positions", "-1"});
    bool sawWide = false;
    for (const std::string& line : Lines(r.out)) {
        if (line.size() < 22 || line.rfind("Reverse arm", 0) == 0 || line.rfind("reverse arm", 0) == 0) continue;
        std::istringstream words(line.substr(22));
        std::vector<std::string> columns;
        for (std::string w; words >> w;) columns.push_back(w);
        for (const std::string& w : columns) {
            EXPECT_LT(w.size(), 12u) << line;
            if (w.find('e') != std::string::npos) sawWide = true;
        }
        EXPECT_LE(columns.size(), 3u) << line;
        EXPECT_EQ(line.size() - 22, 12 * columns.size()) << line; // each in its own 12 places
    }
    EXPECT_TRUE(sawWide) << r.out;
}

TEST(EventsCommand, UsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"events", "--direction", "sideways"},
             {"events", "--positions", "1,x"},
             {"events", "--positions", "nan"},
             {"events", "--positions"},
             {"events", "--bogus"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitUsage) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("events"), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace vx::cli
