// vexlin-cli balance: usage errors that name what is wrong, the changes and
// the events before and after, --save as the only writer, and bounds where
// the linkage never closes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "data/dimension_file.h"
#include "model/gear/dimensions.h"
#include "tests/cli/cli_run.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::Number;
using test::CliRun;
using test::Lines;
using test::TempDir;

TEST(BalanceCommand, UsageErrorsNameWhatIsWrongAndWriteNothing) {
    struct Case {
        std::vector<std::string> args;
        const char* words;
    };
    const Case cases[] = {
        {{}, "--vary FIELD,... is required"},
        {{"--vary", "noSuchField"}, "unknown dimension field \"noSuchField\""},
        {{"--vary", "stroke,noSuchField"}, "unknown dimension field \"noSuchField\""},
        {{"--vary", "stroke,stroke"}, "--vary lists stroke twice"},
        {{"--vary", "revArmToCentMax"}, "revArmToCentMax is the reverse arm travel"},
        {{"--vary", "stroke", "--bounds", "stroke=3.2:3.1"},
         "stroke has its lower bound 3.20000005 above its upper bound 3.0999999"},
        {{"--vary", "stroke", "--bounds", "stroke=3:x"}, "not a finite number: \"x\" (for stroke)"},
        {{"--vary", "stroke", "--bounds", "stroke=3:inf"}, "not a finite number: \"inf\" (for stroke)"},
        {{"--vary", "stroke", "--bounds", "stroke=3"}, "--bounds needs FIELD=LO:HI, got \"stroke=3\""},
        {{"--vary", "stroke", "--bounds", "eccFwdRod=7:8"}, "--bounds names eccFwdRod, which --vary does not list"},
        {{"--vary", "stroke", "--bounds", "noSuchField=1:2"}, "unknown dimension field \"noSuchField\""},
        {{"--vary", "stroke", "--max-evals", "0"}, "--max-evals needs a whole number of evaluations from 1"},
        {{"--vary", "stroke", "--max-evals", "2.5"}, "--max-evals needs a whole number"},
        {{"--vary", "stroke", "--weights", "cutoff=0,lead=0"}, "every weight is 0"},
        {{"--vary", "stroke", "--weights", "steam=1"}, "--weights needs cutoff=W, lead=W, release=W or compression=W"},
        {{"--vary", "stroke", "--weights", "lead=-1"}, "--weights: lead needs a finite number not below 0"},
        {{"--vary", "stroke", "--weights", "cutoff=1e308,lead=1e308"},
         "the weights cutoff=1e+308, lead=1e+308 are too large"},
        {{"--vary", "stroke", "--positions", "-1,x"}, "--positions: not a finite number: \"x\""},
        {{"--vary", "stroke", "--direction", "sideways"}, "--direction needs auto, forward or reverse"},
        {{"--vary", "stroke", "--save"}, "--save needs a value"},
        {{"--vary", "stroke", "--fast"}, "unknown option \"--fast\""},
    };
    TempDir dir;
    const std::string saved = dir.File("balanced.vxd");
    for (const Case& c : cases) {
        std::vector<std::string> args = {"balance"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        if (c.args.empty() || c.args.back() != "--save") {
            args.push_back("--save");
            args.push_back(saved);
        }
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitUsage) << c.words;
        EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << c.words;
        EXPECT_FALSE(std::filesystem::exists(saved)) << c.words;
    }
}

TEST(BalanceCommand, PrintsTheChangesAndTheEventsBeforeAndAfterAndSavesOnlyWhenAsked) {
    TempDir dir;
    const std::vector<std::string> args = {"balance",   "--vary", "radRodTotalLength", "--positions", "-0.5",
                                           "--weights", "lead=0", "--max-evals", "100", "--solve",   "classic"};
    // The classic solve's figures, pinned.
    const CliRun r = Cli(args);
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(dir.Names().empty());
    const auto lines = Lines(r.out);
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0], "dimension                   before       after       lower       upper");
    EXPECT_EQ(lines[1].substr(0, 42), "radRodTotalLength          5.10000     5.0");
    EXPECT_EQ(lines[1].substr(46), "     4.84500     5.35500"); // +- 5 %
    EXPECT_NE(r.out.find("worst cut-off difference 9.07 -> 0.0"), std::string::npos) << r.out;
    const auto before = r.out.find("Before:\n\nReverse arm 7.121721 (mid gear -0.500000), running forward\n");
    const auto after = r.out.find("After:\n\nReverse arm ");
    ASSERT_NE(before, std::string::npos) << r.out;
    ASSERT_NE(after, std::string::npos) << r.out;
    EXPECT_LT(before, after);
    EXPECT_NE(r.out.find("cut-off, %", after), std::string::npos);

    // The same search, saved: the file holds the balanced value.
    std::vector<std::string> save = args;
    save.push_back("--save");
    save.push_back(dir.File("balanced.vxd"));
    const CliRun s = Cli(save);
    ASSERT_EQ(s.code, kExitOk) << s.err;
    EXPECT_EQ(s.out, r.out);
    auto g = std::make_unique<GearState>();
    ASSERT_TRUE(OpenDesign(*g, dir.File("balanced.vxd")).ok);
    const std::string value = lines[1].substr(34, 12);
    const auto* d = FindDimensionByField("radRodTotalLength");
    EXPECT_NEAR(DimensionValue(*g, *d), Number(value), 5e-6);
    EXPECT_NE(DimensionValue(*g, *d), 5.1f);
}

TEST(BalanceCommand, BoundsWhereTheLinkageNeverClosesFailAndSaveNothing) {
    TempDir dir;
    const CliRun r = Cli({"--set", "radRodTotalLength=0.5", "balance", "--vary", "radRodTotalLength", "--bounds",
                          "radRodTotalLength=0.4:0.6", "--max-evals", "5", "--save", dir.File("x.vxd")});
    EXPECT_EQ(r.code, kExitFault);
    EXPECT_NE(r.err.find("no design within the bounds closes the linkage"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("the linkage does not close"), std::string::npos);
    EXPECT_TRUE(dir.Names().empty());
}

} // namespace
} // namespace vx::cli
