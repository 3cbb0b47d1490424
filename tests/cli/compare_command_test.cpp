// vexlin-cli compare: a design against itself gives zeros throughout; two
// designs give the differences two events runs give.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "tests/cli/cli_run.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::CliRun;
using test::Lines;
using test::Number;

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> f;
    std::istringstream in(line);
    for (std::string x; std::getline(in, x, ',');) f.push_back(x);
    if (!line.empty() && line.back() == ',') f.emplace_back();
    return f;
}

struct Designs {
    test::TempDir dir;
    std::string a = dir.File("a.vxd"), b = dir.File("b.vxd");
    Designs() {
        EXPECT_EQ(Cli({"save", a}).code, kExitOk);
        EXPECT_EQ(Cli({"--set", "stroke=3.3", "--set", "liftShaftHorz=7.637", "save", b}).code, kExitOk);
    }
};

TEST(CompareCommand, ADesignAgainstItselfGivesZerosThroughout) {
    Designs d;
    const CliRun r = Cli({"compare", d.a, d.a, "--csv", "--positions", "-1,-0.5,0.25"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines[0], "offset,end,name,a,b,difference");
    ASSERT_EQ(lines.size(), 1u + 3u * 2u * 15u); // no dimension differs
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = Fields(lines[i]);
        ASSERT_EQ(f.size(), 6u) << lines[i];
        EXPECT_EQ(f[3], f[4]) << lines[i];
        if (!f[5].empty()) {
            EXPECT_EQ(Number(f[5]), 0.0) << lines[i];
        }
    }
    // Identical designs: one line that says so.
    const CliRun table = Cli({"compare", d.a, d.a, "--positions", "-1"});
    ASSERT_EQ(table.code, kExitOk) << table.err;
    EXPECT_EQ(Lines(table.out).size(), 1u) << table.out;
    EXPECT_NE(table.out.find("are the same"), std::string::npos) << table.out;
}

TEST(CompareCommand, DifferencesAreThoseOfTwoEventsRuns) {
    Designs d;
    const std::vector<std::string> at = {"--csv", "--positions", "-1,-0.5,0"};
    std::vector<std::string> args = {"compare", d.a, d.b};
    args.insert(args.end(), at.begin(), at.end());
    const CliRun r = Cli(args);
    ASSERT_EQ(r.code, 1) << r.err; // they differ, as diff says it
    const auto lines = Lines(r.out);
    // The dimensions that differ come first.
    EXPECT_EQ(lines.at(1), ",,stroke,3,3.3,0.29999995");
    EXPECT_EQ(lines.at(2).substr(0, 17), ",,liftShaftHorz,7");

    std::map<std::string, std::vector<std::string>> rows[2]; // "offset,end" -> events row
    std::vector<std::string> header;
    for (int k = 0; k < 2; ++k) {
        std::vector<std::string> events = {"--design", k == 0 ? d.a : d.b, "events"};
        events.insert(events.end(), at.begin(), at.end());
        const CliRun e = Cli(events);
        ASSERT_EQ(e.code, kExitOk) << e.err;
        const auto el = Lines(e.out);
        header = Fields(el[0]);
        for (std::size_t i = 1; i < el.size(); ++i) {
            const auto f = Fields(el[i]);
            rows[k][f[18] + "," + f[2]] = f;
        }
    }
    int checked = 0;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const auto f = Fields(lines[i]);
        const auto& ra = rows[0].at(f[0] + "," + f[1]);
        const auto& rb = rows[1].at(f[0] + "," + f[1]);
        std::size_t column = 0;
        while (column < header.size() && header[column] != f[2]) ++column;
        ASSERT_LT(column, header.size()) << f[2];
        EXPECT_EQ(f[3], ra[column]) << lines[i];
        EXPECT_EQ(f[4], rb[column]) << lines[i];
        if (ra[column].empty() || rb[column].empty()) {
            EXPECT_EQ(f[5], "") << lines[i];
            continue;
        }
        // The difference of the printed figures (angles wrapped to +-180).
        double by = Number(rb[column]) - Number(ra[column]);
        if (f[2].find("Angle") != std::string::npos) by = by > 180 ? by - 360 : by <= -180 ? by + 360 : by;
        EXPECT_NEAR(Number(f[5]), by, 1e-9) << lines[i];
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

TEST(CompareCommand, UsageAndMissingDesigns) {
    Designs d;
    EXPECT_EQ(Cli({"compare", d.a}).code, kExitUsage);
    EXPECT_EQ(Cli({"compare", d.a, d.b, d.a}).code, kExitUsage);
    EXPECT_EQ(Cli({"--design", d.a, "compare", d.a, d.b}).code, kExitUsage);
    EXPECT_EQ(Cli({"compare", d.a, d.dir.File("none.vxd")}).code, kExitCannotRun);
}

} // namespace
} // namespace vx::cli
