// What the command line can tell about an output path before any work: the
// kind of picture its suffix asks for, and whether it can be written at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx::cli {

enum class PictureKind { Png, Svg, Pdf };

// The kind of picture a file name asks for by its suffix, in any case:
// ".png" PNG, ".svg" SVG, ".pdf" PDF where `pdf` allows it; a name without
// a suffix (and "-", standard output) PNG. Any other suffix is none.
std::optional<PictureKind> PictureKindOf(std::string_view path, bool pdf);

// The usage message for a suffix PictureKindOf refuses, listing the kinds.
std::string PictureKindError(std::string_view path, bool pdf);

// Why the file could not be written, as the system says it ("No such file
// or directory", "Permission denied", "Is a directory"), or "" when it can
// be as far as can be told without writing. "-" (standard output) always
// can. Nothing is made or changed.
std::string OutputPathProblem(const std::string& path);

} // namespace vx::cli
