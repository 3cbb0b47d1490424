#include "platform/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

std::string ErrnoText(int e) { return e != 0 ? std::string(std::strerror(e)) : std::string("input/output error"); }

std::string ResolveLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path p(path);
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)) || ec) break;
        const fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return p.string();
}

namespace {

// Writes the whole image to an open file, puts it on the disk (fsync) and
// closes it. Returns 0 or errno.
int WriteAndClose(std::FILE* f, const std::uint8_t* data, std::size_t size) {
    errno = 0;
    bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    written = std::fflush(f) == 0 && written;
    int e = written ? 0 : (errno != 0 ? errno : EIO);
    if (e == 0 && ::fsync(::fileno(f)) != 0 && errno != EINVAL) e = errno;
    if (std::fclose(f) != 0 && e == 0) e = errno != 0 ? errno : EIO;
    return e;
}

// Puts a folder's entries on the disk, so that a file made or renamed in it
// survives a crash. Returns 0 or errno (file systems that cannot sync a
// folder count as done).
int SyncFolder(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int e = 0;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) e = errno;
    ::close(fd);
    return e;
}

// Writes the whole image to a descriptor, as a stream. Returns 0 or errno.
int WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

// Standard output, by its names.
bool IsStandardOutput(const std::string& path) {
    return path == "-" || path == "/dev/stdout" || path == "/dev/fd/1" || path == "/proc/self/fd/1";
}

// A target that is not a file of its own (a device, a FIFO, a socket) is
// written in place, as a stream: never replaced, never truncated.
std::string WriteToStream(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return ErrnoText(errno);
    int e = WriteAll(fd, data, size);
    if (::close(fd) != 0 && e == 0 && errno != EINTR) e = errno;
    return e == 0 ? std::string() : ErrnoText(e);
}

// Largest existing file whose contents an in-place write keeps in memory.
constexpr long long kMaxKeptBytes = 16LL << 20;

std::string WriteInPlace(const std::string& path, const std::uint8_t* data, std::size_t size) {
    // Keep the old contents, so that a failed write can put them back.
    std::vector<std::uint8_t> old;
    bool existed = false;
    errno = 0;
    if (std::FILE* in = std::fopen(path.c_str(), "rb")) {
        existed = true;
        std::uint8_t chunk[4096];
        std::size_t n = 0;
        while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
            old.insert(old.end(), chunk, chunk + n);
            if (static_cast<long long>(old.size()) > kMaxKeptBytes) {
                std::fclose(in);
                return "no temporary file can be made beside it, and the file is too large to keep a copy "
                       "while it is rewritten";
            }
        }
        const bool failed = std::ferror(in) != 0;
        const int e = errno;
        std::fclose(in);
        if (failed) return ErrnoText(e);
    } else if (errno != ENOENT) {
        return ErrnoText(errno);
    }
    errno = 0;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return ErrnoText(errno);
    const int e = WriteAndClose(out, data, size);
    if (e == 0) return {};
    std::string reason = ErrnoText(e);
    if (existed) {
        std::FILE* back = std::fopen(path.c_str(), "wb");
        const bool restored = back != nullptr && WriteAndClose(back, old.data(), old.size()) == 0;
        reason += restored ? " (the file's previous contents were put back)"
                           : " (the file's previous contents could not be put back)";
    } else {
        std::remove(path.c_str());
    }
    return reason;
}

} // namespace

std::string ReplaceFileContents(const std::string& path, const std::uint8_t* data, std::size_t size, ReplaceMode mode) {
    if (path.empty()) return "no file name";
    if (IsStandardOutput(path)) {
        const int e = WriteAll(STDOUT_FILENO, data, size);
        return e == 0 ? std::string() : ErrnoText(e);
    }
    // Devices, FIFOs and sockets, also through links (the system follows
    // /dev/stdout and its like, which name no path).
    if (struct stat any {}; ::stat(path.c_str(), &any) == 0 && !S_ISREG(any.st_mode) && !S_ISDIR(any.st_mode))
        return WriteToStream(path, data, size);
    const std::string target = ResolveLinks(path);

    // An existing target that cannot be written (or is a folder) is refused
    // rather than replaced.
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    errno = 0;
    if (std::FILE* existing = std::fopen(target.c_str(), "r+b")) {
        std::fclose(existing);
    } else if (errno != ENOENT) {
        return ErrnoText(errno);
    }
    // A file with other names (hard links) is rewritten in place, so that
    // every name sees the new design.
    if (mode == ReplaceMode::InPlace || (exists && st.st_nlink > 1)) return WriteInPlace(target, data, size);

    // A fresh temporary file next to the target.
    std::string temp;
    std::FILE* f = nullptr;
    int createErrno = 0;
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        temp = target + ".tmp" + std::to_string(attempt);
        errno = 0;
        f = std::fopen(temp.c_str(), "wbx");
        createErrno = errno;
        if (!f && createErrno != EEXIST) break;
    }
    if (!f) {
        // The folder takes no new file: rewrite the target itself.
        if (createErrno == EACCES || createErrno == EPERM || createErrno == EROFS)
            return WriteInPlace(target, data, size);
        return ErrnoText(createErrno);
    }
    if (exists) {
        // The new file gets the owner, group and permissions of the one it
        // replaces. Where the owner or group cannot be given to it (another
        // user's file in a shared group), the file is rewritten in place.
        const int fd = ::fileno(f);
        struct stat made {};
        if (::fstat(fd, &made) != 0 ||
            ((made.st_uid != st.st_uid || made.st_gid != st.st_gid) && ::fchown(fd, st.st_uid, st.st_gid) != 0)) {
            std::fclose(f);
            std::remove(temp.c_str());
            return WriteInPlace(target, data, size);
        }
        ::fchmod(fd, st.st_mode & 07777);
    }
    // The new file and the folder's entry for it on the disk before the
    // rename, and the rename after it, so that a crash leaves the old file
    // or the new one, never an empty one.
    int e = WriteAndClose(f, data, size);
    if (e == 0) e = SyncFolder(temp);
    if (e != 0) {
        std::remove(temp.c_str());
        return ErrnoText(e);
    }
    errno = 0;
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        e = errno;
        std::remove(temp.c_str());
        return ErrnoText(e);
    }
    SyncFolder(target);
    return {};
}

} // namespace vx
