// vexlin-cli check: one design per way the linkage can fail to close, each
// named with its cause and said in plain words.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

#include "tests/cli/cli_run.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::CliRun;

TEST(CheckCommand, DefaultDesignClosesInEveryGear) {
    for (const char* offset : {"-1", "0", "1"}) {
        const CliRun r = Cli({"check", "--revarm", offset});
        EXPECT_EQ(r.code, kExitOk) << offset;
        EXPECT_EQ(r.out, "") << offset;
        EXPECT_EQ(r.err, "closes at every angle\n") << offset;
    }
}

TEST(CheckCommand, EachCauseOnADesignThatProvokesIt) {
    struct Case {
        std::vector<std::string> args;
        const char* firstRow;
    } cases[] = {
        {{"--set", "mainRodLength=1", "check", "--step", "10"},
         "50,main-rod,The main rod cannot reach the crosshead at 50.0\xC2\xB0"},
        {{"check", "--revarm", "30", "--step", "90"},
         "0,reverse-arm,The reverse arm cannot reach its set position at 0.0\xC2\xB0"},
        {{"--set", "liftLinkExLink=-100", "check", "--step", "90"},
         "0,link-lifting-link,The expansion link's lifting link cannot hold the link at 0.0\xC2\xB0"},
        {{"--set", "liftLinkRadRod=-100", "check", "--step", "90"},
         "0,radius-rod-lifting-link,The radius rod's lifting link cannot hold the radius rod at 0.0\xC2\xB0"},
        {{"--set", "eccFwdRod=0.5", "check", "--step", "90"},
         "0,eccentric-rod,The eccentric rods cannot reach the expansion link at 0.0\xC2\xB0"},
        // A guarded divisor names the part that stands in a dead position.
        {{"--set", "rockerUpperTotal=0", "--set", "rockerUpperBackSet=0", "check", "--step", "90"},
         "0,rocker-upper-arm,The rocker's upper arm lies level with its pivot at 0.0\xC2\xB0"},
        {{"--set", "rockerLowerLength=0", "check", "--step", "90"},
         "0,rocker-lower-arm,The rocker's lower arm lies level with its pivot at 0.0\xC2\xB0"},
        {{"--set", "eccRevRod=0", "check", "--step", "90"},
         "0,eccentric-rev-rod,The reverse eccentric rod has no length at 0.0\xC2\xB0"},
        {{"--set", "stroke=0", "check", "--step", "90"}, "0,stroke,The stroke is zero at 0.0\xC2\xB0"},
    };
    for (const Case& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, kExitFault) << c.firstRow;
        const std::string head = "angle,cause,message\n" + std::string(c.firstRow) + "\n";
        EXPECT_EQ(r.out.substr(0, head.size()), head);
        EXPECT_EQ(r.err, "");
    }
}

// A main rod of length 1 on a stroke of 3 reaches the crosshead's line only
// while the crank pin is within 1 of it: the failing angles are exactly the
// two arcs around 90 and 270 degrees, listed at the step given.
TEST(CheckCommand, ListsOnlyTheAnglesThatFail) {
    const CliRun r = Cli({"--set", "mainRodLength=1", "check", "--step", "30"});
    EXPECT_EQ(r.code, kExitFault);
    std::istringstream rows(r.out);
    std::string line, angles;
    std::getline(rows, line);
    while (std::getline(rows, line)) angles += line.substr(0, line.find(',')) + " ";
    EXPECT_EQ(angles, "60 90 120 240 270 300 ");
}

TEST(CheckCommand, UsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"check", "--step", "0"},
             {"check", "--step", "nan"},
             {"check", "--step", "-5"},
             {"check", "--revarm", "inf"},
             {"check", "--revarm"},
             {"check", "--from", "3"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitUsage) << args.back();
        EXPECT_NE(r.err.find("check: "), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace vx::cli
