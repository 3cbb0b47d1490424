// Designs that are wrong say so on every command the same way: the exit
// status 1, the cause named on standard error, and no figure of a failed
// solve left in the output.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/kit/temp_dir.h"
#include "tests/cli/cli_run.h"

namespace vx::test {
namespace {

struct Hostile {
    const char* name;
    const char* set;   // the --set that makes the design hostile
    const char* cause; // a part of the message that names the cause
    bool gate;         // refused before anything is computed
};

constexpr Hostile kHostile[] = {
    {"negative length", "mainRodLength=-10", "Main Rod Length (mainRodLength) is -10; the gear needs it above zero", true},
    {"zero stroke", "stroke=0", "Stroke (stroke) is 0; the gear needs it above zero", true},
    {"not finite", "driverDia=inf", "Driver Dia (driverDia) is inf, not a finite number", true},
    {"absurd", "driverDia=8e32", "beyond the 1e+06", true},
    {"does not close", "eccFwdRod=1", "does not close", false},
    {"no port opening", "valveCtrToJoint=-3.703", "never opens", false},
    {"lost events", "cavityFrontHalf=0.15", "never happen", false},
};

// Commands that stand on the valve events: every hostile design is a fault.
const std::vector<std::vector<std::string>> kEventCommands = {
    {"events", "--positions", "-1,0.5"},
    {"events", "--csv", "--positions", "-1,0.5"},
    {"work", "--positions", "-1,0.5"},
    {"sensitivity", "--positions", "-1,0.5", "--fields", "stroke"},
    {"tolerance", "--positions", "-1,0.5", "--samples", "3"},
};

// Commands that stand on the linkage alone: the gate's designs and the one
// that does not close are faults.
const std::vector<std::vector<std::string>> kLinkageCommands = {
    {"sweep", "--step", "30"},
    {"pivots", "--step", "30"},
    {"check", "--summary"},
};

std::vector<std::string> With(const Hostile& h, const std::vector<std::string>& command) {
    std::vector<std::string> args{"--set", h.set};
    args.insert(args.end(), command.begin(), command.end());
    return args;
}

TEST(HostileDesigns, EveryCommandExitsOneNamingTheCause) {
    for (const Hostile& h : kHostile) {
        std::vector<std::vector<std::string>> commands = kEventCommands;
        if (h.gate || std::string(h.name) == "does not close")
            commands.insert(commands.end(), kLinkageCommands.begin(), kLinkageCommands.end());
        if (h.gate) commands.push_back({"midgear"});
        for (const auto& command : commands) {
            SCOPED_TRACE(std::string(h.name) + ": " + command[0]);
            const CliRun r = Cli(With(h, command));
            EXPECT_EQ(r.code, 1) << r.err;
            if (command[0] == "check") {
                // The verdict is check's output.
                EXPECT_NE(r.out.find(h.cause), std::string::npos) << r.out;
                continue;
            }
            EXPECT_NE(r.err.find(h.cause), std::string::npos) << r.err;
            // A design the gate refuses gives no figure at all.
            if (h.gate) EXPECT_EQ(r.out, "") << r.out.substr(0, 200);
        }
    }
}

TEST(HostileDesigns, QuietStillNamesARefusedDesign) {
    const CliRun r = Cli({"-q", "--set", "stroke=-1", "events"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Stroke (stroke) is -1"), std::string::npos);
    EXPECT_EQ(r.out, "");
}

TEST(HostileDesigns, NoFigureOfAFailedSolveIsLeftOver) {
    // Sweep rows where the linkage did not close: only the angle and the flag.
    const CliRun sweep = Cli({"--set", "eccFwdRod=1", "sweep", "--step", "90"});
    EXPECT_EQ(sweep.code, 1);
    const std::vector<std::string> rows = Lines(sweep.out);
    ASSERT_EQ(rows.size(), 6u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> f = Fields(rows[i]);
        ASSERT_EQ(f.size(), Fields(rows[0]).size());
        EXPECT_EQ(f.back(), "1");
        for (std::size_t k = 1; k + 1 < f.size(); ++k) EXPECT_EQ(f[k], "") << rows[i];
    }
    // Events of a position that did not close: no length, no count.
    const CliRun events = Cli({"--set", "eccFwdRod=1", "events", "--positions", "-1", "--csv"});
    EXPECT_EQ(events.code, 1);
    for (const std::string& line : Lines(events.out)) {
        if (line.rfind("position", 0) == 0) continue;
        const std::vector<std::string> f = Fields(line);
        EXPECT_EQ(f.back(), "no");
        for (std::size_t k = 3; k < 18; ++k) EXPECT_EQ(f[k], "") << line;
    }
    const CliRun table = Cli({"--set", "eccFwdRod=1", "events", "--positions", "-1"});
    EXPECT_EQ(table.out.find("117331"), std::string::npos) << table.out;
}

TEST(HostileDesigns, SaveWarnsAndStillSaves) {
    TempDir dir;
    const std::string path = dir.File("bad.vxd");
    const CliRun r = Cli({"--set", "stroke=-1", "save", path});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("saved, but the design is not usable: Stroke (stroke) is -1"), std::string::npos) << r.err;
    const CliRun back = Cli({"--design", path, "dims"});
    EXPECT_EQ(back.code, 1);
    EXPECT_NE(back.out.find("stroke,Stroke,-1\n"), std::string::npos);
}

TEST(FileNotADesign, IsRefusedNamingTheFirstBadValueAndTrailingBytes) {
    TempDir dir;
    const std::string path = dir.File("notes.txt");
    {
        std::ofstream f(path, std::ios::binary);
        for (int i = 0; i < 60; ++i) f << "This is a text, not a design; it is longer than a design file.\n";
    }
    for (const char* command : {"events", "sweep", "work", "dims"}) {
        SCOPED_TRACE(command);
        const CliRun r = Cli({"--design", path, command});
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("does not hold a usable design: "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("were ignored"), std::string::npos) << r.err;
        if (std::string(command) != "dims") EXPECT_EQ(r.out, "");
    }
    // A design file with more after it loads, and says so in one line.
    const std::string good = dir.File("good.vxd");
    ASSERT_EQ(Cli({"save", good}).code, 0);
    {
        std::ofstream f(good, std::ios::binary | std::ios::app);
        f << "extra";
    }
    const CliRun r = Cli({"--design", good, "midgear"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(Lines(r.err).size(), 1u);
    EXPECT_NE(r.err.find("the bytes after the design's first 1460 were ignored"), std::string::npos);
}

TEST(SetFile, EveryStreamFailureIsNamedNeverACrash) {
    TempDir dir;
    const std::string binary = dir.File("binary.txt");
    {
        std::ofstream f(binary, std::ios::binary);
        f << "stroke=3\n\x1b[31mred\x07=1\n";
    }
    struct Case {
        std::string file;
        int code;
        const char* says;
    } cases[] = {
        {dir.Path().string(), 3, "Is a directory"},
        {"/proc/self/mem", 3, "Input/output error"},
        {dir.File("nofile.txt"), 3, "No such file or directory"},
        {"/dev/zero", 3, "larger than"},
        {binary, 2, "line 2: unknown dimension field \"\\x1b[31mred\\x07\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const CliRun r = Cli({"--set-file", c.file, "dims"});
        EXPECT_EQ(r.code, c.code);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.file), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
        EXPECT_EQ(r.err.find("unknown error"), std::string::npos);
    }
}

TEST(SetValues, NumbersThatWouldBecomeSomethingElseAreRefused) {
    struct Case {
        const char* set;
        const char* says;
    } cases[] = {
        {"stroke=1e39", "beyond the range"},
        {"stroke=-1e39", "beyond the range"},
        {"stroke=1e-50", "too small"},
        {"stroke=0x10", "hexadecimal"},
        {"stroke=-0X1p3", "hexadecimal"},
        {"stroke=3,5", "not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        const CliRun r = Cli({"--set", c.set, "dims"});
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        // What was typed, never the float it would have been.
        const std::string typed(std::string(c.set).substr(7));
        EXPECT_NE(r.err.find("\"" + typed + "\""), std::string::npos) << r.err;
    }
    // Values the float holds are taken as typed.
    const CliRun ok = Cli({"--set", "stroke=-0.1", "dims"});
    EXPECT_NE(ok.out.find("stroke,Stroke,-0.1\n"), std::string::npos);
    EXPECT_NE(ok.err.find("is -0.1;"), std::string::npos) << ok.err;
}

TEST(FieldNames, OneReaderForEveryOptionThatNamesAField) {
    // The name in any case, or the id number, wherever a field is named.
    for (const char* field : {"eccFwdRod", "ECCFWDROD", "8"}) {
        SCOPED_TRACE(field);
        const std::string f(field);
        EXPECT_EQ(Cli({"--set", f + "=7.25", "midgear"}).code, 0);
        const CliRun sens = Cli({"sensitivity", "--positions", "-1", "--fields", f, "--csv"});
        EXPECT_EQ(sens.code, 0) << sens.err;
        EXPECT_NE(sens.out.find(",eccFwdRod,"), std::string::npos);
        EXPECT_EQ(Cli({"tolerance", "--positions", "-1", "--samples", "2", "--tol", f + "=0.01"}).code, 0);
        EXPECT_EQ(Cli({"balance", "--vary", f, "--max-evals", "2", "--positions", "-1"}).code, 0);
    }
    const std::vector<std::vector<std::string>> unknown = {{"--set", "nofield=1", "dims"},
                                                           {"sensitivity", "--fields", "nofield"},
                                                           {"tolerance", "--tol", "nofield=1"},
                                                           {"balance", "--vary", "nofield"},
                                                           {"--set", "999=1", "dims"}};
    for (const std::vector<std::string>& args : unknown) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("unknown dimension field \""), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace vx::test
