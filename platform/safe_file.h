// The one safe file writer: every file the program writes (designs,
// pictures, animations, reports) goes through it, so that a failed write
// never leaves a half-written file where a good one was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vx {

// How ReplaceFileContents replaces the target: through a temporary file when
// one can be made, else in place; or in place only.
enum class ReplaceMode { Auto, InPlace };

// Writes `size` bytes as the whole file at `path`, for a file of any kind
// and size: designs, pictures, animations and reports. Returns "" or the
// reason of the failure (the system's, for a failed call).
// - A regular file (or a new one) is written to a temporary file beside it,
//   which is checked, put on the disk (fsync) with its folder, and renamed
//   over the target; a failure leaves the target as it was.
// - "-" and "/dev/stdout" write to standard output.
// - A target that exists and is not a regular file (a device, a FIFO, a
//   socket) is written in place, as a stream; it is never replaced.
std::string ReplaceFileContents(const std::string& path, const std::uint8_t* data, std::size_t size,
                            ReplaceMode mode = ReplaceMode::Auto);

// The file a path names once symbolic links are followed (the path itself
// when it is no link; a dangling link gives the file it would create).
std::string ResolveLinks(const std::string& path);

// The system's reason for an errno value ("input/output error" for 0).
std::string ErrnoText(int e);

} // namespace vx
