// Saving over what a user already has: a symbolic link, a file with its own
// permissions, a folder that takes no new files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "data/dimension_file.h"
#include "tests/kit/ordinary_user.h"
#include "tests/kit/started_gear.h"
#include "tests/kit/files.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

using test::ReadAll;
using test::WriteAll;

class SaveOverTest : public test::StartedGear {
protected:
    std::string Image() const {
        const DesignBytes b = EncodeDesign(g);
        return {b.begin(), b.end()};
    }
    test::TempDir dir;
};

TEST_F(SaveOverTest, ASymbolicLinkStaysALinkAndItsTargetIsSaved) {
    fs::create_directories(dir.Path() / "designs");
    const std::string real = dir.File("designs/real.vxd");
    WriteAll(real, "old");
    const std::string link = dir.File("link.vxd");
    fs::create_symlink("designs/real.vxd", link);
    g.frame.stroke = 3.75f;
    const FileResult r = SaveDesign(g, link);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), Image());
    EXPECT_EQ(g.designName, "link");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"designs", "link.vxd"}));
    EXPECT_EQ(fs::directory_iterator(dir.Path() / "designs")->path().filename(), "real.vxd");
}

TEST_F(SaveOverTest, ALinkToAFileNotYetThereCreatesThatFile) {
    const std::string link = dir.File("link.vxd");
    fs::create_symlink(dir.File("new.vxd"), link);
    ASSERT_TRUE(SaveDesign(g, link).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(dir.File("new.vxd")), Image());
}

TEST_F(SaveOverTest, TheReplacedFileKeepsItsPermissions) {
    for (const auto mode : {fs::perms(0640), fs::perms(0600), fs::perms(0664)}) {
        const std::string path = dir.File("gear.vxd");
        WriteAll(path, "old");
        fs::permissions(path, mode);
        // A reader that has the old file open while it is saved over.
        const int reader = ::open(path.c_str(), O_RDONLY);
        ASSERT_GE(reader, 0);
        struct stat before {};
        ::fstat(reader, &before);
        ASSERT_TRUE(SaveDesign(g, path).ok);
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, mode);
        EXPECT_EQ(ReadAll(path), Image());
        // A file of one name is saved as a new file renamed over it: the
        // reader still reads the old file whole, and the name has a new inode.
        char old[8] = {};
        const ssize_t got = ::pread(reader, old, sizeof old, 0);
        EXPECT_EQ(std::string(old, static_cast<std::size_t>(std::max<ssize_t>(got, 0))), "old");
        struct stat after {};
        ::stat(path.c_str(), &after);
        EXPECT_NE(after.st_ino, before.st_ino);
        ::close(reader);
    }
}

TEST_F(SaveOverTest, AFileWithTwoNamesIsSavedUnderBoth) {
    const std::string path = dir.File("gear.vxd"), other = dir.File("other-name.vxd");
    WriteAll(path, "old");
    fs::create_hard_link(path, other);
    struct stat before {};
    ::stat(path.c_str(), &before);
    g.frame.stroke = 3.75f;
    ASSERT_TRUE(SaveDesign(g, path).ok);
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(ReadAll(path), Image());
    EXPECT_EQ(ReadAll(other), Image());
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"gear.vxd", "other-name.vxd"}));
}

// Saving over another user's file keeps its owner and group: the super-user
// gives them to the new file; a member of the file's group, who cannot,
// rewrites the file in place.
TEST_F(SaveOverTest, TheReplacedFileKeepsItsOwnerAndGroup) {
    if (::geteuid() != 0) GTEST_SKIP() << "owners other than oneself can only be set up by the super-user";
    const uid_t owner = 12345;
    const gid_t group = 4242;
    fs::permissions(dir.Path(), fs::perms(0777));
    for (const bool asGroupMember : {false, true}) {
        SCOPED_TRACE(asGroupMember ? "saved by a member of the group" : "saved by the super-user");
        const std::string path = dir.File(asGroupMember ? "shared.vxd" : "theirs.vxd");
        WriteAll(path, "old");
        ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
        fs::permissions(path, fs::perms(0660));
        int status = 0;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (asGroupMember) {
                const gid_t groups[] = {group};
                if (::setgroups(1, groups) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
            }
            ::_exit(SaveDesign(g, path).ok ? 0 : 1);
        }
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, owner);
        EXPECT_EQ(st.st_gid, group);
        EXPECT_EQ(st.st_mode & 07777, 0660u);
        EXPECT_EQ(ReadAll(path), Image());
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"shared.vxd", "theirs.vxd"}));
}

TEST_F(SaveOverTest, InPlaceWriteReplacesTheContentsOfTheSameFile) {
    const std::string path = dir.File("gear.vxd");
    WriteAll(path, std::string(3000, 'x'));
    fs::permissions(path, fs::perms(0640));
    struct stat before {};
    ::stat(path.c_str(), &before);
    const DesignBytes b = EncodeDesign(g);
    EXPECT_EQ(ReplaceFileContents(path, b.data(), b.size(), ReplaceMode::InPlace), "");
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(ReadAll(path), Image());
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, fs::perms(0640));
}

TEST_F(SaveOverTest, AFailedInPlaceWritePutsTheOldContentsBack) {
    const std::string path = dir.File("gear.vxd");
    const std::string old(50, 'o');
    WriteAll(path, old);
    // Files may grow to 100 bytes only: the 1460-byte write fails midway.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const DesignBytes b = EncodeDesign(g);
    const std::string reason = ReplaceFileContents(path, b.data(), b.size(), ReplaceMode::InPlace);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(reason.find("put back"), std::string::npos) << reason;
    EXPECT_EQ(ReadAll(path), old);
}

TEST_F(SaveOverTest, AFolderThatTakesNoNewFilesStillSavesAWritableFile) {
    const fs::path folder = dir.Path() / "locked";
    fs::create_directories(folder);
    const std::string path = (folder / "gear.vxd").string();
    WriteAll(path, "old");
    fs::permissions(path, fs::perms(0666));
    fs::permissions(folder, fs::perms(0555));
    fs::permissions(dir.Path(), fs::perms(0755));
    // Folder permissions do not bind the super-user: save as an ordinary
    // user (in a child process that gives up those rights, when run as one).
    const std::string problem = test::AsOrdinaryUser([&]() -> std::string {
        const FileResult r = SaveDesign(g, path);
        return r.ok ? std::string() : "the save failed: " + r.error;
    });
    fs::permissions(folder, fs::perms(0755));
    EXPECT_EQ(problem, "");
    EXPECT_EQ(ReadAll(path), Image());
    EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "gear.vxd");
}

} // namespace
} // namespace vx
