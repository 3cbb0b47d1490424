// Every command and subcommand of the table, held to the same rules: its
// own help wherever --help stands on its line and from "help COMMAND", an
// unknown option refused with exit 2 naming it before any file is opened,
// a design that cannot be read exiting 3, a global option after the command
// named as one, "-" and "--" where they apply, and CSV headers with unique
// names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/dispatch.h"
#include "scene/diagrams/diagram_registry.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

struct Outcome {
    int code;
    std::string out, err;
};

Outcome Cli(const std::vector<std::string>& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunCli(args, in, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> Words(const std::string& name) {
    std::vector<std::string> words;
    std::istringstream in(name);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// A design file of the defaults, made once.
const std::string& SavedDesign() {
    static const test::TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.File("defaults.vxd");
        EXPECT_EQ(Cli({"save", p}).code, kExitOk);
        return p;
    }();
    return path;
}

// A measurement file of one cut-off, made once.
const std::string& MeasuredFile() {
    static const test::TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.File("measured.csv");
        std::ofstream(p) << "offset,direction,end,event,value,unit\n-1,,front,cutOff,69,percent\n";
        return p;
    }();
    return path;
}

// The smallest line each command runs with (after its name); the files it
// writes go into `dir`.
std::map<std::string, std::vector<std::string>> MinimalArgs(const test::TempDir& dir) {
    return {
        {"help", {}},
        {"dims", {}},
        {"midgear", {}},
        {"sweep", {"--step", "90"}},
        {"check", {"--step", "90"}},
        {"pivots", {"--step", "90"}},
        {"save", {dir.File("saved.vxd")}},
        {"balance", {"--vary", "valveFrontHalf", "--max-evals", "1", "--positions", "-1"}},
        {"render frame", {"--out", dir.File("frame.png")}},
        {"render animation", {"--out", dir.File("gear.gif"), "--step", "45", "--size", "64x48"}},
        {"diagram sine", {"--data"}},
        {"diagram oval", {"--data"}},
        {"diagram steam", {"--data"}},
        {"diagram ports", {"--data"}},
        {"events", {"--positions", "-1"}},
        {"compare", {SavedDesign(), SavedDesign(), "--positions", "-1"}},
        {"report", {"--out", dir.File("report.pdf")}},
        {"sensitivity", {"--positions", "-1", "--fields", "eccFwdRod", "--threads", "1"}},
        {"tolerance", {"--positions", "-1", "--samples", "2", "--threads", "1"}},
        {"work", {"--positions", "-1"}},
        {"diagram work", {"--data"}},
        {"fit", {"--measured", MeasuredFile(), "--vary", "valveCtrToJoint", "--adjust", "none", "--threads", "1"}},
    };
}

std::vector<std::string> Line(const CommandEntry& c, const std::vector<std::string>& rest) {
    std::vector<std::string> line = Words(std::string(c.name));
    line.insert(line.end(), rest.begin(), rest.end());
    return line;
}

TEST(CommandTable, EveryCommandHasACaseHere) {
    const test::TempDir dir;
    const auto minimal = MinimalArgs(dir);
    for (const CommandEntry& c : AllCommands()) {
        if (c.run) {
            EXPECT_TRUE(minimal.count(std::string(c.name))) << c.name;
        }
    }
    EXPECT_EQ(minimal.size(), 22u);
}

// The diagram subcommands find their diagram by their own name.
TEST(CommandTable, EveryDiagramSubcommandNamesADiagram) {
    const std::vector<const CommandEntry*> subs = Subcommands("diagram");
    EXPECT_EQ(subs.size(), AllDiagrams().size());
    for (const CommandEntry* c : subs) EXPECT_NE(FindDiagram(c->name.substr(c->name.find(' ') + 1)), nullptr) << c->name;
}

TEST(CommandTable, EveryCommandRunsOnItsSmallestLine) {
    const test::TempDir dir;
    for (const auto& [name, rest] : MinimalArgs(dir)) {
        const Outcome r = Cli(Line(*FindCommand(name), rest));
        EXPECT_EQ(r.code, kExitOk) << name << ": " << r.err;
        EXPECT_EQ(r.err, "") << name;
    }
}

TEST(CommandTable, HelpInEveryPositionPrintsTheCommandsOwn) {
    const test::TempDir dir;
    const auto minimal = MinimalArgs(dir);
    for (const CommandEntry& c : AllCommands()) {
        const std::string help = CommandHelp(c);
        EXPECT_EQ(help.rfind("Usage: vexlin-cli [GLOBAL OPTIONS] " + std::string(c.name), 0), 0u) << help;
        EXPECT_NE(help.find("Exit status: 0 done; 1"), std::string::npos) << c.name;
        for (const OptionEntry& o : c.options) {
            EXPECT_NE(help.find(o.name), std::string::npos) << c.name << o.name;
        }
        if (c.run) {
            EXPECT_NE(help.find("Examples:"), std::string::npos) << c.name;
        }

        const auto it = minimal.find(std::string(c.name));
        const std::vector<std::string> line = Line(c, it == minimal.end() ? std::vector<std::string>{} : it->second);
        const std::size_t nameWords = Words(std::string(c.name)).size();
        for (std::size_t at = 1; at <= line.size(); ++at) {
            for (const char* h : {"--help", "-h"}) {
                std::vector<std::string> asked = line;
                asked.insert(asked.begin() + static_cast<std::ptrdiff_t>(at), h);
                const Outcome r = Cli(asked);
                EXPECT_EQ(r.code, kExitOk) << c.name << " at " << at << ": " << r.err;
                EXPECT_EQ(r.out, help) << c.name << " with " << h << " at " << at;
                EXPECT_EQ(r.err, "") << c.name;
            }
        }
        // "help COMMAND" prints the same; so does the line behind global
        // options, and with a missing design, which is never opened.
        std::vector<std::string> viaHelp = {"help"};
        const auto name = Words(std::string(c.name));
        viaHelp.insert(viaHelp.end(), name.begin(), name.end());
        EXPECT_EQ(Cli(viaHelp).out, help) << c.name;
        std::vector<std::string> global = {"--design", "/no/such/design.vxd", "--set", "stroke=2"};
        global.insert(global.end(), line.begin(), line.begin() + static_cast<std::ptrdiff_t>(nameWords));
        global.push_back("--help");
        const Outcome g = Cli(global);
        EXPECT_EQ(g.code, kExitOk) << c.name << g.err;
        EXPECT_EQ(g.out, help) << c.name;
    }
    EXPECT_EQ(Cli({"help"}).out, ProgramHelp());
    EXPECT_EQ(Cli({"help", "frobnicate"}).code, kExitUsage);
    EXPECT_EQ(Cli({"-V"}).out, Cli({"--version"}).out);
}

TEST(CommandTable, AnUnknownOptionIsAUsageErrorBeforeAnyFile) {
    const test::TempDir dir;
    for (const auto& [name, rest] : MinimalArgs(dir)) {
        const CommandEntry& c = *FindCommand(name);
        for (const char* bogus : {"--bogus", "--bogus=1", "-x"}) {
            std::vector<std::string> line = {"--design", dir.File("missing.vxd")};
            if (!c.usesDesign) line.clear();
            const auto words = Line(c, rest);
            line.insert(line.end(), words.begin(), words.end());
            line.push_back(bogus);
            const Outcome r = Cli(line);
            EXPECT_EQ(r.code, kExitUsage) << name << " " << bogus << ": " << r.err;
            EXPECT_NE(r.err.find(std::string("unknown option \"") + bogus + "\""), std::string::npos) << r.err;
            EXPECT_NE(r.err.find("vexlin-cli: " + name + ": "), std::string::npos) << r.err;
            EXPECT_EQ(r.out, "") << name;
        }
        // A global option after the command is named as one.
        for (const char* global : {"--set", "--design", "--set-file"}) {
            std::vector<std::string> line = Line(c, rest);
            line.insert(line.end(), {global, "x"});
            const Outcome r = Cli(line);
            EXPECT_EQ(r.code, kExitUsage) << name << " " << global;
            EXPECT_NE(r.err.find(std::string("\"") + global + "\" is a global option: it goes before the command"),
                      std::string::npos)
                << r.err;
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(CommandTable, ADesignThatCannotBeReadExitsThree) {
    const test::TempDir dir;
    const std::string missing = dir.File("missing.vxd");
    for (const auto& [name, original] : MinimalArgs(dir)) {
        const CommandEntry& c = *FindCommand(name);
        if (name == "help") continue; // reads no design
        std::vector<std::string> rest = original, line;
        if (c.usesDesign) {
            line = {"--design", missing};
        } else {
            rest[0] = missing; // compare: its first design
        }
        const auto words = Line(c, rest);
        line.insert(line.end(), words.begin(), words.end());
        const Outcome r = Cli(line);
        EXPECT_EQ(r.code, kExitCannotRun) << name << ": " << r.err;
        EXPECT_EQ(r.err, "vexlin-cli: " + name + ": cannot open design \"" + missing +
                             "\": No such file or directory\n")
            << name;
        EXPECT_EQ(r.out, "") << name;
    }
}

TEST(CommandTable, DashReadsTheDesignFromStandardInput) {
    std::ifstream f(SavedDesign(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), 1460u);
    const Outcome fromFile = Cli({"--design", SavedDesign(), "--set", "stroke=3.3", "events", "--positions", "-1"});
    const Outcome fromStdin = Cli({"--design", "-", "--set", "stroke=3.3", "events", "--positions", "-1"}, bytes);
    EXPECT_EQ(fromStdin.code, kExitOk) << fromStdin.err;
    EXPECT_EQ(fromStdin.out, fromFile.out);
    const Outcome cmp = Cli({"compare", "-", SavedDesign(), "--positions", "-1", "--csv"}, bytes);
    EXPECT_EQ(cmp.code, kExitOk) << cmp.err;

    const Outcome tooShort = Cli({"--design", "-", "dims"}, "twelve bytes");
    EXPECT_EQ(tooShort.code, kExitCannotRun);
    EXPECT_NE(tooShort.err.find("vexlin-cli: dims: cannot open design from standard input: too short"),
              std::string::npos)
        << tooShort.err;
}

TEST(CommandTable, DoubleDashEndsTheOptions) {
    const test::TempDir dir;
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const Outcome r = Cli({"--set", "stroke=3.5", "save", "--", "-dash.vxd"});
    const Outcome back = Cli({"--design", "--", "dims"}); // "--" as the value of --design is a file name
    std::filesystem::current_path(saved);
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(std::filesystem::file_size(dir.File("-dash.vxd")), 1460u);
    EXPECT_EQ(back.code, kExitCannotRun);
    const Outcome opened = Cli({"--design", dir.File("-dash.vxd"), "dims"});
    EXPECT_NE(opened.out.find("\n2,stroke,Stroke,3.5\n"), std::string::npos) << opened.out;
    // Without "--" the name is an unknown option.
    EXPECT_EQ(Cli({"save", "-dash.vxd"}).code, kExitUsage);
    // After "--" even "--help" is a word.
    EXPECT_EQ(Cli({"save", "--", "--help", "extra"}).code, kExitUsage);
}

TEST(CommandTable, SetFileTakesFieldsInAnyCaseAndIdNumbers) {
    const test::TempDir dir;
    const std::string file = dir.File("changes.txt");
    std::ofstream(file) << "# a longer stroke\nSTROKE = 3.3\n\n3=11   # mainRodLength by its id\n"
                           "valvefronthalf=0.7\n";
    const Outcome r = Cli({"--set-file", file, "dims"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const Outcome same = Cli({"--set", "stroke=3.3", "--set", "mainRodLength=11", "--set", "valveFrontHalf=0.7", "dims"});
    EXPECT_EQ(r.out, same.out);
    // --set and --set-file apply in the order given.
    EXPECT_EQ(Cli({"--set-file", file, "--set", "stroke=2", "dims"}).out,
              Cli({"--set", "mainRodLength=11", "--set", "valveFrontHalf=0.7", "--set", "stroke=2", "dims"}).out);

    const std::string bad = dir.File("bad.txt");
    std::ofstream(bad) << "stroke=3\nnoSuchField=1\n";
    const Outcome b = Cli({"--set-file", bad, "dims"});
    EXPECT_EQ(b.code, kExitUsage);
    EXPECT_NE(b.err.find("line 2: unknown dimension field \"noSuchField\""), std::string::npos) << b.err;
    const Outcome missing = Cli({"--set-file", dir.File("none.txt"), "dims"});
    EXPECT_EQ(missing.code, kExitCannotRun);
    EXPECT_NE(missing.err.find("none.txt"), std::string::npos) << missing.err;
}

// Every CSV the program writes has a header of unique names.
TEST(CommandTable, EveryCsvHeaderHasUniqueNames) {
    const std::vector<std::vector<std::string>> csvs = {
        {"dims"},
        {"sweep", "--step", "180"},
        {"--set", "mainRodLength=1", "check", "--step", "90"},
        {"pivots", "--csv", "--step", "180"},
        {"pivots", "--csv", "--pivots", "0,1,2,3,4,5", "--step", "180"},
        {"pivots", "--list"},
        {"events", "--csv", "--positions", "-1"},
        {"compare", SavedDesign(), SavedDesign(), "--csv", "--positions", "-1"},
        {"diagram", "sine", "--data"},
        {"diagram", "sine", "--data", "--samples"},
        {"diagram", "oval", "--data"},
        {"diagram", "steam", "--data"},
        {"diagram", "ports", "--data"},
        {"balance", "--vary", "valveFrontHalf", "--max-evals", "1", "--positions", "-1", "--csv"},
    };
    for (const auto& args : csvs) {
        const Outcome r = Cli(args);
        ASSERT_TRUE(r.code == kExitOk || r.code == kExitFault) << args.back() << r.err;
        // Each block of a CSV (balance writes two) starts with its header.
        std::istringstream in(r.out);
        bool headerNext = true;
        for (std::string line; std::getline(in, line);) {
            if (line.empty()) {
                headerNext = true;
                continue;
            }
            if (!headerNext) continue;
            headerNext = false;
            std::set<std::string> names;
            std::istringstream fields(line);
            for (std::string name; std::getline(fields, name, ',');) {
                EXPECT_FALSE(name.empty()) << line;
                EXPECT_TRUE(names.insert(name).second) << "\"" << name << "\" twice in " << line;
            }
        }
    }
}

} // namespace
} // namespace vx::cli
