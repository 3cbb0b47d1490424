// The animation writer: the kind a path asks for; the frames folder, where
// the frames of an earlier, longer animation are refused or removed and
// nothing else is touched.
#include "export/animation_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <string>
#include <vector>

#include "model/workspace/defaults.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

TEST(AnimationFile, KindOfThePath) {
    test::TempDir dir;
    const struct {
        std::string path;
        std::optional<AnimationKind> kind;
    } cases[] = {
        {"a.gif", AnimationKind::Gif},         {"a.GIF", AnimationKind::Gif},
        {"animation", AnimationKind::Gif},     {"-", AnimationKind::Gif},
        {"frames/", AnimationKind::Frames},    {dir.Path().string(), AnimationKind::Frames},
        {"a.png", std::nullopt},               {"a.gif.jpg", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(AnimationKindOf(QString::fromStdString(c.path)), c.kind) << c.path;
    EXPECT_EQ(FrameFileName(7, 36), "frame-0007.png");
    EXPECT_EQ(FrameFileName(7, 36001), "frame-00007.png");
}

std::vector<std::string> Names(const QString& folder) {
    std::vector<std::string> names;
    for (const QString& n : QDir(folder).entryList(QDir::Files, QDir::Name)) names.push_back(n.toStdString());
    return names;
}

TEST(AnimationFile, FramesOfAnEarlierLongerAnimationAreRefusedOrRemoved) {
    test::TempDir dir;
    const QString folder = QString::fromStdString(dir.File("frames"));
    GearState start;
    StartUp(start);
    AnimationSettings a;
    a.width = 64;
    a.height = 48;

    // Twelve frames, and a file of the user's that looks nothing like one.
    a.step = 30;
    GearState g = start;
    ASSERT_TRUE(WriteAnimationFrames(g, a, folder, OtherFrames::Refuse).written);
    QFile notes(folder + QStringLiteral("/frame-notes.png"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("mine");
    notes.close();
    const std::vector<std::string> twelve = Names(folder);
    ASSERT_EQ(twelve.size(), 13u);

    // The same animation again writes over its own frames.
    g = start;
    EXPECT_TRUE(WriteAnimationFrames(g, a, folder, OtherFrames::Refuse).written);

    // Eight frames: the last four of the twelve would stay behind.
    a.step = 45;
    g = start;
    const QDateTime before = QFileInfo(folder + QStringLiteral("/frame-0000.png")).lastModified();
    const AnimationOutcome refused = WriteAnimationFrames(g, a, folder, OtherFrames::Refuse);
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(refused.otherFrames,
              (QStringList{"frame-0008.png", "frame-0009.png", "frame-0010.png", "frame-0011.png"}));
    EXPECT_TRUE(refused.message.contains(folder)) << refused.message.toStdString();
    EXPECT_EQ(Names(folder), twelve);
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/frame-0000.png")).lastModified(), before); // nothing drawn

    g = start;
    const AnimationOutcome forced = WriteAnimationFrames(g, a, folder, OtherFrames::Remove);
    EXPECT_TRUE(forced.written) << forced.message.toStdString();
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"frame-0000.png", "frame-0001.png", "frame-0002.png",
                                                       "frame-0003.png", "frame-0004.png", "frame-0005.png",
                                                       "frame-0006.png", "frame-0007.png", "frame-notes.png"}));
    EXPECT_EQ(QImage(folder + QStringLiteral("/frame-0007.png")).size(), QSize(64, 48));
}

TEST(AnimationFile, AFolderThatCannotBeMadeNamesTheReason) {
    test::TempDir dir;
    QFile file(QString::fromStdString(dir.File("plain")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    GearState g;
    StartUp(g);
    const QString folder = QString::fromStdString(dir.File("plain/frames"));
    const AnimationOutcome o = WriteAnimationFrames(g, AnimationSettings{}, folder, OtherFrames::Refuse);
    EXPECT_FALSE(o.written);
    EXPECT_TRUE(o.message.startsWith(QStringLiteral("cannot make the folder ") + folder + QStringLiteral(": ")))
        << o.message.toStdString();
    EXPECT_GT(o.message.size(), (QStringLiteral("cannot make the folder ") + folder + QStringLiteral(": ")).size());
}

} // namespace
} // namespace vx
