// vexlin-cli driven as a user drives it: a child process with arguments,
// its output, its messages and its exit status.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSvgRenderer>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <array>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/text_io.h"
#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/gear/midgear.h"
#include "tests/kit/decimal_comma_locale.h"
#include "tests/kit/files.h"
#include "tests/kit/temp_dir.h"
#include "tests/kit/designs.h"

extern char** environ;

namespace vx::cli {
namespace {

namespace fs = std::filesystem;

struct ProcessResult {
    int code = -1;
    std::string out;
    std::string err;
};

using test::ReadAll;
using test::TempDir;

// Runs the program with args; stdout and stderr go through files so that
// large outputs cannot block the child.
ProcessResult RunProgram(const std::vector<std::string>& args) {
    TempDir dir;
    const std::string outPath = dir.File("out"), errPath = dir.File("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> words{VEXLIN_CLI_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    ProcessResult r;
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, VEXLIN_CLI_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        r.err = "cannot start " VEXLIN_CLI_PATH;
        return r;
    }
    // No run of the program takes a minute: one that does is ended and
    // reported instead of holding up the whole test program.
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) {
            r.err = std::string("waitpid failed: ") + std::strerror(errno);
            return r;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            ADD_FAILURE() << "vexlin-cli did not end within 60 s";
            r.code = -1;
            r.out = ReadAll(outPath);
            r.err = ReadAll(errPath);
            return r;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = ReadAll(outPath);
    r.err = ReadAll(errPath);
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ',')) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

// A model value as the program writes it: the shortest form that reads
// back as the same 32-bit value.
std::string Shortest(float v) {
    char buf[kNumberBuffer];
    return std::string(FormatShortest(buf, v));
}

// ------------------------------------------------------------ help, version

TEST(CliProcess, HelpAndVersion) {
    const ProcessResult help = RunProgram({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: vexlin-cli", 0), 0u) << help.out;
    for (const char* word : {"dims", "midgear", "sweep", "save", "render", "--design", "--set"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    EXPECT_EQ(help.err, "");

    // Every command answers "--help" with its own.
    for (const char* cmd : {"dims", "midgear", "sweep", "check", "pivots", "save"}) {
        const ProcessResult r = RunProgram({cmd, "--help"});
        EXPECT_EQ(r.code, 0) << cmd;
        EXPECT_EQ(r.out.rfind(std::string("Usage: vexlin-cli [GLOBAL OPTIONS] ") + cmd, 0), 0u) << r.out;
        EXPECT_EQ(r.err, "") << cmd;
    }

    const ProcessResult version = RunProgram({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("vexlin-cli ") + VEXLIN_VERSION + "\n");
}

// ------------------------------------------------------------ usage errors

struct UsageCase {
    std::vector<std::string> args;
    const char* named; // the message names this
};

class CliUsageErrors : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageErrors, ExitTwoWithAMessageNamingTheProblem) {
    const UsageCase& c = GetParam();
    const ProcessResult r = RunProgram(c.args);
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
}

const UsageCase kUsageCases[] = {
    {{}, "no command"},
    {{"frobnicate"}, "frobnicate"},
    {{"--set", "noSuchField=1", "dims"}, "noSuchField"},
    {{"--set", "stroke=abc", "dims"}, "abc"},
    {{"--set", "stroke=1.5.2", "dims"}, "1.5.2"},
    {{"--set", "stroke=", "dims"}, "not a number"},
    {{"--set", "stroke", "dims"}, "FIELD=VALUE"},
    {{"--set"}, "--set"},
    {{"--design"}, "--design"},
    {{"--bogus", "dims"}, "--bogus"},
    {{"dims", "extra"}, "extra"},
    {{"midgear", "extra"}, "extra"},
    {{"save"}, "save"},
    {{"save", "a.vxd", "b.vxd"}, "save"},
    {{"sweep", "--step", "0"}, "--step"},
    {{"sweep", "--step", "x1"}, "x1"},
    {{"sweep", "--step"}, "--step"},
    {{"sweep", "--from", "nan"}, "finite"},
    {{"sweep", "--to", "inf"}, "finite"},
    {{"sweep", "--revarm", "one"}, "one"},
    {{"sweep", "--wobble", "1"}, "--wobble"},
    {{"sweep", "--from", "0", "--to", "1e9", "--step", "1"}, "too many rows"},
    {{"sweep", "--from", "-1e308", "--to", "1e308", "--step", "1"}, "too many rows"},
    // Usage errors come before the file is opened.
    {{"--design", "/no/such/file.vxd", "sweep", "--step", "0"}, "--step"},
    {{"--design", "/no/such/file.vxd", "render", "frame", "--bogus"}, "--bogus"},
    {{"--design", "/no/such/file.vxd", "diagram", "sine", "--bogus"}, "--bogus"},
    {{"--design", "/no/such/file.vxd", "report", "--bogus"}, "--bogus"},
};

INSTANTIATE_TEST_SUITE_P(CliProcess, CliUsageErrors, ::testing::ValuesIn(kUsageCases));

TEST(CliProcess, FilesThatCannotBeReadOrWrittenExitThree) {
    TempDir dir;
    const struct {
        std::vector<std::string> args;
        std::string named;
    } cases[] = {
        {{"--design", dir.File("absent.vxd"), "dims"}, dir.File("absent.vxd")},
        {{"save", dir.File("no/folder/x.vxd")}, dir.File("no/folder/x.vxd")},
    };
    for (const auto& c : cases) {
        const ProcessResult r = RunProgram(c.args);
        EXPECT_EQ(r.code, 3) << r.err;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    // A file too short to be a design.
    const std::string shortFile = dir.File("short.vxd");
    std::ofstream(shortFile) << "twelve bytes";
    const ProcessResult r = RunProgram({"--design", shortFile, "midgear"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("too short"), std::string::npos) << r.err;
}

// Output that cannot be written (a full device) exits 3 with the reason.
TEST(CliProcess, OutputThatCannotBeWrittenExitsThree) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"dims"}, {"sweep", "--step", "1"}, {"events", "--positions", "-1"}}) {
        std::vector<std::string> words{VEXLIN_CLI_PATH};
        words.insert(words.end(), args.begin(), args.end());
        std::string command;
        for (const std::string& w : words) command += "'" + w + "' ";
        TempDir dir;
        const std::string errPath = dir.File("err");
        const int status = std::system((command + "> /dev/full 2> '" + errPath + "'").c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), 3) << command;
        EXPECT_NE(ReadAll(errPath).find(": cannot write the output: No space left on device"), std::string::npos)
            << ReadAll(errPath);
    }
}

// ------------------------------------------------------------ dims, midgear

TEST(CliProcess, DimsListsEveryDimensionInOrder) {
    const ProcessResult r = RunProgram({"dims"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 55u);
    EXPECT_EQ(lines[0], "id,field,name,value");
    std::vector<int> ids;
    for (int id = 1; id <= 32; ++id) ids.push_back(id);
    for (int id = 101; id <= 122; ++id) ids.push_back(id);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto f = Fields(lines[i + 1]);
        ASSERT_EQ(f.size(), 4u) << lines[i + 1];
        EXPECT_EQ(f[0], std::to_string(ids[i]));
        const DimensionInfo* d = FindDimension(ids[i]);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(f[1], d->field);
        EXPECT_EQ(f[2], d->shortName);
        EXPECT_EQ(f[3], Shortest(d->defaultValue)) << d->field;
    }
    EXPECT_EQ(Fields(lines[2])[3], "3"); // stroke
    EXPECT_EQ(Fields(lines[24])[3], Shortest(7.633f)); // liftShaftHorz, printed as the float it is
}

TEST(CliProcess, SetValuesReachTheDesign) {
    const struct {
        std::string set;
        int line; // row in dims (header = 0)
        std::string value;
    } cases[] = {
        {"stroke=3.25", 2, "3.25"},
        {"eccFwdAngle=-30", 6, "330"},
        {"liftShaftHorz=8", 24, "8"},
        {"cylCLAboveDriver=0.5", 34, "0.5"},
        {"stroke=nan", 2, "nan"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = RunProgram({"--set", c.set, "dims"});
        // dims lists a design that is not usable, and says so with exit 1.
        ASSERT_EQ(r.code, std::string(c.set) == "stroke=nan" ? 1 : 0) << r.err;
        const auto lines = Lines(r.out);
        ASSERT_GT(lines.size(), static_cast<std::size_t>(c.line));
        EXPECT_EQ(Fields(lines[static_cast<std::size_t>(c.line)])[3], c.value) << c.set;
    }
    // Several --set options, and "--set=" spelling.
    const ProcessResult r = RunProgram({"--set", "stroke=4", "--set=mainRodLength=11", "dims"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    EXPECT_EQ(Fields(lines[2])[3], "4");
    EXPECT_EQ(Fields(lines[3])[3], "11");
}

TEST(CliProcess, MidGearPrintsTheCentre) {
    auto g = test::StartedDesign();
    const ProcessResult r = RunProgram({"midgear"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, Shortest(g->revArm.centre) + "\n");
    EXPECT_TRUE(ParseNumber(Lines(r.out).at(0)).has_value());

    // Moving the lift shaft moves mid gear, found again after --set.
    const ProcessResult moved = RunProgram({"--set", "liftShaftHorz=8", "midgear"});
    ASSERT_EQ(moved.code, 0) << moved.err;
    EXPECT_NE(moved.out, r.out);
}

TEST(CliProcess, MidGearThatCannotBeFoundIsAFailure) {
    // With the shaft far above the link the die never comes level with it.
    const ProcessResult r = RunProgram({"--set", "liftShaftVert=100", "midgear"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("mid gear not found"), std::string::npos) << r.err;
    // The design itself is still usable.
    const ProcessResult dims = RunProgram({"--set", "liftShaftVert=100", "dims"});
    EXPECT_EQ(dims.code, 0) << dims.err;
    EXPECT_EQ(Lines(dims.out).size(), 55u);
}

// ------------------------------------------------------------ sweep

std::string ExpectedSweepHeader() {
    std::string h = "angle";
    for (int p = 0; p <= 30; ++p) h += ",p" + std::to_string(p) + "x,p" + std::to_string(p) + "y";
    return h + ",linkAngle,valveOffset,pistonPosition,frontSteamOpening,frontExhaustOpening,"
               "rearSteamOpening,rearExhaustOpening,geometryError";
}

TEST(CliProcess, SweepRowsFollowTheRange) {
    const struct {
        std::vector<std::string> args;
        std::size_t rows;
        const char* first;
        const char* last;
    } cases[] = {
        {{}, 37, "0", "360"},
        {{"--step", "30"}, 13, "0", "360"},
        {{"--from", "0", "--to", "355", "--step", "10"}, 36, "0", "350"},
        {{"--from", "360", "--to", "0", "--step", "-10"}, 37, "360", "0"},
        {{"--from", "90", "--to", "-90", "--step", "-45"}, 5, "90", "-90"},
        {{"--from", "5", "--to", "5"}, 1, "5", "5"},
        {{"--from", "10", "--to", "0"}, 0, "", ""},
        {{"--from=0", "--to=1", "--step=0.1"}, 11, "0", "1"},
        {{"--step", "0.01"}, 36001, "0", "360"},
    };
    const std::string header = ExpectedSweepHeader();
    for (const auto& c : cases) {
        std::vector<std::string> args{"sweep"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult r = RunProgram(args);
        ASSERT_EQ(r.code, 0) << r.err;
        // Large outputs: count the lines, split only the first and last rows.
        ASSERT_FALSE(r.out.empty());
        ASSERT_EQ(r.out.back(), '\n');
        EXPECT_EQ(static_cast<std::size_t>(std::count(r.out.begin(), r.out.end(), '\n')), c.rows + 1)
            << args.back();
        const std::size_t headerEnd = r.out.find('\n');
        EXPECT_EQ(r.out.substr(0, headerEnd), header);
        if (c.rows == 0) continue;
        const std::string firstRow = r.out.substr(headerEnd + 1, r.out.find('\n', headerEnd + 1) - headerEnd - 1);
        const std::size_t lastStart = r.out.rfind('\n', r.out.size() - 2) + 1;
        const std::string lastRow = r.out.substr(lastStart, r.out.size() - 1 - lastStart);
        EXPECT_EQ(Fields(firstRow)[0], c.first);
        EXPECT_EQ(Fields(lastRow)[0], c.last);
        EXPECT_EQ(Fields(firstRow).size(), 71u);
        EXPECT_EQ(Fields(lastRow).size(), 71u);
    }
}

TEST(CliProcess, SweepPrintsTheAngleAsUsed) {
    const ProcessResult r = RunProgram({"sweep", "--from", "0", "--to", "0.03", "--step", "0.01"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(Fields(lines[2])[0], Shortest(0.01f)); // 0.01, the float it is
    EXPECT_EQ(Fields(lines[4])[0], Shortest(0.03f));
}

// Every figure of dims and of a sweep is written in its shortest form and
// reads back as the very 32-bit value the model holds: no float noise
// ("3.29999995", "0.100000001"), no lost bits.
TEST(CliProcess, FiguresAreShortestAndReadBackBitForBit) {
    const ProcessResult dims = RunProgram({"--set", "stroke=3.3", "dims"});
    ASSERT_EQ(dims.code, 0) << dims.err;
    auto g = test::StartedDesign();
    CommitDimension(*g, FindDimensionByField("stroke")->id, 3.3f);
    FindMidGear(*g);
    const auto lines = Lines(dims.out);
    ASSERT_EQ(lines.size(), 55u);
    EXPECT_EQ(Fields(lines[2])[3], "3.3");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = Fields(lines[i]);
        const DimensionInfo* d = FindDimension(std::stoi(f[0]));
        ASSERT_NE(d, nullptr) << lines[i];
        const auto back = ReadNumber(f[3]);
        ASSERT_TRUE(back.has_value()) << lines[i];
        EXPECT_EQ(std::bit_cast<std::uint32_t>(static_cast<float>(*back)),
                  std::bit_cast<std::uint32_t>(DimensionValue(*g, *d)))
            << d->field;
    }

    const ProcessResult sweep = RunProgram({"sweep", "--step", "0.1", "--to", "3", "--revarm", "-0.7"});
    ASSERT_EQ(sweep.code, 0) << sweep.err;
    const auto rows = Lines(sweep.out);
    ASSERT_EQ(rows.size(), 32u);
    EXPECT_EQ(Fields(rows[2])[0], "0.1");
    for (std::size_t i = 1; i < rows.size(); ++i)
        for (const std::string& field : Fields(rows[i])) {
            const auto back = ReadNumber(field);
            ASSERT_TRUE(back.has_value()) << field;
            EXPECT_EQ(Shortest(static_cast<float>(*back)), field);
        }
}

TEST(CliProcess, DefaultDesignSolvesWithoutErrorInEveryGear) {
    const struct {
        const char* revarm;
        const char* gear;
    } gears[] = {{"-1", "full forward"}, {"-0.5", "half forward"}, {"0", "mid gear"}, {"1", "full reverse"}};
    for (const auto& g : gears) {
        const ProcessResult r = RunProgram({"sweep", "--revarm", g.revarm, "--step", "2"});
        ASSERT_EQ(r.code, 0) << r.err;
        const auto lines = Lines(r.out);
        ASSERT_EQ(lines.size(), 182u) << g.gear;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const auto f = Fields(lines[i]);
            ASSERT_EQ(f.size(), 71u);
            EXPECT_EQ(f.back(), "0") << g.gear << " at " << f[0];
        }
    }
}

TEST(CliProcess, SweepGoesOnThroughImpossibleGeometry) {
    // A main rod shorter than the crank: the solver substitutes and flags.
    // The rows that fail keep no figure, and the run is a fault.
    const ProcessResult r = RunProgram({"--set", "mainRodLength=0.5", "sweep", "--step", "90"});
    ASSERT_EQ(r.code, 1) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 6u);
    bool flagged = false;
    for (std::size_t i = 1; i < lines.size(); ++i) flagged = flagged || Fields(lines[i]).back() == "1";
    EXPECT_TRUE(flagged);

    // A stroke that is not a number: refused before any row.
    const ProcessResult nan = RunProgram({"--set", "stroke=nan", "sweep", "--step", "45"});
    EXPECT_EQ(nan.code, 1) << nan.err;
    EXPECT_EQ(nan.out, "");
}

// ------------------------------------------------------------ save, --design

TEST(CliProcess, SavedDesignOpensWithTheSameDimensions) {
    TempDir dir;
    const std::string path = dir.File("edited.vxd");
    const std::vector<std::string> sets{"--set", "stroke=3.5", "--set", "rockerPivotHorz=12.5", "--set",
                                        "valveStemToCL=2.1"};
    std::vector<std::string> save = sets;
    save.insert(save.end(), {"save", path});
    const ProcessResult saved = RunProgram(save);
    ASSERT_EQ(saved.code, 0) << saved.err;
    EXPECT_EQ(fs::file_size(path), 1460u);

    std::vector<std::string> dims = sets;
    dims.push_back("dims");
    const ProcessResult expected = RunProgram(dims);
    const ProcessResult opened = RunProgram({"--design", path, "dims"});
    ASSERT_EQ(opened.code, 0) << opened.err;
    EXPECT_EQ(opened.out, expected.out);
    EXPECT_NE(opened.out, RunProgram({"dims"}).out);

    const ProcessResult mid = RunProgram({"--design", path, "midgear"});
    EXPECT_EQ(mid.out, RunProgram([&] {
                           std::vector<std::string> a = sets;
                           a.push_back("midgear");
                           return a;
                       }())
                           .out);

    // --set applies over the opened file.
    const ProcessResult over = RunProgram({"--design", path, "--set", "stroke=2", "dims"});
    EXPECT_EQ(Fields(Lines(over.out).at(2))[3], "2");
    EXPECT_EQ(Fields(Lines(over.out).at(29))[3], "12.5");
}

TEST(CliProcess, HostileDesignFilesStillRun) {
    TempDir dir;
    std::mt19937 rng(7u);
    const struct {
        const char* name;
        std::function<std::uint8_t(std::size_t)> byte;
    } files[] = {
        {"nan.vxd", [](std::size_t i) { return std::array<std::uint8_t, 4>{0x00, 0x00, 0xC0, 0x7F}[i % 4]; }},
        {"inf.vxd", [](std::size_t i) { return std::array<std::uint8_t, 4>{0x00, 0x00, 0x80, 0xFF}[i % 4]; }},
        {"zero.vxd", [](std::size_t) { return std::uint8_t{0}; }},
        {"random.vxd", [&rng](std::size_t) { return static_cast<std::uint8_t>(rng() & 0xFF); }},
    };
    for (const auto& f : files) {
        const std::string path = dir.File(f.name);
        {
            std::ofstream out(path, std::ios::binary);
            for (std::size_t i = 0; i < 1460; ++i) out.put(static_cast<char>(f.byte(i)));
        }
        // Such a file is not a usable design: a computing command refuses
        // it with exit 1 and no figure; dims still lists it; save still
        // saves it, with the warning.
        const ProcessResult sweep = RunProgram({"--design", path, "sweep", "--step", "90", "--revarm", "-1"});
        EXPECT_EQ(sweep.code, 1) << f.name << ": " << sweep.err;
        EXPECT_EQ(sweep.out, "") << f.name;
        EXPECT_NE(sweep.err.find("does not hold a usable design"), std::string::npos) << f.name << sweep.err;
        const ProcessResult dims = RunProgram({"--design", path, "dims"});
        EXPECT_EQ(dims.code, 1) << f.name << ": " << dims.err;
        EXPECT_EQ(Lines(dims.out).size(), 55u) << f.name;
        const ProcessResult mid = RunProgram({"--design", path, "midgear"});
        EXPECT_EQ(mid.code, 1) << f.name << ": " << mid.err;
        EXPECT_EQ(RunProgram({"--design", path, "save", dir.File("copy.vxd")}).code, 1) << f.name;
        EXPECT_TRUE(std::filesystem::exists(dir.File("copy.vxd"))) << f.name;
    }
}


// ------------------------------------------------------------ quiet stderr

// Sets an environment variable (or removes it, for nullptr) for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Every successful command writes its output and nothing on stderr, also
// as a script runs it outside a login session (no XDG_RUNTIME_DIR, no Qt
// platform chosen), and leaves no folder of its own behind.
TEST(CliProcess, SuccessfulCommandsWriteNothingOnStderr) {
    TempDir dir, tmp;
    const ScopedEnv noRuntime("XDG_RUNTIME_DIR", nullptr);
    const ScopedEnv noPlatform("QT_QPA_PLATFORM", nullptr);
    const std::string design = dir.File("d.vxd");
    const std::vector<std::vector<std::string>> commands = {
        {"--set", "eccFwdAngle=300", "save", design},
        {"--design", design, "dims"},
        {"midgear"},
        {"sweep", "--step", "90"},
        {"--design", design, "render", "frame", "--out", dir.File("f.png")},
        {"render", "frame", "--out", dir.File("f.svg"), "--angle", "30"},
        {"--help"},
        {"render", "--help"},
    };
    for (const auto& args : commands) {
        const ScopedEnv tmpdir("TMPDIR", tmp.Path().c_str());
        const ProcessResult r = RunProgram(args);
        EXPECT_EQ(r.code, 0) << args.back();
        EXPECT_EQ(r.err, "") << args.back();
        EXPECT_TRUE(tmp.Names().empty()) << args.back() << ": " << tmp.Names().front();
    }
    EXPECT_GT(fs::file_size(dir.File("f.png")), 0u);
}

} // namespace
} // namespace vx::cli

namespace vx::cli {
namespace {

// The user's decimal-comma locale (which Qt applies at start-up) changes
// nothing the program writes: every output, text and picture, is the same
// byte for byte as in the C locale, and the pictures are valid SVG.
TEST(CliProcess, ADecimalCommaLocaleChangesNoOutput) {
    {
        test::DecimalCommaLocale probe;
        ASSERT_TRUE(probe.Active()) << test::DecimalCommaLocale::kWhy;
    }
    TempDir dir;
    const std::vector<std::vector<std::string>> commands = {
        {"--set", "stroke=3.5", "dims"},
        {"sweep", "--step", "45", "--revarm", "-0.5"},
        {"midgear"},
        {"diagram", "sine", "--data"},
        {"diagram", "steam", "--data"},
        {"diagram", "ports", "--data"},
        {"render", "frame", "--out", "frame.svg"},
        {"diagram", "sine", "--out", "sine.svg"},
        {"diagram", "oval", "--out", "oval.svg"},
        {"diagram", "steam", "--out", "steam.svg"},
        {"diagram", "ports", "--out", "ports.svg"},
    };
    struct Output {
        ProcessResult run;
        std::string file;
    };
    const auto runAll = [&](const char* prefix) {
        std::vector<Output> outputs;
        for (std::vector<std::string> args : commands) {
            std::string file;
            if (args.size() > 2 && args[args.size() - 2] == "--out") file = args.back() = dir.File(prefix + args.back());
            Output o{RunProgram(args), {}};
            if (!file.empty()) o.file = ReadAll(file);
            outputs.push_back(std::move(o));
        }
        return outputs;
    };
    const std::vector<Output> plain = runAll("c-");
    std::vector<Output> comma;
    {
        const ScopedEnv lang("LC_ALL", test::kCommaLocaleName);
        const std::string& path = test::CommaLocalePath();
        const ScopedEnv locpath("LOCPATH", path.empty() ? std::getenv("LOCPATH") : path.c_str());
        comma = runAll("de-");
    }
    const QRegularExpression commaInAttribute(QStringLiteral("=\"[^\"]*[0-9],[0-9]"));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        std::string line;
        for (const std::string& a : commands[i]) line += a + " ";
        SCOPED_TRACE(line);
        EXPECT_EQ(comma[i].run.code, 0) << comma[i].run.err;
        EXPECT_EQ(comma[i].run.out, plain[i].run.out);
        EXPECT_EQ(comma[i].run.err, plain[i].run.err);
        EXPECT_EQ(comma[i].file, plain[i].file);
        if (comma[i].file.empty()) continue;
        const QByteArray svg = QByteArray::fromStdString(comma[i].file);
        EXPECT_TRUE(QSvgRenderer(svg).isValid());
        EXPECT_FALSE(QString::fromUtf8(svg).contains(commaInAttribute));
    }
}

} // namespace
} // namespace vx::cli
