// The command line tells the truth: compare behaves as diff, the CSVs join,
// --quiet, the messages, the help and the exit codes say what happens.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "tests/cli/cli_run.h"
#include "tests/kit/temp_dir.h"

namespace vx::test {
namespace {

using cli::kExitCannotRun;
using cli::kExitFault;
using cli::kExitOk;
using cli::kExitUsage;

struct TwoDesigns {
    TempDir dir;
    std::string a = dir.File("a.vxd"), b = dir.File("b.vxd"), open = dir.File("open.vxd");
    TwoDesigns() {
        EXPECT_EQ(Cli({"save", a}).code, kExitOk);
        EXPECT_EQ(Cli({"--set", "eccFwdRod=7.3", "save", b}).code, kExitOk);
        EXPECT_EQ(Cli({"--set", "eccFwdRod=1", "save", open}).code, kExitOk);
    }
};

// The row of a compare or events table whose label starts with `label`.
std::string Row(const std::string& text, const std::string& label) {
    for (const std::string& line : Lines(text))
        if (line.rfind(label, 0) == 0) return line;
    return {};
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> w;
    std::istringstream in(line);
    for (std::string x; in >> x;) w.push_back(x);
    return w;
}

TEST(Compare, ExitStatusIsThatOfDiff) {
    TwoDesigns d;
    struct Case {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{"compare", d.a, d.a, "--positions", "-1"}, 0},
        {{"compare", d.a, d.b, "--positions", "-1"}, 1},
        {{"compare", d.a, d.b, "--positions", "-1", "--csv"}, 1},
        // Nothing moves by more than 100 units.
        {{"compare", d.a, d.b, "--positions", "-1", "--tolerance", "100"}, 0},
        // A design that does not close, either side: trouble, nothing written.
        {{"compare", d.a, d.open, "--positions", "-1"}, 3},
        {{"compare", d.open, d.a, "--positions", "-1"}, 3},
        {{"compare", d.open, d.open, "--positions", "-1"}, 3},
        {{"compare", d.a, d.dir.File("none.vxd")}, 3},
        {{"compare", d.a, d.b, "--tolerance", "-1"}, 2},
        {{"compare", "-", "-"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2]);
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        if (c.code == 3 && c.args[2] != d.dir.File("none.vxd")) {
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find("does not close"), std::string::npos) << r.err;
        }
    }
    const CliRun same = Cli({"compare", d.a, d.a, "--positions", "-1"});
    EXPECT_EQ(Lines(same.out).size(), 1u) << same.out;
    EXPECT_NE(same.out.find("are the same"), std::string::npos);
    const CliRun stdinTwice = Cli({"compare", "-", "-"});
    EXPECT_NE(stdinTwice.err.find("only one of the two designs can come from standard input"), std::string::npos);
}

// Front and rear of the text table stand in their columns: each equals the
// events table of that design, end for end.
TEST(Compare, TextTableColumnsAreThoseOfEvents) {
    TwoDesigns d;
    const CliRun c = Cli({"compare", d.a, d.b, "--positions", "-0.5"});
    ASSERT_EQ(c.code, 1) << c.err;
    const CliRun ea = Cli({"--design", d.a, "events", "--positions", "-0.5"});
    const CliRun eb = Cli({"--design", d.b, "events", "--positions", "-0.5"});
    const std::pair<const char*, const char*> rows[] = {
        {"cutOff (%)", "cut-off, %"}, {"release (%)", "release, %"}, {"admissionAngle (deg)", "admission, deg"},
        {"lead (len)", "lead"}};
    for (const auto& [compareRow, eventsRow] : rows) {
        SCOPED_TRACE(compareRow);
        const std::vector<std::string> cw = Words(Row(c.out, compareRow).substr(24));
        const std::vector<std::string> aw = Words(Row(ea.out, eventsRow).substr(22));
        const std::vector<std::string> bw = Words(Row(eb.out, eventsRow).substr(22));
        ASSERT_GE(cw.size(), 6u);
        ASSERT_GE(aw.size(), 2u);
        EXPECT_EQ(cw[0], aw[0]); // front A
        EXPECT_EQ(cw[1], bw[0]); // front B
        EXPECT_EQ(cw[3], aw[1]); // rear A
        EXPECT_EQ(cw[4], bw[1]); // rear B
        // Front - rear of each design, from the figures printed beside it.
        if (aw.size() >= 3 && cw.size() >= 8) {
            EXPECT_NEAR(Number(cw[6]), Number(cw[0]) - Number(cw[3]), 1e-9);
            EXPECT_NEAR(Number(cw[7]), Number(cw[1]) - Number(cw[4]), 1e-9);
            EXPECT_NEAR(Number(cw[6]), Number(aw[2]), 1.5e-4); // as events gives it, within its rounding
        }
    }
}

TEST(Compare, DifferencesFromPrintedFiguresAnglesWrappedNoNegativeZero) {
    TwoDesigns d;
    // The summary comes first, largest first, and is the table's content.
    const CliRun r = Cli({"compare", d.a, d.b, "--positions", "-1,-0.5"});
    const auto lines = Lines(r.out);
    ASSERT_GT(lines.size(), 4u);
    EXPECT_NE(lines[3].find("differ by more than"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("-0.0000"), std::string::npos);
    EXPECT_EQ(r.out.find("-0.00000 "), std::string::npos);
    double last = 1e300;
    for (std::size_t i = 4; i < lines.size() && lines[i].rfind("  ", 0) == 0; ++i) {
        const auto open = lines[i].rfind('(');
        const double by = std::fabs(Number(lines[i].substr(open + 1, lines[i].size() - open - 2)));
        EXPECT_LE(by, last) << lines[i];
        last = by;
    }
    // Every difference in the CSV is b - a of the printed figures exactly,
    // angles wrapped into (-180, 180].
    const CliRun csv = Cli({"compare", d.a, d.b, "--positions", "-1,-0.5,0.5,1", "--csv"});
    int angles = 0;
    for (const std::string& line : Lines(csv.out)) {
        const auto f = Fields(line);
        if (f.size() != 6 || f[0].empty() || f[5].empty() || f[0] == "offset") continue;
        EXPECT_NE(f[5].rfind("-0.0000", 0) == 0 && Number(f[5]) == 0, true) << line;
        double by = Number(f[4]) - Number(f[3]);
        if (f[2].find("Angle") != std::string::npos) {
            ++angles;
            while (by > 180) by -= 360;
            while (by <= -180) by += 360;
            EXPECT_LE(std::fabs(Number(f[5])), 180.0) << line;
        }
        EXPECT_NEAR(Number(f[5]), by, 1e-9 + 1e-12 * std::fabs(by)) << line;
    }
    EXPECT_GT(angles, 0);
}

TEST(Compare, AnAdmissionAcrossDeadCentreIsShown) {
    TempDir dir;
    const std::string a = dir.File("a.vxd"), b = dir.File("b.vxd");
    ASSERT_EQ(Cli({"save", a}).code, kExitOk);
    // A longer steam lap: the front port opens only after dead centre.
    ASSERT_EQ(Cli({"--set", "valveFrontHalf=0.74", "save", b}).code, kExitOk);
    const CliRun r = Cli({"compare", a, b, "--positions", "-1"});
    const std::string side = Row(r.out, "admission side");
    ASSERT_FALSE(side.empty()) << r.out;
    EXPECT_NE(side.find("before DC"), std::string::npos) << side;
    EXPECT_NE(side.find("after DC"), std::string::npos) << side;
    EXPECT_NE(side.find("changed"), std::string::npos) << side;
}

TEST(GlobalOptions, DesignTwiceAndHelpAnywhere) {
    const CliRun twice = Cli({"--design", "a.vxd", "--design", "b.vxd", "dims"});
    EXPECT_EQ(twice.code, kExitUsage);
    EXPECT_NE(twice.err.find("--design given more than once"), std::string::npos) << twice.err;
    // --help works anywhere, a bad --set before it notwithstanding.
    const CliRun help = Cli({"--set", "foo=1", "dims", "--help"});
    EXPECT_EQ(help.code, kExitOk) << help.err;
    EXPECT_NE(help.out.find("Usage: vexlin-cli"), std::string::npos);
}

TEST(Messages, TheCommandIsNamedOnceAndRangesAreEnforced) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"tolerance", "--seed", "x"}, "vexlin-cli: tolerance: --seed needs"},
        {{"sensitivity", "--top", "0"}, "vexlin-cli: sensitivity: --top needs"},
        {{"work", "--exponent", "x"}, "vexlin-cli: work: --exponent"},
        {{"sensitivity", "--threads", "0"}, "--threads needs a whole number from 1 to 64"},
        {{"tolerance", "--threads", "0"}, "--threads needs a whole number from 1 to 64"},
        {{"work", "--positions", "1,2,3,4,5,6,7,8,9,10"}, "at most 9 positions"},
        {{"diagram", "sine", "--data", "--mode", "forward"}, "--mode is for the ports diagram only"},
        {{"diagram", "work", "--data", "--scale", "2"}, "--scale is for the sine and oval diagrams only"},
        {{"diagram", "ports", "--data", "--positions", "0"}, "--positions is not used by the ports diagram"},
        {{"report", "--out", "x.txt"}, "the report is written as PDF only"},
        {{"render", "frame", "--out", "x.png", "--angle", "nan"}, "--angle must be a finite number"},
        {{"render", "frame", "--out", "x.png", "--revarm", "nan"}, "--revarm must be a finite number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        const std::string name = "vexlin-cli: " + c.args[0] + ": " + c.args[0] + ":";
        EXPECT_EQ(r.err.find(name), std::string::npos) << r.err;
    }
    // The direction in any case, as --paper.
    EXPECT_EQ(Cli({"events", "--positions", "-1", "--direction", "FORWARD"}).code, kExitOk);
}

TEST(Help, TellsWhatTheCommandsDo) {
    const CliRun program = Cli({"--help"});
    EXPECT_NE(Row(program.out, "  diagram").find("work"), std::string::npos) << program.out;
    const CliRun report = Cli({"report", "--help"});
    EXPECT_NE(report.out.find("seven"), std::string::npos);
    EXPECT_NE(report.out.find("indicator cards"), std::string::npos);
    // Each diagram's help is its own.
    std::map<std::string, std::string> abouts;
    for (const char* kind : {"sine", "oval", "steam", "work", "ports"}) {
        const CliRun h = Cli({"diagram", kind, "--help"});
        EXPECT_EQ(h.code, kExitOk);
        for (const auto& [other, text] : abouts) EXPECT_NE(text, h.out) << kind << " " << other;
        abouts[kind] = h.out;
    }
    const CliRun tolerance = Cli({"tolerance", "--help"});
    // The help wraps its lines: the words are looked for across the breaks.
    std::string words;
    for (const char ch : tolerance.out) {
        const bool blank = ch == ' ' || ch == '\n';
        if (!blank) words += ch;
        else if (!words.empty() && words.back() != ' ') words += ' ';
    }
    EXPECT_NE(words.find("closing samples"), std::string::npos) << tolerance.out;
    EXPECT_NE(tolerance.out.find("notches"), std::string::npos);
}

// The default positions of tolerance are the four the help names.
TEST(Tolerance, DefaultIsFourPositionsNotchesNine) {
    const CliRun four = Cli({"tolerance", "--samples", "2", "--csv"});
    ASSERT_EQ(four.code, kExitOk) << four.err;
    std::map<std::string, int> positions;
    for (const std::string& line : Lines(four.out))
        if (line.rfind("position", 0) != 0) ++positions[Fields(line)[0]];
    EXPECT_EQ(positions.size(), 4u);
    const CliRun nine = Cli({"tolerance", "--samples", "2", "--csv", "--positions", "notches"});
    positions.clear();
    for (const std::string& line : Lines(nine.out))
        if (line.rfind("position", 0) != 0) ++positions[Fields(line)[0]];
    EXPECT_EQ(positions.size(), 9u);
}

// An angle at 0 degrees: the sensitivity's steps lie on both sides of the
// 0/360 wrap, and its derivative is the central difference of two events
// runs at 0 +- 0.1 degree.
TEST(Sensitivity, AnAngleAtZeroStepsAcrossTheWrap) {
    const CliRun s =
        Cli({"--set", "eccFwdAngle=0", "sensitivity", "--positions", "-1", "--fields", "eccFwdAngle", "--csv"});
    ASSERT_EQ(s.code, kExitOk) << s.err;
    double derivative = std::nan("");
    for (const std::string& line : Lines(s.out)) {
        const auto f = Fields(line);
        if (f.size() > 4 && f[3] == "cutOffFront") derivative = Number(f[4]);
    }
    const auto cutOff = [](const char* angle) {
        const CliRun e = Cli({"--set", std::string("eccFwdAngle=") + angle, "events", "--positions", "-1", "--csv"});
        EXPECT_EQ(e.code, kExitOk) << e.err;
        return Number(Fields(Lines(e.out).at(1)).at(8));
    };
    const double central = (cutOff("0.1") - cutOff("359.9")) / 0.2;
    ASSERT_GT(std::fabs(central), 0.1);
    EXPECT_NEAR(derivative, central, 0.02 * std::fabs(central)) << derivative << " vs " << central;
}

// Every CSV keyed by position joins across two designs whose mid gears
// differ, on offset (and end or field and figure), row for row.
TEST(Csv, EveryPositionKeyedTableJoinsOnOffset) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::size_t> key; // the columns besides offset that make a row's key
        std::size_t rows;
    } cases[] = {
        {{"work", "--csv"}, {2}, 18},
        {{"sensitivity", "--csv", "--fields", "stroke"}, {2, 3}, 9 * 12},
        {{"tolerance", "--csv", "--samples", "2"}, {2}, 4 * 12},
        {{"events", "--csv"}, {2}, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        std::vector<std::string> other = {"--set", "liftShaftHorz=7.637"};
        other.insert(other.end(), c.args.begin(), c.args.end());
        const CliRun a = Cli(c.args), b = Cli(other);
        ASSERT_EQ(a.code, kExitOk) << a.err;
        ASSERT_EQ(b.code, kExitOk) << b.err;
        const auto keyed = [&](const std::string& out) {
            std::map<std::string, std::string> rows; // key -> position
            const auto lines = Lines(out);
            const auto header = Fields(lines.at(0));
            std::size_t offset = 0;
            while (offset < header.size() && header[offset] != "offset") ++offset;
            EXPECT_LT(offset, header.size()) << lines[0];
            for (std::size_t i = 1; i < lines.size(); ++i) {
                const auto f = Fields(lines[i]);
                std::string key = f.at(offset);
                for (const std::size_t k : c.key) key += "," + f.at(k);
                rows[key] = f[0];
            }
            return rows;
        };
        const auto ra = keyed(a.out), rb = keyed(b.out);
        EXPECT_EQ(ra.size(), c.rows);
        int joined = 0;
        for (const auto& [key, position] : ra) {
            const auto it = rb.find(key);
            ASSERT_NE(it, rb.end()) << key;
            EXPECT_NE(it->second, position) << key; // the mid gears differ
            ++joined;
        }
        EXPECT_EQ(static_cast<std::size_t>(joined), c.rows);
    }
}

// balance --csv writes one table per stream: every line has the header's
// number of fields.
TEST(Csv, BalanceWritesOneTablePerStream) {
    for (const char* table : {"dims", "events"}) {
        SCOPED_TRACE(table);
        const CliRun r = Cli({"balance", "--vary", "valveFrontHalf", "--max-evals", "3", "--positions", "-1", "--csv",
                              "--table", table});
        ASSERT_EQ(r.code, kExitOk) << r.err;
        const auto lines = Lines(r.out);
        ASSERT_GE(lines.size(), 2u);
        const std::size_t width = Fields(lines[0]).size();
        for (const std::string& line : lines) EXPECT_EQ(Fields(line).size(), width) << line;
        EXPECT_EQ(lines[0].rfind(std::string(table) == "dims" ? "field," : "design,position,", 0), 0u) << lines[0];
    }
    EXPECT_EQ(Cli({"balance", "--vary", "valveFrontHalf", "--table", "events"}).code, kExitUsage);
    EXPECT_EQ(Cli({"balance", "--vary", "valveFrontHalf", "--csv", "--table", "both"}).code, kExitUsage);
}

} // namespace
} // namespace vx::test
