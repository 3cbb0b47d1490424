#include "cli/output_path.h"

#include "export/picture_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vx::cli {

std::string PictureKindError(std::string_view path) {
    return "--out: cannot write a picture as \"" + std::string(path) + "\" (" +
           (FileSuffix(path).empty() ? std::string("no suffix") : "the suffix \"" + std::string(FileSuffix(path)) + "\"") +
           "): the kinds are " + std::string(PictureKindNames()) + "; a name without a suffix, or \"-\", is PNG";
}

bool ReadPictureKind(std::string_view path, PictureKind& kind, std::string& error) {
    const auto k = PictureKindOf(path);
    if (!k) {
        error = PictureKindError(path);
        return false;
    }
    kind = *k;
    return true;
}

std::string OutputPathProblem(const std::string& path) {
    namespace fs = std::filesystem;
    if (path == "-") return {};
    std::error_code ec;
    const fs::path p(path);
    const fs::file_status status = fs::status(p, ec);
    if (fs::exists(status)) {
        if (fs::is_directory(status)) return std::strerror(EISDIR);
        if (::access(path.c_str(), W_OK) != 0) return std::strerror(errno);
        return {};
    }
    const fs::path parent = p.has_parent_path() ? p.parent_path() : fs::path(".");
    const fs::file_status folder = fs::status(parent, ec);
    if (!fs::exists(folder)) return std::strerror(ENOENT);
    if (!fs::is_directory(folder)) return std::strerror(ENOTDIR);
    if (::access(parent.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
    return {};
}

} // namespace vx::cli
