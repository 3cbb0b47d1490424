// vexlin-cli render animation through its library entry: the GIF read back
// with giflib's decoder, frame by frame against the pictures of render
// frame --running; the PNG frames folder; failures and usage errors.
#include "cli/command_table.h"
#include "base/fixed_format.h"
#include "model/workspace/motion.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/kit/file_size_limit.h"
#include "tests/kit/gif_frames.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

using test::Cli;

// The driver angles the frames show: from 0, as the running window's ticks
// advance it.
std::vector<float> FrameAngles(float step, Direction direction, long long count) {
    MotionState m;
    m.driverAngle = 0;
    m.tickStep = step;
    m.direction = direction;
    std::vector<float> angles;
    for (long long k = 0; k < count; ++k) {
        angles.push_back(m.driverAngle);
        AdvanceDriverAngle(m);
    }
    return angles;
}

std::string Text(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatGeneral9(buf, v));
}

QImage FramePicture(const test::TempDir& dir, const std::vector<std::string>& options, float step, float angle) {
    std::vector<std::string> args{"render", "frame", "--out", dir.File("frame.png"), "--running", Text(step),
                                  "--angle", Text(angle)};
    args.insert(args.end(), options.begin(), options.end());
    const test::CliRun r = Cli(args);
    EXPECT_EQ(r.code, 0) << r.err;
    return QImage(QString::fromStdString(dir.File("frame.png"))).convertToFormat(QImage::Format_RGB32);
}

struct AnimationCase {
    const char* what;
    std::vector<std::string> options; // shared by the animation and the frames
    float step;
    Direction direction;
    long long frames;
    int every; // compare every n-th frame (and the last)
};

TEST(RenderAnimation, EveryFrameIsTheRunningPictureOfItsAngle) {
    const AnimationCase cases[] = {
        {"default", {}, 10, Direction::Fwd, 36, 3},
        {"forward, steam, large font", {"--revarm", "-1", "--steam", "--large-font"}, 10, Direction::Fwd, 36, 7},
        {"reverse, no screen data", {"--revarm", "1", "--no-screen-data"}, 45, Direction::Rev, 8, 1},
        {"a step that does not divide the turn", {"--revarm", "-0.5"}, 7, Direction::Fwd, 52, 17},
    };
    for (const AnimationCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const std::string gif = dir.File("gear.gif");
        std::vector<std::string> args{"render", "animation", "--out", gif, "--step", Text(c.step)};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const test::CliRun r = Cli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(r.out.empty());

        const test::DecodedGif d = test::DecodeGif(QString::fromStdString(gif));
        ASSERT_EQ(d.error, "");
        EXPECT_EQ(d.width, 1280);
        EXPECT_EQ(d.height, 1024);
        EXPECT_TRUE(d.loops);
        EXPECT_LE(d.colorCount, 32); // the 16 colours and the transparent entry
        ASSERT_EQ(static_cast<long long>(d.frames.size()), c.frames);
        for (int delay : d.delays) EXPECT_EQ(delay, 4); // 25 frames a second

        const std::vector<float> angles = FrameAngles(c.step, c.direction, c.frames);
        for (long long k = 0; k < c.frames; ++k) {
            if (k % c.every != 0 && k != c.frames - 1) continue;
            SCOPED_TRACE("frame " + std::to_string(k) + " at " + Text(angles[static_cast<std::size_t>(k)]));
            const QImage expected = FramePicture(dir, c.options, c.step, angles[static_cast<std::size_t>(k)]);
            EXPECT_TRUE(d.frames[static_cast<std::size_t>(k)] == expected);
        }
    }
}

TEST(RenderAnimation, SizeFpsAndFramesFolder) {
    test::TempDir dir;
    const std::string gif = dir.File("small.gif");
    ASSERT_EQ(Cli({"render", "animation", "--out", gif, "--step", "45", "--size", "632x380", "--fps", "10"}).code, 0);
    const test::DecodedGif d = test::DecodeGif(QString::fromStdString(gif));
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.width, 632);
    EXPECT_EQ(d.height, 380);
    ASSERT_EQ(d.frames.size(), 8u);
    EXPECT_EQ(d.delays.front(), 10);

    // A folder: numbered PNG frames, the same pictures.
    const std::string folder = dir.File("frames") + "/";
    ASSERT_EQ(Cli({"render", "animation", "--out", folder, "--step", "45", "--size", "632x380"}).code, 0);
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        const QImage png(QString::fromStdString(folder + "frame-000" + std::to_string(k) + ".png"));
        ASSERT_FALSE(png.isNull());
        EXPECT_TRUE(png.convertToFormat(QImage::Format_RGB32) == d.frames[static_cast<std::size_t>(k)]);
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "frame-0008.png")));
}

TEST(RenderAnimation, FailedWriteNamesTheFileAndKeepsTheOldOne) {
    test::TempDir dir;
    const std::string gif = dir.File("gear.gif");
    {
        QFile f(QString::fromStdString(gif));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    test::CliRun r;
    {
        test::FileSizeLimit limit(1000); // the animation needs far more
        r = Cli({"render", "animation", "--out", gif, "--step", "45"});
    }
    EXPECT_EQ(r.code, kExitCannotRun);
    EXPECT_NE(r.err.find("cannot write " + gif + ": "), std::string::npos) << r.err;
    QFile f(QString::fromStdString(gif));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"gear.gif"}); // no temporary file left

    const test::CliRun missing = Cli({"render", "animation", "--out", dir.File("no/such/folder.gif"), "--step", "45"});
    EXPECT_EQ(missing.code, kExitCannotRun);
    EXPECT_NE(missing.err.find("folder.gif"), std::string::npos) << missing.err;
}

TEST(RenderAnimation, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"render", "animation"},
        {"render", "animation", "--out"},
        {"render", "animation", "--out", "a.gif", "--step", "0"},
        {"render", "animation", "--out", "a.gif", "--step", "46"},
        {"render", "animation", "--out", "a.gif", "--step", "nan"},
        {"render", "animation", "--out", "a.gif", "--fps", "0"},
        {"render", "animation", "--out", "a.gif", "--fps", "2.5"},
        {"render", "animation", "--out", "a.gif", "--fps", "101"},
        {"render", "animation", "--out", "a.gif", "--revarm", "inf"},
        {"render", "animation", "--out", "a.gif", "--size", "0x10"},
        {"render", "animation", "--out", "a.gif", "--size", "1281x10"},
        {"render", "animation", "--out", "a.gif", "--size", "10"},
        {"render", "animation", "--out", "a.gif", "--angle", "10"},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        SCOPED_TRACE(joined);
        const test::CliRun r = Cli(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("render animation"), std::string::npos) << r.err;
    }
    const test::CliRun help = Cli({"render", "animation", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--fps"), std::string::npos);
}

} // namespace
} // namespace vx::cli
