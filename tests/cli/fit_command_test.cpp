// vexlin-cli fit and work --measured: the CSV of the fitted dimensions, the
// residuals' file, the fitted design written, the exit codes of the
// README's table (a bad line of the measurement file is a usage error that
// names the line, a file that cannot be read could not run), and the cards
// of a measured engine.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "tests/cli/cli_run.h"
#include "tests/kit/files.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::Fields;
using test::Lines;
using test::Number;

// The default design with its valve rod built 0.03 long, measured at full
// and half forward gear.
constexpr const char* kMeasured =
    "offset,direction,end,event,value,unit,weight,note\n"
    "-1,forward,front,cutOff,63.2391,percent,,\n"
    "-1,forward,rear,cutOff,74.5239,percent,,\n"
    "-1,forward,front,lead,-0.02226,length,,feeler\n"
    "-1,forward,rear,lead,0.06485,length,,feeler\n"
    "-0.5,forward,front,cutOff,31.5841,percent,,\n"
    "-0.5,forward,rear,cutOff,42.7443,percent,,\n";

class FitCommandTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string Measured(const std::string& text = kMeasured) {
        const std::string path = dir.File("measured.csv");
        test::WriteAll(path, text);
        return path;
    }
};

TEST_F(FitCommandTest, CsvResidualsAndTheFittedDesign) {
    const std::string measured = Measured();
    const std::string residuals = dir.File("residuals.csv");
    const std::string out = dir.File("as-built.vxd");
    const auto r = Cli({"fit", "--measured", measured, "--vary", "valveCtrToJoint", "--csv", "--residuals",
                        residuals, "--out", out});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(lines[0], "field,drawing,fitted,change,standardError");
    const auto f = Fields(lines[1]);
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0], "valveCtrToJoint");
    EXPECT_NEAR(Number(f[1]), 3.703, 1e-6);
    EXPECT_NEAR(Number(f[3]), 0.03, 0.002);
    EXPECT_GT(Number(f[4]), 0);
    const auto rows = Lines(test::ReadAll(residuals));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], "offset,direction,end,event,unit,measured,fitted,residual");
    for (std::size_t i = 2; i < rows.size(); ++i)
        EXPECT_GE(std::fabs(Number(Fields(rows[i - 1])[7])), std::fabs(Number(Fields(rows[i])[7])));
    // The fitted design reads back with the fitted value.
    const auto dims = Cli({"--design", out, "dims"});
    ASSERT_EQ(dims.code, kExitOk) << dims.err;
    EXPECT_NE(dims.out.find("valveCtrToJoint,Valve Stem," + f[2]), std::string::npos) << dims.out;
}

TEST_F(FitCommandTest, TheTextNamesTheCorrectionsInShopTerms) {
    const auto r = Cli({"fit", "--measured", Measured(), "--vary", "valveCtrToJoint", "--adjust", "valveCtrToJoint"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_NE(r.out.find("Fit of 1 dimensions to 6 measurements"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Residuals, largest first"), std::string::npos);
    EXPECT_NE(r.out.find("Corrections (the balance of the fitted engine):\n  shorten Valve Stem (valveCtrToJoint) by "),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("After the corrections:"), std::string::npos);
}

TEST_F(FitCommandTest, ExitCodesFollowTheTable) {
    const std::string header = "offset,direction,end,event,value,unit\n";
    struct Case {
        std::vector<std::string> args;
        std::string measured; // written to the file named by --measured when not empty
        int code;
        std::string message; // part of stderr
    };
    const Case cases[] = {
        {{"fit"}, "", kExitUsage, "--measured FILE is required"},
        {{"fit", "--measured", "@", "--vary", "nosuch"}, header, kExitUsage, "unknown dimension field \"nosuch\""},
        {{"fit", "--measured", "@", "--vary", "revArmToCentMax"}, header, kExitUsage, "reverse arm travel"},
        {{"fit", "--measured", "@", "--weights", "deg=0"}, header, kExitUsage, "--weights: deg needs a finite number above 0"},
        {{"fit", "--measured", "@"}, header + "-1,forward,front,cutof,60,percent\n", kExitUsage,
         "line 2: unknown event \"cutof\""},
        {{"fit", "--measured", "@"}, "offset,end,event,value,unit\n", kExitUsage,
         "line 1: the header has no column \"direction\""},
        {{"fit", "--measured", "@"}, header + "-1,forward,front,cutOff,60,inches\n", kExitUsage,
         "line 2: unknown unit \"inches\""},
        {{"fit", "--measured", "@"}, header + "-1,forward,front,cutOff,inf,percent\n", kExitUsage,
         "line 2: the value \"inf\" is not a finite number"},
        {{"fit", "--measured", "@", "--vary", "valveCtrToJoint"}, header + "-2,forward,front,cutOff,60,percent\n",
         kExitUsage, "line 2: offset -2 lies outside the reverse arm travel"},
        {{"fit", "--measured", "@"}, header + "-1,forward,front,cutOff,60,percent\n-1,forward,rear,cutOff,60,percent\n",
         kExitUsage, "line 3: only 2 measurements for 7 varied dimensions"},
        {{"fit", "--measured", "/nonexistent/measured.csv"}, "", kExitCannotRun, "cannot read the measurements"},
        {{"--set", "mainRodLength=-10", "fit", "--measured", "@", "--vary", "valveCtrToJoint"},
         header + "-1,forward,front,cutOff,60,percent\n", kExitFault, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        for (std::string& a : args)
            if (a == "@") a = Measured(c.measured);
        const auto r = Cli(args);
        EXPECT_EQ(r.code, c.code) << args.back() << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

TEST_F(FitCommandTest, WorkOfTheMeasuredEngine) {
    // The textbook card: admission at 0 %, cut-off at 25 %, release at 100 %,
    // no compression, n = 1, c = 0.08: MEP = p1 (k + (k + c) ln((1 + c) / (k + c))) - pb.
    const std::string text = "offset,direction,end,event,value,unit\n"
                             "-1,,front,admission,0,percent\n-1,,front,cutOff,25,percent\n"
                             "-1,,front,release,100,percent\n-1,,front,compression,0,percent\n"
                             "-1,,rear,admission,0,percent\n-1,,rear,cutOff,0.75,length\n"
                             "-1,,rear,release,100,percent\n-1,,rear,compression,0,percent\n";
    const auto r = Cli({"work", "--measured", Measured(text), "--csv"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    const double expected = 200 * (0.25 + 0.33 * std::log(1.08 / 0.33)) - 18;
    EXPECT_NEAR(Number(Fields(lines[1])[7]), expected, 1e-3);
    EXPECT_NEAR(Number(Fields(lines[2])[7]), expected, 1e-3); // 0.75 of a stroke of 3 is 25 %
    // An end not fully measured is named, not guessed: exit 1.
    const auto partial = Cli({"work", "--measured", Measured("offset,direction,end,event,value,unit\n"
                                                             "-1,,front,cutOff,25,percent\n")});
    EXPECT_EQ(partial.code, kExitFault);
    EXPECT_NE(partial.out.find("not measured: front admission, front release, front compression, rear admission"),
              std::string::npos)
        << partial.out;
    EXPECT_EQ(Cli({"work", "--measured", Measured(), "--positions", "-1"}).code, kExitUsage);
}

} // namespace
} // namespace vx::cli
