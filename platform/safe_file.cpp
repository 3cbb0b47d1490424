#include "platform/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

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

// Writes the whole image to an open file and closes it. Returns 0 or errno.
int WriteAndClose(std::FILE* f, const std::uint8_t* data, std::size_t size) {
    errno = 0;
    bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    written = std::fflush(f) == 0 && written;
    int e = written ? 0 : (errno != 0 ? errno : EIO);
    if (std::fclose(f) != 0 && e == 0) e = errno != 0 ? errno : EIO;
    return e;
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
    if (const int e = WriteAndClose(f, data, size); e != 0) {
        std::remove(temp.c_str());
        return ErrnoText(e);
    }
    errno = 0;
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        const int e = errno;
        std::remove(temp.c_str());
        return ErrnoText(e);
    }
    return {};
}

} // namespace vx
