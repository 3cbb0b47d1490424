// vexlin-cli pivots: the window's table text, the CSV form, usage errors.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "data/pivot_table.h"
#include "model/workspace/defaults.h"

#include "tests/cli/cli_run.h"
#include "tests/kit/designs.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::CliRun;
using test::Lines;

TEST(PivotsCommand, PrintsTheWindowsTableFromTheStartUpDesign) {
    const CliRun r = Cli({"pivots", "--pivots", "2,16", "--step", "45", "--revarm", "-1"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto g = test::StartedDesign();
    g->motion.reverseArmPosition = g->revArm.centre - 1;
    g->motion.selectedStep = 45;
    std::string want;
    BuildPivotTable(*g, {2, 16, 0, 0, 0, 0}, "D", "T", want);
    const auto got = Lines(r.out), expected = Lines(want);
    ASSERT_EQ(got.size(), 4u + 9u);
    EXPECT_EQ(got[0].substr(0, 20), "Pivot Data   Nominal");
    for (std::size_t i = 1; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
}

// The window's table with one slot picked: its unused slots hold pivot 0,
// and the text table prints what the window prints.
TEST(PivotsCommand, ARepeatedPivotIsTheWindowsTable) {
    const CliRun r = Cli({"pivots", "--pivots", "4,0,0,0,0,0", "--step", "90"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto g = test::StartedDesign();
    g->motion.selectedStep = 90;
    std::string want;
    BuildPivotTable(*g, {4, 0, 0, 0, 0, 0}, "D", "T", want);
    const auto got = Lines(r.out), expected = Lines(want);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 1; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
}

TEST(PivotsCommand, DefaultsAreStep10AndTheMovingPivotsOfTheGear) {
    const CliRun r = Cli({"pivots"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 4u + 37u);
    EXPECT_EQ(lines[1].substr(lines[1].size() - 7), " 10.000");
    EXPECT_EQ(Lines(Cli({"pivots", "--pivots", "2,3,4,8,10,11"}).out)[4], lines[4]);
    const CliRun csv = Cli({"pivots", "--csv"});
    EXPECT_EQ(Lines(csv.out).at(0), "angle,p2x,p2y,p3x,p3y,p4x,p4y,p8x,p8y,p10x,p10y,p11x,p11y");
}

TEST(PivotsCommand, CsvHasAnXYPairPerPivotGivenAndOneLinePerAngle) {
    const CliRun r = Cli({"pivots", "--csv", "--pivots=3,8", "--step", "90"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "angle,p3x,p3y,p8x,p8y");
    EXPECT_EQ(lines[5].substr(0, 4), "360,");
}

TEST(PivotsCommand, ListNamesEveryPivot) {
    const CliRun r = Cli({"pivots", "--list"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 1u + kPivotCount);
    EXPECT_EQ(lines[0], "pivot,role");
    EXPECT_EQ(lines[3], "2,crank pin");
    EXPECT_EQ(lines[19], "18,reverse arm end");
}

TEST(PivotsCommand, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"pivots", "--pivots", "31"},           {"pivots", "--pivots", "1,2,3,4,5,6,7"},
        {"pivots", "--pivots", "2.5"},          {"pivots", "--pivots", "2,,3"},
        {"pivots", "--pivots"},                 {"pivots", "--step", "0"},
        {"pivots", "--step", "nan"},            {"pivots", "--step", "0.001"},
        {"pivots", "--revarm", "inf"},          {"pivots", "--rows", "3"},
        {"pivots", "--pivots", "2,2", "--csv"}, // the CSV names its columns by pivot
    };
    for (const auto& args : cases) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitUsage) << args.back();
        EXPECT_NE(r.err.find("pivots"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

} // namespace
} // namespace vx::cli
