// What the commands that write files do with targets that are not plain
// files and with writes that fail: standard output for "-" and
// /dev/stdout, FIFOs and devices written in place, a failed write exits 1
// naming the file and the system's reason and leaves the old file.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "cli/command_table.h"
#include "tests/cli/cli_run.h"
#include "tests/kit/file_size_limit.h"
#include "tests/kit/files.h"
#include "tests/kit/temp_dir.h"

namespace vx::cli {
namespace {

using test::Cli;

using test::ReadAll;
using test::WriteAll;

// The file each command writes, with the start its bytes have.
struct Writer {
    const char* what;
    std::vector<std::string> before, after; // the arguments around the file name
    const char* magic;
};
const Writer kWriters[] = {
    {"save", {"save"}, {}, ""},
    {"render frame", {"render", "frame", "--out"}, {}, "\x89PNG"},
    {"diagram", {"diagram", "steam", "--out"}, {}, "\x89PNG"},
    {"report", {"report", "--out"}, {"--paper", "a4"}, "%PDF-"},
    {"render animation", {"render", "animation", "--out"}, {"--step", "45"}, "GIF89a"},
};

std::vector<std::string> Args(const Writer& w, const std::string& file) {
    std::vector<std::string> args = w.before;
    args.push_back(file);
    args.insert(args.end(), w.after.begin(), w.after.end());
    return args;
}

TEST(FileSafety, DashAndDevStdoutWriteToStandardOutput) {
    const std::string design = [] {
        test::TempDir dir;
        EXPECT_EQ(Cli({"save", dir.File("d.vxd")}).code, kExitOk);
        return ReadAll(dir.File("d.vxd"));
    }();
    ASSERT_EQ(design.size(), 1460u);
    for (const Writer& w : kWriters) {
        for (const char* out : {"-", "/dev/stdout"}) {
            SCOPED_TRACE(std::string(w.what) + " " + out);
            QProcess p;
            QStringList args;
            for (const std::string& a : Args(w, out)) args << QString::fromStdString(a);
            p.start(QStringLiteral(VEXLIN_CLI_PATH), args);
            ASSERT_TRUE(p.waitForFinished(60000));
            EXPECT_EQ(p.exitCode(), kExitOk) << p.readAllStandardError().toStdString();
            const QByteArray bytes = p.readAllStandardOutput();
            EXPECT_TRUE(bytes.startsWith(w.magic));
            if (std::string(w.what) == "save") EXPECT_EQ(bytes.toStdString(), design);
            else EXPECT_GT(bytes.size(), 1000);
        }
    }
}

// A FIFO's reader that drains it as it fills, so that a writer never waits,
// and never blocks itself.
class FifoReader {
public:
    explicit FifoReader(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK)) {
        thread_ = std::thread([this] {
            while (!done_.load()) {
                Read();
                ::usleep(2000);
            }
            Read();
        });
    }
    ~FifoReader() { Stop(); }
    std::string Stop() {
        done_.store(true);
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        return got_;
    }

private:
    void Read() {
        char buf[65536];
        for (ssize_t n; fd_ >= 0 && (n = ::read(fd_, buf, sizeof buf)) > 0;) got_.append(buf, static_cast<std::size_t>(n));
    }
    int fd_;
    std::atomic<bool> done_{false};
    std::string got_;
    std::thread thread_;
};

TEST(FileSafety, FifosAndDevicesAreWrittenInPlaceNotReplaced) {
    test::TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string null = dir.File("null");
    const bool haveNull = ::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.what);
        FifoReader reader(fifo);
        const test::CliRun r = Cli(Args(w, fifo));
        const std::string got = reader.Stop();
        EXPECT_EQ(r.code, kExitOk) << r.err;
        EXPECT_EQ(got.rfind(w.magic, 0), 0u);
        struct stat st {};
        ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode));
        if (haveNull) {
            EXPECT_EQ(Cli(Args(w, null)).code, kExitOk);
            ASSERT_EQ(::lstat(null.c_str(), &st), 0);
            EXPECT_TRUE(S_ISCHR(st.st_mode));
        }
    }
    for (const std::string& name : dir.Names()) EXPECT_TRUE(name == "pipe" || name == "null") << name;
}

TEST(FileSafety, AFailedWriteNamesTheFileAndTheReasonAndKeepsTheOldFile) {
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.what);
        test::TempDir dir;
        const std::string file = dir.File(std::string("old") + (w.magic[0] == '%' ? ".pdf" : w.magic[0] == 'G' ? ".gif" : ""));
        WriteAll(file, "the old file");
        test::CliRun r;
        {
            // The report is written in one go, far beyond 20000 bytes; the
            // design needs 1460.
            test::FileSizeLimit limit(std::string(w.what) == "report" ? 20000 : 1000);
            r = Cli(Args(w, file));
        }
        EXPECT_EQ(r.code, kExitCannotRun);
        EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(std::strerror(EFBIG)), std::string::npos) << r.err;
        EXPECT_EQ(ReadAll(file), "the old file");
        EXPECT_EQ(dir.Names().size(), 1u); // no temporary file left
    }
}

} // namespace
} // namespace vx::cli
