// vexlin-cli sensitivity and tolerance: the derivatives against two events
// runs, the spread against the events at the ends of a range, no tolerance
// giving the design's own figures, the same CSV on one and three threads,
// failed samples counted, designs that do not close, and usage errors.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "base/fixed_format.h"
#include "tests/cli/cli_run.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::CliRun;
using test::Fields;
using test::Lines;
using test::Number;

std::string Text(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatGeneral9(buf, v));
}

// A dimension's value as "dims" gives it.
double DimensionValue(const std::string& field) {
    const CliRun r = Cli({"dims"});
    for (const std::string& line : Lines(r.out)) {
        const auto f = Fields(line);
        if (f.size() == 4 && f[1] == field) return Number(f[3]);
    }
    ADD_FAILURE() << field;
    return 0;
}

// The cut-off of each end at each position of an events run, keyed
// "position/end"... in row order: front, rear of each position.
std::vector<double> CutOffs(const std::vector<std::string>& args) {
    const CliRun r = Cli(args);
    EXPECT_EQ(r.code, kExitOk) << r.err;
    std::vector<double> v;
    const auto lines = Lines(r.out);
    for (std::size_t i = 1; i < lines.size(); ++i) v.push_back(Number(Fields(lines[i])[8]));
    return v;
}

TEST(SensitivityCommand, DerivativesAgreeWithTwoEventsRuns) {
    const std::vector<std::string> positions = {"--positions", "-1,-0.5"};
    // The classic solve's step, against two classic events runs a step apart.
    CliRun s = Cli({"sensitivity", "--positions", "-1,-0.5", "--fields", "eccFwdRod,valveCtrToJoint,radRodShortEnd",
                    "--csv", "--solve", "classic"});
    ASSERT_EQ(s.code, kExitOk) << s.err;
    const auto rows = Lines(s.out);
    ASSERT_EQ(rows[0], "position,direction,field,figure,derivative,perTolerance,offset");
    ASSERT_EQ(rows.size(), 1u + 2 * 3 * 12);
    // derivative by (field, figure, position row)
    std::map<std::string, std::vector<double>> derivative;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto f = Fields(rows[i]);
        ASSERT_EQ(f.size(), 7u) << rows[i];
        EXPECT_EQ(f[1], "forward");
        derivative[f[2] + "/" + f[3]].push_back(Number(f[4]));
        EXPECT_NEAR(Number(f[5]), Number(f[4]) * 0.001, 1e-6 * std::fabs(Number(f[4])) + 1e-9) << rows[i];
    }
    for (const std::string field : {"eccFwdRod", "valveCtrToJoint", "radRodShortEnd"}) {
        const double v = static_cast<float>(DimensionValue(field));
        const double h = 1e-3 * std::fabs(v);
        const double lo = static_cast<float>(v - h), hi = static_cast<float>(v + h);
        std::vector<std::string> down{"--set", field + "=" + Text(lo), "events", "--csv", "--solve", "classic"};
        std::vector<std::string> up{"--set", field + "=" + Text(hi), "events", "--csv", "--solve", "classic"};
        down.insert(down.end(), positions.begin(), positions.end());
        up.insert(up.end(), positions.begin(), positions.end());
        const std::vector<double> a = CutOffs(down), b = CutOffs(up);
        ASSERT_EQ(a.size(), 4u);
        ASSERT_EQ(b.size(), 4u);
        for (std::size_t p = 0; p < 2; ++p) {
            const double front = (b[2 * p] - a[2 * p]) / (hi - lo);
            const double rear = (b[2 * p + 1] - a[2 * p + 1]) / (hi - lo);
            const struct {
                const char* figure;
                double expected;
            } cases[] = {{"cutOffFront", front}, {"cutOffRear", rear}, {"cutOffDiff", front - rear}};
            for (const auto& c : cases) {
                const double d = derivative[field + "/" + c.figure].at(p);
                EXPECT_GT(std::fabs(c.expected), 1.0) << field << " " << c.figure; // large enough to compare
                EXPECT_NEAR(d, c.expected, 0.02 * std::fabs(c.expected)) << field << " " << c.figure << " " << p;
            }
        }
    }
}

TEST(SensitivityCommand, TheRankingListsTheTopDimensionsOfEachPosition) {
    const CliRun r = Cli({"sensitivity", "--positions", "-1,1", "--top", "2", "--of", "leadRear", "--fields",
                          "driverDia,eccFwdRod,eccRevRod,stroke"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 2u * 4 + 1);
    EXPECT_NE(lines[0].find("forward: leadRear"), std::string::npos) << lines[0];
    EXPECT_NE(lines[2].find("1  eccFwdRod"), std::string::npos) << lines[2]; // the forward gear's own rod
    EXPECT_NE(lines[5].find("reverse: leadRear"), std::string::npos) << lines[5];
    EXPECT_NE(lines[7].find("1  eccRevRod"), std::string::npos) << lines[7];
    EXPECT_EQ(r.out.find("driverDia"), std::string::npos); // it moves nothing: beyond the top two
}

TEST(ToleranceCommand, OneToleranceStaysBetweenTheEventsAtTheEndsOfItsRange) {
    const CliRun r = Cli({"tolerance", "--tol", "eccFwdRod=0.01", "--samples", "60", "--positions", "-1,-0.5",
                          "--seed", "99", "--csv"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto rows = Lines(r.out);
    ASSERT_EQ(rows[0], "position,direction,figure,nominal,min,p05,median,p95,max,overThreshold,failed,offset");
    ASSERT_EQ(rows.size(), 1u + 2 * 12);
    const double v = DimensionValue("eccFwdRod");
    const std::vector<double> a = CutOffs({"--set", "eccFwdRod=" + Text(v - 0.01), "events", "--csv", "--positions", "-1,-0.5"});
    const std::vector<double> b = CutOffs({"--set", "eccFwdRod=" + Text(v + 0.01), "events", "--csv", "--positions", "-1,-0.5"});
    for (std::size_t p = 0; p < 2; ++p) {
        for (std::size_t end = 0; end < 2; ++end) {
            const auto f = Fields(rows[1 + p * 12 + end]);
            ASSERT_EQ(f[2], end == 0 ? "cutOffFront" : "cutOffRear");
            const double lo = std::min(a[2 * p + end], b[2 * p + end]);
            const double hi = std::max(a[2 * p + end], b[2 * p + end]);
            EXPECT_GT(hi - lo, 0.1);
            EXPECT_GE(Number(f[4]), lo - 0.05) << rows[1 + p * 12 + end];
            EXPECT_LE(Number(f[8]), hi + 0.05) << rows[1 + p * 12 + end];
            EXPECT_EQ(f[10], "0.0000");
        }
    }
}

TEST(ToleranceCommand, NoToleranceAndNoWearGiveTheNominalEverywhere) {
    const CliRun r = Cli({"tolerance", "--tol-all-lengths", "0", "--tol-all-angles", "0", "--wear", "0",
                          "--samples", "7", "--positions", "-1,0.5", "--csv"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 2 * 12);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto f = Fields(rows[i]);
        ASSERT_EQ(f.size(), 12u);
        ASSERT_FALSE(f[3].empty()) << rows[i];
        for (std::size_t c = 4; c <= 8; ++c) EXPECT_EQ(f[c], f[3]) << rows[i];
        EXPECT_EQ(f[10], "0.0000");
    }
}

TEST(ToleranceCommand, TheSameSeedGivesTheSameCsvOnOneAndThreeThreads) {
    const std::vector<std::string> base{"tolerance", "--samples", "24", "--positions", "-1,-0.25,0.75", "--wear",
                                        "0.002", "--seed", "2024", "--csv"};
    std::vector<std::string> one = base, three = base;
    one.insert(one.end(), {"--threads", "1"});
    three.insert(three.end(), {"--threads", "3"});
    const CliRun a = Cli(one), b = Cli(three);
    ASSERT_EQ(a.code, kExitOk) << a.err;
    ASSERT_EQ(b.code, kExitOk) << b.err;
    EXPECT_EQ(a.out, b.out);
    EXPECT_EQ(Lines(a.out).size(), 1u + 3 * 12);
}

// A main rod that only just reaches the crosshead's line: the shorter
// samples do not close, and the rows count them.
TEST(ToleranceCommand, FailedSamplesAreCounted) {
    const CliRun r = Cli({"--set", "mainRodLength=1.5005", "tolerance", "--tol", "mainRodLength=0.002", "--samples",
                          "40", "--positions", "-1", "--csv"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 13u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const double failed = Number(Fields(rows[i])[10]);
        EXPECT_GT(failed, 0.0) << rows[i];
        EXPECT_LT(failed, 1.0) << rows[i];
    }
}

TEST(AnalysisCommands, ADesignThatDoesNotCloseSaysSoAndFails) {
    for (const std::string command : {"sensitivity", "tolerance"}) {
        std::vector<std::string> args{"--set", "mainRodLength=0.75", command, "--positions", "-1", "--csv"};
        if (command == "sensitivity") args.insert(args.end(), {"--fields", "eccFwdRod"});
        else args.insert(args.end(), {"--samples", "3"});
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitFault) << command;
        EXPECT_NE(r.err.find("main rod"), std::string::npos) << r.err;
        const auto rows = Lines(r.out);
        ASSERT_EQ(rows.size(), 13u) << r.out;
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_NE(rows[i].find(",fails"), std::string::npos) << rows[i];
    }
}

TEST(AnalysisCommands, BadInputIsAUsageErrorNamingIt) {
    const struct {
        std::vector<std::string> args;
        const char* names;
    } cases[] = {
        {{"tolerance", "--tol", "eccFwdRod=-0.01"}, "eccFwdRod"},
        {{"tolerance", "--tol", "eccFwdRod=nan"}, "eccFwdRod"},
        {{"tolerance", "--tol", "noSuchRod=0.01"}, "noSuchRod"},
        {{"tolerance", "--tol", "eccFwdRod"}, "--tol"},
        {{"tolerance", "--tol-all-lengths", "-1"}, "--tol-all-lengths"},
        {{"tolerance", "--tol-all-angles", "nan"}, "--tol-all-angles"},
        {{"tolerance", "--wear", "inf"}, "--wear"},
        {{"tolerance", "--samples", "0"}, "--samples"},
        {{"tolerance", "--samples", "1000001"}, "--samples"},
        {{"tolerance", "--samples", "2.5"}, "--samples"},
        {{"tolerance", "--threshold", "abc"}, "--threshold"},
        {{"tolerance", "--seed", "-3"}, "--seed"},
        {{"tolerance", "--positions", "1,x"}, "\"x\""},
        {{"tolerance", "--bogus"}, "--bogus"},
        {{"sensitivity", "--of", "cutoff"}, "--of"},
        {{"sensitivity", "--fields", "eccFwdRod,nope"}, "nope"},
        {{"sensitivity", "--top", "0"}, "--top"},
        {{"sensitivity", "--direction", "sideways"}, "--direction"},
        {{"sensitivity", "--threads", "65"}, "--threads"},
        {{"sensitivity", "--positions", "nan"}, "--positions"},
        // Every value given is checked, not only the last; the options in
        // the order of the command's help.
        {{"sensitivity", "--top", "0", "--top", "5"}, "--top"},
        {{"sensitivity", "--top", "0", "--positions", "nan"}, "--positions"},
        {{"tolerance", "--samples", "0", "--samples", "5"}, "--samples"},
        {{"tolerance", "--seed", "x", "--tol", "nope=1"}, "nope"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, kExitUsage) << c.args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.names), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.args[0] + ": "), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace vx::cli
