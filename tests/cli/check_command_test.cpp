// vexlin-cli check: one design per way the linkage can fail to close, each
// named with its cause and said in plain words.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_table.h"

#include "tests/cli/cli_run.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::CliRun;

TEST(CheckCommand, DefaultDesignClosesInEveryGear) {
    for (const char* offset : {"-1", "0", "1"}) {
        const CliRun r = Cli({"check", "--revarm", offset});
        EXPECT_EQ(r.code, kExitOk) << offset;
        EXPECT_EQ(r.out, "angle,cause,message\n") << offset; // success is the header alone
        EXPECT_EQ(r.err, "") << offset;
    }
}

TEST(CheckCommand, SummaryIsOneLineOnStandardOutput) {
    const struct {
        std::vector<std::string> args;
        int code;
        const char* line;
    } cases[] = {
        {{"check", "--summary"}, kExitOk, "closes at every angle\n"},
        {{"--set", "mainRodLength=1", "check", "--step", "30", "--summary"}, kExitFault,
         "does not close at 6 of 12 angles; first: The main rod cannot reach the crosshead at 60.0\xC2\xB0\n"},
        {{"--set", "stroke=-5", "check", "--summary"}, kExitFault,
         "a length is not above zero: Stroke (stroke) is -5; the gear needs it above zero\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, c.code) << c.line;
        EXPECT_EQ(r.out, c.line);
        EXPECT_EQ(r.err, "");
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
         ",dimension,Lift Link for ExLink (liftLinkExLink) is -100; the gear needs it above zero"},
        // The classic searches miss at 0 degrees, where the exact solve closes.
        {{"--set", "radRodShortEnd=10", "check", "--step", "90"},
         "90,radius-rod-lifting-link,The radius rod's lifting link cannot hold the radius rod at 90.0\xC2\xB0"},
        {{"--set", "eccFwdRod=0.5", "check", "--step", "90"},
         "0,eccentric-rod,The eccentric rods cannot reach the expansion link at 0.0\xC2\xB0"},
        // A guarded divisor names the part that stands in a dead position.
        {{"--set", "rockerUpperTotal=1e-30", "--set", "rockerUpperBackSet=0", "check", "--step", "90"},
         "0,rocker-upper-arm,The rocker's upper arm lies level with its pivot at 0.0\xC2\xB0"},
        {{"--set", "rockerLowerLength=1e-30", "check", "--step", "90"},
         "0,rocker-lower-arm,The rocker's lower arm lies level with its pivot at 0.0\xC2\xB0"},
        {{"--set", "eccRevRod=1e-30", "check", "--step", "90"},
         "0,eccentric-rev-rod,The reverse eccentric rod has no length at 0.0\xC2\xB0"},
        {{"--set", "stroke=1e-30", "check", "--step", "90"}, "0,stroke,The stroke is zero at 0.0\xC2\xB0"},
        // A dimension that is not a number is named before any solve.
        {{"--set", "valveCtrToJoint=nan", "check", "--step", "90"},
         ",not-finite,\"Valve Stem (valveCtrToJoint) is nan, not a finite number\""},
        {{"--set", "valveFrontHalf=inf", "check", "--step", "90"},
         ",not-finite,\"Valve Length   Front Half (valveFrontHalf) is inf, not a finite number\""},
        {{"--set", "driverDia=1e7", "check", "--step", "90"},
         ",absurd,\"Driver Dia (driverDia) is 1e+07, beyond the 1e+06 no dimension of a gear reaches\""},
        // A length the gear needs above zero is named before any solve.
        {{"--set", "stroke=-5", "check"}, ",dimension,Stroke (stroke) is -5; the gear needs it above zero"},
        {{"--set", "stroke=0", "check"}, ",dimension,Stroke (stroke) is 0; the gear needs it above zero"},
        {{"--set", "eccRevRod=0", "check"},
         ",dimension,Eccentric Reverse Rod (eccRevRod) is 0; the gear needs it above zero"},
        {{"--set", "mainRodLength=nan", "check"},
         ",not-finite,\"Main Rod Length (mainRodLength) is nan, not a finite number\""},
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
