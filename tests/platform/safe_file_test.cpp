// The one safe file writer as the system sees it: the new file and its
// folder put on the disk before the rename; devices and FIFOs written in
// place, never replaced; "-" and /dev/stdout as standard output.
#include "platform/safe_file.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/kit/files.h"
#include "tests/kit/temp_dir.h"

namespace {

// The calls of the writer that make a file last, as they are made: while
// `recording`, fsync and rename note what they act on. Every call goes on
// to the system's own function.
bool recording = false;
std::vector<std::string> calls;

std::string PathOf(int fd) {
    char buf[4096];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "?";
}

} // namespace

extern "C" int fsync(int fd) {
    using Fn = int (*)(int);
    static const Fn real = reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, "fsync"));
    if (recording) calls.push_back("fsync " + PathOf(fd));
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) __THROW {
    using Fn = int (*)(const char*, const char*);
    static const Fn real = reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, "rename"));
    if (recording) calls.push_back(std::string("rename ") + from + " " + to);
    return real(from, to);
}

namespace vx {
namespace {

namespace fs = std::filesystem;

using test::ReadAll;

std::string Write(const std::string& path, std::string_view text) {
    return ReplaceFileContents(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(SafeFile, TheFileAndItsFolderAreOnTheDiskBeforeTheRename) {
    test::TempDir dir;
    const std::string folder = fs::canonical(dir.Path()).string();
    const std::string path = folder + "/design.vxd";
    for (const char* round : {"new", "over an old one"}) {
        SCOPED_TRACE(round);
        calls.clear();
        recording = true;
        const std::string reason = Write(path, round);
        recording = false;
        ASSERT_EQ(reason, "");
        EXPECT_EQ(ReadAll(path), round);
        ASSERT_GE(calls.size(), 3u);
        const std::string temp = path + ".tmp0";
        EXPECT_EQ(calls[0], "fsync " + temp);
        EXPECT_EQ(calls[1], "fsync " + folder);
        EXPECT_EQ(calls[2], "rename " + temp + " " + path);
    }
}

// A FIFO read as the writer writes, drained without ever blocking.
class FifoReader {
public:
    explicit FifoReader(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK)) {}
    ~FifoReader() {
        if (fd_ >= 0) ::close(fd_);
    }
    std::string Drain() {
        std::string got;
        char buf[4096];
        for (ssize_t n; (n = ::read(fd_, buf, sizeof buf)) > 0;) got.append(buf, static_cast<std::size_t>(n));
        return got;
    }
    bool ok() const { return fd_ >= 0; }

private:
    int fd_;
};

bool IsFifo(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

TEST(SafeFile, DevicesAndFifosAreWrittenInPlace) {
    test::TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    FifoReader reader(fifo);
    ASSERT_TRUE(reader.ok());
    EXPECT_EQ(Write(fifo, "through the pipe"), "");
    EXPECT_TRUE(IsFifo(fifo));
    EXPECT_EQ(reader.Drain(), "through the pipe");
    // Through a link, too.
    fs::create_symlink("pipe", dir.File("link"));
    EXPECT_EQ(Write(dir.File("link"), "again"), "");
    EXPECT_TRUE(IsFifo(fifo));
    EXPECT_EQ(reader.Drain(), "again");

    // A null device of our own, where the system lets us make one.
    const std::string null = dir.File("null");
    if (::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        EXPECT_EQ(Write(null, "gone"), "");
        struct stat st {};
        ASSERT_EQ(::lstat(null.c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
    for (const std::string& name : dir.Names()) // no file beside them
        EXPECT_TRUE(name == "link" || name == "null" || name == "pipe") << name;
}

TEST(SafeFile, DashAndDevStdoutAreStandardOutput) {
    test::TempDir dir;
    const std::string captured = dir.File("out");
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    ::dup2(file, STDOUT_FILENO);
    ::close(file);
    const std::string dash = Write("-", "one,"), devStdout = Write("/dev/stdout", "two");
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    EXPECT_EQ(dash, "");
    EXPECT_EQ(devStdout, "");
    EXPECT_EQ(ReadAll(captured), "one,two");
    EXPECT_FALSE(fs::exists("-"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out"});
}

TEST(SafeFile, AFailureGivesTheSystemsReason) {
    test::TempDir dir;
    EXPECT_EQ(Write(dir.File("no/such/file"), "x"), ErrnoText(ENOENT));
    fs::create_directory(dir.File("folder"));
    EXPECT_EQ(Write(dir.File("folder"), "x"), ErrnoText(EISDIR));
    EXPECT_EQ(ErrnoText(ENOSPC), std::string(std::strerror(ENOSPC)));
}

} // namespace
} // namespace vx
