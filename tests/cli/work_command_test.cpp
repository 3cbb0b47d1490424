// vexlin-cli work: the CSV's columns and rows, each end's MEP against the
// card worked by hand from that row's events, the table, ends without a
// card, and the settings and options refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/text_io.h"
#include "tests/cli/cli_run.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::CliRun;
using test::Fields;
using test::Lines;
using test::Number;

constexpr const char* kHeader =
    "position,direction,end,admission,cutOff,release,compression,mep,mepRatio,steamPerStroke,steamPerWork,"
    "tractiveEffort,offset";

// The card worked by hand: each piece's integral in closed form, from the
// textbook (hyperbolic expansion and compression, n = 1).
double HandMep(double a, double k, double r, double p, double p1, double pb, double c) {
    const double admission = p1 * k;
    const double expansion = p1 * (c + k) * std::log((c + r) / (c + k));
    const double pr = p1 * (c + k) / (c + r);
    const double release = 0.5 * (pr + pb) * (1 - r);
    const double exhaust = pb * (1 - p);
    const double compression = pb * (c + p) * std::log((c + p) / (c + a));
    const double pa = pb * (c + p) / (c + a);
    const double preAdmission = 0.5 * (pa + p1) * a;
    return admission + expansion + release - (exhaust + compression + preAdmission);
}

TEST(WorkCommand, FullForwardMepIsTheCardWorkedByHandFromEachRow) {
    const CliRun r = Cli({"work", "--csv", "--positions", "-1"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], kHeader);
    double sum = 0;
    for (int i = 1; i <= 2; ++i) {
        const auto f = Fields(lines[static_cast<std::size_t>(i)]);
        ASSERT_EQ(f.size(), 13u) << lines[static_cast<std::size_t>(i)];
        EXPECT_EQ(f[12], "-1"); // the offset as asked
        EXPECT_EQ(f[1], "forward");
        EXPECT_EQ(f[2], i == 1 ? "front" : "rear");
        const double a = Number(f[3]) / 100, k = Number(f[4]) / 100, rel = Number(f[5]) / 100,
                     p = Number(f[6]) / 100;
        ASSERT_TRUE(k < rel && a < p) << lines[static_cast<std::size_t>(i)];
        const double hand = HandMep(a, k, rel, p, 200, 18, 0.08);
        EXPECT_NEAR(Number(f[7]), hand, 1e-4 * hand) << lines[static_cast<std::size_t>(i)];
        EXPECT_NEAR(Number(f[8]), hand / 200, 1e-4 * hand / 200);
        const double steam = (0.08 + k) - 18.0 / 200 * (0.08 + p);
        EXPECT_NEAR(Number(f[9]), steam, 1e-5);
        EXPECT_NEAR(Number(f[10]), steam * 200 / hand, 1e-4 * steam * 200 / hand);
        sum += hand;
    }
    // The tractive effort is the whole engine's, on both rows.
    EXPECT_EQ(Fields(lines[1])[11], Fields(lines[2])[11]);
    const CliRun dims = Cli({"dims"});
    double bore = 0, stroke = 0, wheel = 0;
    for (const auto& line : Lines(dims.out)) {
        const auto f = Fields(line);
        if (f[1] == "boreDia") bore = Number(f[3]);
        if (f[1] == "stroke") stroke = Number(f[3]);
        if (f[1] == "driverDia") wheel = Number(f[3]);
    }
    const double te = 2 * sum * bore * bore * stroke / (4 * wheel);
    EXPECT_NEAR(Number(Fields(lines[1])[11]), te, 1e-4 * te + 0.01);
}

TEST(WorkCommand, NineNotchesTwoRowsEachAndTheTable) {
    const CliRun csv = Cli({"work", "--csv"});
    ASSERT_EQ(csv.code, kExitOk) << csv.err;
    ASSERT_EQ(Lines(csv.out).size(), 19u);
    const CliRun table = Cli({"work", "--pressure", "250", "--exponent", "1.3", "--cylinders", "3"});
    ASSERT_EQ(table.code, kExitOk) << table.err;
    for (const char* text : {"front-rear", "MEP / p1", "steam per work", "tractive effort", "p1 250", "n 1.3",
                             "3 cylinders", "lbf for psi and inches", "running in reverse"}) {
        EXPECT_NE(table.out.find(text), std::string::npos) << text;
    }
    // More pressure, more work.
    const CliRun more = Cli({"work", "--csv", "--positions", "-1", "--pressure", "250"});
    const CliRun less = Cli({"work", "--csv", "--positions", "-1"});
    EXPECT_GT(Number(Fields(Lines(more.out)[1])[7]), Number(Fields(Lines(less.out)[1])[7]));
}

TEST(WorkCommand, AnEndWithoutAnEventHasEmptyFiguresAndExitsOne) {
    // A front lap wider than the valve's travel: the front port never opens.
    const CliRun r = Cli({"--set", "valveFrontHalf=2", "work", "--csv", "--positions", "-1"});
    EXPECT_EQ(r.code, kExitFault);
    EXPECT_NE(r.err.find("front end: no card (an event is missing"), std::string::npos) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3u);
    const auto front = Fields(lines[1]);
    ASSERT_EQ(front.size(), 13u);
    for (std::size_t c = 7; c < 12; ++c) EXPECT_EQ(front[c], "") << lines[1];
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
    const auto rear = Fields(lines[2]);
    EXPECT_NE(rear[7], ""); // the rear card is still there
    EXPECT_EQ(rear[11], ""); // but no tractive effort for the engine
}

TEST(WorkCommand, BadSettingsAndOptionsAreUsageErrorsNamingThem) {
    struct Row {
        std::vector<std::string> args;
        const char* says;
    };
    const Row kRows[] = {
        {{"--pressure", "18"}, "admission pressure"},
        {{"--pressure", "10", "--back-pressure", "18"}, "admission pressure"},
        {{"--pressure", "nan"}, "admission pressure"},
        {{"--pressure", "1e300"}, "admission pressure"},
        {{"--back-pressure", "-1"}, "back pressure"},
        {{"--back-pressure", "inf"}, "back pressure"},
        {{"--clearance", "-0.1"}, "clearance"},
        {{"--clearance", "nan"}, "clearance"},
        {{"--exponent", "0"}, "exponent"},
        {{"--exponent", "-inf"}, "exponent"},
        {{"--cylinders", "0"}, "--cylinders"},
        {{"--cylinders", "1.5"}, "--cylinders"},
        {{"--cylinders", "nan"}, "--cylinders"},
        {{"--pressure", "abc"}, "--pressure needs a number"},
        {{"--pressure"}, "--pressure needs a value"},
        {{"--direction", "up"}, "--direction"},
        {{"--positions", "1,x"}, "--positions"},
        {{"--frobnicate"}, "unknown option"},
        {{"--pressure", "abc", "--pressure", "250"}, "--pressure needs a number"},
        {{"--cylinders", "0", "--positions", "1,x"}, "--positions"},
    };
    for (const Row& row : kRows) {
        std::vector<std::string> args = {"work"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitUsage) << row.says;
        EXPECT_NE(r.err.find(row.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

// "diagram work": the cards of the diagrams' positions as a picture, and
// the same CSV as "work" behind it.
TEST(WorkCommand, DiagramWorkDrawsTheCardsAndGivesTheirFigures) {
    test::TempDir dir;
    const std::string svg = dir.File("cards.svg");
    const CliRun picture = Cli({"diagram", "work", "--out", svg});
    ASSERT_EQ(picture.code, kExitOk) << picture.err;
    std::ifstream in(svg);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("Economy curve"), std::string::npos);
    const CliRun data = Cli({"diagram", "work", "--positions", "-1", "--data"});
    ASSERT_EQ(data.code, kExitOk) << data.err;
    // The same rows; work's CSV ends each with the offset as asked.
    const CliRun work = Cli({"work", "--csv", "--positions", "-1"});
    std::string withoutOffset;
    for (const std::string& line : Lines(work.out)) withoutOffset += line.substr(0, line.rfind(',')) + "\n";
    EXPECT_EQ(data.out, withoutOffset);
}

// The worst |MEP front - MEP rear| of `work --csv` output.
double WorstMepDifference(const std::string& csv) {
    const auto lines = Lines(csv);
    double worst = 0;
    for (std::size_t i = 1; i + 1 < lines.size(); i += 2) {
        const auto front = Fields(lines[i]), rear = Fields(lines[i + 1]);
        EXPECT_EQ(front[0], rear[0]);
        worst = std::max(worst, std::fabs(Number(front[7]) - Number(rear[7])));
    }
    return worst;
}

// Balancing on the work weight alone squares the two ends' work: the worst
// MEP difference over the forward notches, recomputed by "work" on the
// saved design, at least halves.
TEST(WorkCommand, BalancingOnTheWorkWeightSquaresTheEnds) {
    const char* kVary[] = {"valveCtrToJoint", "eccFwdRod", "radRodTotalLength", "exLinkEccRodBackSet"};
    const std::string positions = "-1,-0.75,-0.5,-0.25";
    std::vector<std::string> args = {"balance", "--vary",
                                     "valveCtrToJoint,eccFwdRod,radRodTotalLength,exLinkEccRodBackSet"};
    const CliRun dims = Cli({"dims"});
    for (const char* field : kVary) {
        for (const auto& line : Lines(dims.out)) {
            const auto f = Fields(line);
            if (f[1] != field) continue;
            const double v = Number(f[3]);
            std::string bound = std::string(field) + "=";
            AppendNumber(bound, v - 0.1);
            bound += ":";
            AppendNumber(bound, v + 0.1);
            args.insert(args.end(), {"--bounds", bound});
        }
    }
    ASSERT_EQ(args.size(), 3u + 2 * std::size(kVary));
    test::TempDir dir;
    const std::string saved = dir.File("squared.vxd");
    args.insert(args.end(), {"--positions", positions, "--weights", "cutoff=0,lead=0,work=1", "--save", saved});
    const CliRun balance = Cli(args);
    ASSERT_EQ(balance.code, kExitOk) << balance.err;
    EXPECT_NE(balance.out.find("worst MEP difference"), std::string::npos);

    const CliRun before = Cli({"work", "--csv", "--positions", positions});
    const CliRun after = Cli({"--design", saved, "work", "--csv", "--positions", positions});
    ASSERT_EQ(before.code, kExitOk) << before.err;
    ASSERT_EQ(after.code, kExitOk) << after.err;
    const double worstBefore = WorstMepDifference(before.out), worstAfter = WorstMepDifference(after.out);
    EXPECT_GT(worstBefore, 1.0);
    EXPECT_LE(worstAfter, 0.5 * worstBefore) << worstBefore << " -> " << worstAfter;
}

} // namespace
} // namespace vx::cli
