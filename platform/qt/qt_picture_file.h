// Writing the program's picture files (PNG, SVG, GIF) the way a design is
// saved: the whole file goes to a temporary file beside the target and is
// renamed over it once it is complete (keeping the old file's owner, group
// and permissions), or is rewritten in place where that cannot be done or
// the file has other names; a failed write leaves an existing file as it
// was and no temporary file behind.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vx {

// Writes `bytes` as the file at `path`. Returns "" when done, else a message
// naming the file and the reason: "cannot write PATH: REASON".
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

// The image as a PNG file, the same way.
QString WritePngFile(const QString& path, const QImage& image);

} // namespace vx
