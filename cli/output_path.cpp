#include "cli/output_path.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vx::cli {

std::optional<PictureKind> PictureKindOf(std::string_view path, bool pdf) {
    if (path == "-") return PictureKind::Png;
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return PictureKind::Png;
    std::string suffix(name.substr(dot + 1));
    for (char& c : suffix)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (suffix == "png") return PictureKind::Png;
    if (suffix == "svg") return PictureKind::Svg;
    if (suffix == "pdf" && pdf) return PictureKind::Pdf;
    return std::nullopt;
}

std::string PictureKindError(std::string_view path, bool pdf) {
    return "--out: cannot write a picture as \"" + std::string(path) + "\": the kinds are PNG (.png), SVG (.svg)" +
           (pdf ? ", PDF (.pdf)" : "") + "; a name without a suffix, or \"-\", is PNG";
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
