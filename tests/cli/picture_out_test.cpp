// The files of render frame, diagram and render animation by the kind their
// name asks for: PDF for a picture, a usage error that lists the kinds for
// a suffix of no kind, render frame --size, and the frames folder of an
// earlier animation refused unless --force.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <string>
#include <vector>

#include "cli/command_table.h"
#include "tests/cli/cli_run.h"
#include "tests/kit/qt_files.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

using test::Cli;

using test::Bytes;

TEST(PictureOut, ASuffixOfNoKindIsAUsageErrorListingTheKinds) {
    test::TempDir dir;
    const std::string jpg = dir.File("x.jpg");
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> kinds;
    } cases[] = {
        {{"render", "frame", "--out", jpg}, {"PNG (.png)", "SVG (.svg)", "PDF (.pdf)"}},
        {{"diagram", "sine", "--out", jpg}, {"PNG (.png)", "SVG (.svg)", "PDF (.pdf)"}},
        {{"render", "animation", "--out", jpg, "--step", "45"}, {"GIF (.gif)", "folder"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const test::CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_NE(r.err.find("\".jpg\""), std::string::npos) << r.err;
        for (const std::string& kind : c.kinds) EXPECT_NE(r.err.find(kind), std::string::npos) << r.err;
    }
    EXPECT_TRUE(dir.Names().empty());
}

TEST(PictureOut, DiagramAndFrameAsPdf) {
    test::TempDir dir;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"diagram", "oval", "--out", dir.File("oval.PDF")},
          std::vector<std::string>{"render", "frame", "--out", dir.File("frame.pdf")}}) {
        const test::CliRun r = Cli(args);
        ASSERT_EQ(r.code, kExitOk) << r.err;
        const QByteArray pdf = Bytes(args[3]);
        EXPECT_TRUE(pdf.startsWith("%PDF-")) << args[3];
        EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF")) << args[3];
    }
}

TEST(PictureOut, RenderFrameSizeIsTheTopLeftOfTheWholePicture) {
    test::TempDir dir;
    const std::vector<std::string> state{"--angle", "97", "--steam"};
    auto run = [&](const std::string& out, std::vector<std::string> more) {
        std::vector<std::string> args{"render", "frame", "--out", out};
        args.insert(args.end(), state.begin(), state.end());
        args.insert(args.end(), more.begin(), more.end());
        const test::CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitOk) << r.err;
    };
    run(dir.File("whole.png"), {});
    run(dir.File("part.png"), {"--size", "632x380"});
    run(dir.File("part.svg"), {"--size", "632x380"});
    const QImage whole = QImage(QString::fromStdString(dir.File("whole.png"))).convertToFormat(QImage::Format_RGB32);
    const QImage part = QImage(QString::fromStdString(dir.File("part.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(part.size(), QSize(632, 380));
    EXPECT_TRUE(part == whole.copy(0, 0, 632, 380));
    EXPECT_TRUE(Bytes(dir.File("part.svg")).contains("width=\"632\" height=\"380\" viewBox=\"0 0 632 380\""));

    for (const char* size : {"0x10", "1281x10", "10", "10x", "x10", "-5x10"}) {
        const test::CliRun r = Cli({"render", "frame", "--out", dir.File("bad.png"), "--size", size});
        EXPECT_EQ(r.code, kExitUsage) << size;
        EXPECT_NE(r.err.find("--size"), std::string::npos) << r.err;
    }
}

TEST(PictureOut, AnimationFolderWithAnEarlierRunsFramesNeedsForce) {
    test::TempDir dir;
    const std::string folder = dir.File("frames") + "/";
    const auto frames = [&] {
        std::vector<std::string> names;
        for (const QString& n : QDir(QString::fromStdString(folder)).entryList(QDir::Files, QDir::Name))
            names.push_back(n.toStdString());
        return names;
    };
    ASSERT_EQ(Cli({"render", "animation", "--out", folder, "--step", "30", "--size", "40x30"}).code, kExitOk);
    ASSERT_EQ(frames().size(), 12u);

    const test::CliRun refused = Cli({"render", "animation", "--out", folder, "--step", "45", "--size", "40x30"});
    // A usage matter, not a fault of the design; a few of the files named.
    EXPECT_EQ(refused.code, kExitUsage);
    EXPECT_NE(refused.err.find("holds 4 frame file(s)"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("frame-0008.png, frame-0009.png, frame-0010.png, ... (1 more)"), std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.err.find("frame-0011.png"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(frames().size(), 12u);

    const test::CliRun forced =
        Cli({"render", "animation", "--out", folder, "--step", "45", "--size", "40x30", "--force"});
    EXPECT_EQ(forced.code, kExitOk) << forced.err;
    EXPECT_EQ(frames().size(), 8u);
    EXPECT_EQ(frames().back(), "frame-0007.png");
}

} // namespace
} // namespace vx::cli
