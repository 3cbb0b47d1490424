// What the command line can tell about an output path before any work: the
// message for a picture suffix of no kind, and whether it can be written at all.
#pragma once

#include <string>
#include <string_view>

#include "export/picture_file.h"

namespace vx::cli {

// The usage message for a picture name whose suffix asks for no kind the
// program writes (export/picture_file.h tells the kinds).
std::string PictureKindError(std::string_view path);

// The kind of picture `path` asks for by its suffix; false, with
// PictureKindError's message, where it asks for none.
bool ReadPictureKind(std::string_view path, PictureKind& kind, std::string& error);

// Why the file could not be written, as the system says it ("No such file
// or directory", "Permission denied", "Is a directory"), or "" when it can
// be as far as can be told without writing. "-" (standard output) always
// can. Nothing is made or changed.
std::string OutputPathProblem(const std::string& path);

} // namespace vx::cli
