// Writing picture files: through a temporary file renamed over the target,
// so a failure leaves the old file; a link's target replaced and the link
// kept; the old file's permissions kept; a folder refused.
#include "platform/qt/qt_picture_file.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>

#include "tests/kit/file_size_limit.h"
#include "tests/kit/qt_files.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

using test::Bytes;

TEST(PictureFile, ReplacesWholeOrNotAtAll) {
    test::TempDir dir;
    const std::string path = dir.File("p.bin");
    const QString q = QString::fromStdString(path);
    EXPECT_EQ(WriteWholeFile(q, "first"), "");
    EXPECT_EQ(Bytes(path), "first");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(WriteWholeFile(q, "second"), "");
    EXPECT_EQ(Bytes(path), "second");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    QString failure;
    {
        test::FileSizeLimit limit(100);
        failure = WriteWholeFile(q, QByteArray(5000, 'x'));
    }
    EXPECT_TRUE(failure.startsWith("cannot write " + q + ": "))
        << failure.toStdString();
    EXPECT_EQ(Bytes(path), "second");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"p.bin"});
}

TEST(PictureFile, FollowsALinkAndRefusesAFolder) {
    test::TempDir dir;
    const std::string target = dir.File("target.png");
    const std::string link = dir.File("link.png");
    ASSERT_EQ(WriteWholeFile(QString::fromStdString(target), "old"), "");
    fs::create_symlink("target.png", link);
    EXPECT_EQ(WriteWholeFile(QString::fromStdString(link), "new"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Bytes(target), "new");

    fs::create_directory(dir.File("folder.png"));
    const QString folder = QString::fromStdString(dir.File("folder.png"));
    EXPECT_TRUE(WriteWholeFile(folder, "x").startsWith("cannot write " + folder + ": "));
    const QString missing = QString::fromStdString(dir.File("no/such.png"));
    EXPECT_TRUE(WriteWholeFile(missing, "x").startsWith("cannot write " + missing + ": "));
}

} // namespace
} // namespace vx
