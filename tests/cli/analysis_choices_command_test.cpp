// The choices the analysis commands share: --digits (every figure in the
// shortest form that reads back as the same double, the default output
// unchanged), --solve (read on every command that takes it, refused when
// wrong) and --unit (the labels of lengths, never the CSV).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/fixed_format.h"
#include "cli/balance_command.h"
#include "cli/command_table.h"
#include "cli/compare_command.h"
#include "cli/events_command.h"
#include "cli/midgear_command.h"
#include "cli/option_values.h"
#include "cli/report_command.h"
#include "cli/sensitivity_command.h"
#include "cli/tolerance_command.h"
#include "cli/work_command.h"
#include "tests/cli/cli_run.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

using test::Cli;
using test::CliRun;
using test::Fields;
using test::Lines;

// The words of a line split at blanks (a table's columns).
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Decimals after the point of a fixed text, 0 without one.
int DecimalsOf(const std::string& text) {
    const auto dot = text.find('.');
    const auto e = text.find_first_of("eE");
    if (dot == std::string::npos) return 0;
    return static_cast<int>((e == std::string::npos ? text.size() : e) - dot - 1);
}

// The full text of a figure is the shortest of its double, and the fixed
// text is that double rounded to its decimals (or nine significant
// digits, whichever the fixed text shows).
void ExpectSameFigure(const std::string& fixed, const std::string& full, const std::string& where) {
    const auto f = ReadNumber(fixed), g = ReadNumber(full);
    if (!f) {
        EXPECT_EQ(fixed, full) << where; // a word: the same in both
        return;
    }
    ASSERT_TRUE(g.has_value()) << where << ": " << full;
    char buf[kNumberBuffer];
    EXPECT_EQ(full, FormatRoundTrip(buf, *g)) << where;
    if (std::isnan(*f)) {
        EXPECT_TRUE(std::isnan(*g)) << where;
        return;
    }
    const double tolerance = 0.5 * std::pow(10.0, -DecimalsOf(fixed)) + 5e-9 * std::fabs(*g);
    EXPECT_NEAR(*f, *g, tolerance) << where << ": " << fixed << " vs " << full;
}

struct Designs {
    test::TempDir dir;
    std::string a = dir.File("a.vxd"), b = dir.File("b.vxd");
    Designs() {
        EXPECT_EQ(Cli({"save", a}).code, kExitOk);
        EXPECT_EQ(Cli({"--set", "stroke=3.3", "save", b}).code, kExitOk);
    }
};

// Every command that takes --digits: the default is --digits fixed and is
// today's output; --digits full gives the same rows and fields, each figure
// in the shortest round-trip form of the double the fixed text rounds.
TEST(AnalysisChoices, DigitsFullWritesEveryDigitAndTheDefaultIsUnchanged) {
    const Designs d;
    const std::vector<std::vector<std::string>> runs = {
        {"events", "--positions", "-1,0.5", "--csv"},
        {"events", "--positions", "-1"},
        {"work", "--positions", "-1,-0.5", "--csv"},
        {"work", "--positions", "-0.5"},
        {"sensitivity", "--positions", "-1", "--fields", "eccFwdRod,exLinkEccRodVert", "--csv", "--threads", "1"},
        {"sensitivity", "--positions", "-1", "--fields", "eccFwdRod,valveCtrToJoint", "--threads", "1"},
        {"tolerance", "--positions", "-1", "--samples", "8", "--csv", "--threads", "1"},
        {"tolerance", "--positions", "-1", "--samples", "8", "--threads", "1"},
        {"compare", d.a, d.b, "--positions", "-1", "--csv"},
        {"compare", d.a, d.b, "--positions", "-1"},
        std::vector<std::string>{"midgear"},
    };
    for (const auto& args : runs) {
        std::string name;
        for (const std::string& a : args) name += a + " ";
        const CliRun plain = Cli(args);
        // compare's status is diff's: 1 for two designs that differ.
        const int ok = args[0] == "compare" ? 1 : kExitOk;
        ASSERT_EQ(plain.code, ok) << name << plain.err;
        auto withDigits = [&](const char* digits) {
            std::vector<std::string> a = args;
            a.insert(a.end(), {"--digits", digits});
            return Cli(a);
        };
        const CliRun fixed = withDigits("fixed"), full = withDigits("full");
        EXPECT_EQ(fixed.out, plain.out) << name;
        EXPECT_EQ(withDigits("Full").out, full.out) << name; // in any case
        ASSERT_EQ(full.code, ok) << name << full.err;
        EXPECT_NE(full.out, plain.out) << name;
        const auto a = Lines(plain.out), b = Lines(full.out);
        ASSERT_EQ(a.size(), b.size()) << name;
        const bool csv = std::find(args.begin(), args.end(), "--csv") != args.end();
        for (std::size_t i = 0; i < a.size(); ++i) {
            // A table's columns never run together: the same words.
            const auto fa = csv ? Fields(a[i]) : Words(a[i]), fb = csv ? Fields(b[i]) : Words(b[i]);
            ASSERT_EQ(fa.size(), fb.size()) << name << "\n" << a[i] << "\n" << b[i];
            for (std::size_t k = 0; k < fa.size(); ++k) {
                std::string x = fa[k], y = fb[k];
                // "(mid gear +O)," and "P," around the numbers of a heading.
                for (std::string* s : {&x, &y}) {
                    while (!s->empty() && (s->back() == ',' || s->back() == ')' || s->back() == ':')) s->pop_back();
                    if (!s->empty() && s->front() == '+') s->erase(0, 1);
                }
                ExpectSameFigure(x, y, name + "line " + std::to_string(i) + " field " + std::to_string(k));
            }
        }
    }
}

TEST(AnalysisChoices, DigitsAndSolveAndUnitRefuseOtherValues) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"events", "--digits", "all"}, "--digits needs fixed or full"},
        {{"midgear", "--digits", ""}, "--digits needs fixed or full"},
        {{"work", "--solve", "exactly"}, "--solve needs exact or classic"},
        {{"sensitivity", "--solve", "fast"}, "--solve needs exact or classic"},
        {{"tolerance", "--solve", ""}, "--solve needs exact or classic"},
        {{"balance", "--vary", "eccFwdRod", "--solve", "x"}, "--solve needs exact or classic"},
        {{"report", "--out", "x.pdf", "--solve", "x"}, "--solve needs exact or classic"},
        {{"events", "--unit", "cm"}, "--unit needs in, mm or none"},
        {{"midgear", "--unit", "inch"}, "--unit needs in, mm or none"},
        {{"balance", "--vary", "eccFwdRod", "--digits", "full"}, "unknown option"},
        {{"report", "--out", "x.pdf", "--digits", "full"}, "unknown option"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, kExitUsage) << c.args[0] << " " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

// Each command reads --solve into what it runs with: the exact solve
// unless told, the classic one when asked; --unit likewise.
TEST(AnalysisChoices, EveryCommandCarriesTheSolveAndTheUnit) {
    struct Case {
        const char* command;
        std::vector<std::string> required;
        std::function<bool(const Args&, AnalysisChoices&, std::string&)> read;
    };
    const Case cases[] = {
        {"events", {}, [](const Args& a, AnalysisChoices& c, std::string& e) {
             EventsOptions o; const bool ok = ReadEventsOptions(a, o, e); c = o.choices; return ok; }},
        {"work", {}, [](const Args& a, AnalysisChoices& c, std::string& e) {
             WorkOptions o; const bool ok = ReadWorkOptions(a, o, e); c = o.events.choices; return ok; }},
        {"sensitivity", {}, [](const Args& a, AnalysisChoices& c, std::string& e) {
             SensitivityOptions o; const bool ok = ReadSensitivityOptions(a, o, e); c = o.choices; return ok; }},
        {"tolerance", {}, [](const Args& a, AnalysisChoices& c, std::string& e) {
             ToleranceOptions o; const bool ok = ReadToleranceOptions(a, o, e); c = o.choices; return ok; }},
        {"compare", {"a.vxd", "b.vxd"}, [](const Args& a, AnalysisChoices& c, std::string& e) {
             CompareOptions o; const bool ok = ReadCompareOptions(a, o, e); c = o.events.choices; return ok; }},
        {"midgear", {}, [](const Args& a, AnalysisChoices& c, std::string& e) {
             MidGearOptions o; const bool ok = ReadMidGearOptions(a, o, e); c = o.choices; return ok; }},
        {"balance", {"--vary", "eccFwdRod"}, [](const Args& a, AnalysisChoices& c, std::string& e) {
             BalanceOptions o; const bool ok = ReadBalanceOptions(a, o, e); c = o.choices; return ok; }},
        {"report", {"--out", "x.pdf"}, [](const Args& a, AnalysisChoices& c, std::string& e) {
             ReportOptions o; const bool ok = ReadReportOptions(a, o, e); c = o.choices; return ok; }},
    };
    for (const Case& c : cases) {
        const CommandEntry* entry = FindCommand(c.command);
        ASSERT_NE(entry, nullptr) << c.command;
        const std::string help = CommandHelp(*entry);
        EXPECT_NE(help.find("--solve S"), std::string::npos) << c.command;
        EXPECT_NE(help.find("--unit U"), std::string::npos) << c.command;
        const struct {
            std::vector<std::string> words;
            SolveMode solve;
            LengthUnit unit;
        } runs[] = {
            {{}, SolveMode::Exact, LengthUnit::None},
            {{"--solve", "classic", "--unit", "mm"}, SolveMode::Classic, LengthUnit::Millimetre},
            {{"--solve=classic", "--solve", "exact", "--unit=in"}, SolveMode::Exact, LengthUnit::Inch},
            {{"--solve", "Classic", "--unit", "MM"}, SolveMode::Classic, LengthUnit::Millimetre},
        };
        for (const auto& run : runs) {
            std::vector<std::string> words = c.required;
            words.insert(words.end(), run.words.begin(), run.words.end());
            Args args;
            std::string error;
            ASSERT_TRUE(ParseArgs(*entry, words, args, error)) << c.command << ": " << error;
            AnalysisChoices choices;
            choices.solve = run.solve == SolveMode::Exact ? SolveMode::Classic : SolveMode::Exact;
            ASSERT_TRUE(c.read(args, choices, error)) << c.command << ": " << error;
            // midgear finds the design's own (classic) mid gear unless asked.
            const bool midGearDefault = std::string_view(c.command) == "midgear" && run.words.empty();
            EXPECT_EQ(choices.solve, midGearDefault ? SolveMode::Classic : run.solve) << c.command;
            EXPECT_EQ(choices.style.unit, run.unit) << c.command;
        }
    }
}

// The unit labels the lengths of the tables and the mid-gear position, and
// never changes a CSV.
TEST(AnalysisChoices, TheUnitLabelsLengthsAndLeavesTheCsvAlone) {
    const CliRun plain = Cli({"events", "--positions", "-1"});
    const CliRun mm = Cli({"events", "--positions", "-1", "--unit", "mm"});
    ASSERT_EQ(mm.code, kExitOk) << mm.err;
    for (const char* label : {"lead, mm", "max steam opening, mm", "max exhaust opening, mm", "valve travel, mm",
                              "die slip, mm"})
        EXPECT_NE(mm.out.find(label), std::string::npos) << label;
    EXPECT_EQ(plain.out.find(", mm"), std::string::npos);
    EXPECT_NE(mm.out.find("cut-off, %"), std::string::npos); // percentages carry no length unit
    // Every number is the same.
    const auto a = Lines(plain.out), b = Lines(mm.out);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto wa = Words(a[i]), wb = Words(b[i]);
        ASSERT_FALSE(wa.empty());
        EXPECT_EQ(wa.back(), wb.back()) << a[i];
    }
    EXPECT_EQ(Cli({"events", "--csv", "--unit", "in"}).out, Cli({"events", "--csv"}).out);
    EXPECT_EQ(Cli({"tolerance", "--csv", "--samples", "4", "--unit", "mm"}).out,
              Cli({"tolerance", "--csv", "--samples", "4"}).out);
    EXPECT_EQ(Cli({"midgear", "--unit", "in"}).out, "7.621721 in\n");
    EXPECT_EQ(Cli({"midgear", "--unit", "none"}).out, "7.621721\n");
    // The exact solve's mid gear, when asked: near the classic search's.
    const CliRun exact = Cli({"midgear", "--solve", "exact", "--digits", "full"});
    ASSERT_EQ(exact.code, kExitOk) << exact.err;
    ASSERT_FALSE(exact.out.empty());
    EXPECT_NEAR(test::Number(exact.out.substr(0, exact.out.size() - 1)), 7.621721, 1e-3);
    EXPECT_NE(exact.out, Cli({"midgear", "--digits", "full"}).out);

    const CliRun tol = Cli({"tolerance", "--positions", "-1", "--samples", "4", "--unit", "mm"});
    EXPECT_NE(tol.out.find("leadFront, mm"), std::string::npos) << tol.out;
    const CliRun sens = Cli({"sensitivity", "--positions", "-1", "--fields", "eccFwdRod", "--of", "leadDiff",
                             "--unit", "in"});
    EXPECT_NE(sens.out.find("per tolerance (in)"), std::string::npos) << sens.out;
    const CliRun work = Cli({"work", "--positions", "-1", "--unit", "mm"});
    EXPECT_NE(work.out.find("x mm^2"), std::string::npos) << work.out;
}

} // namespace
} // namespace vx::cli
