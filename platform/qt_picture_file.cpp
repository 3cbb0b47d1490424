#include "platform/qt_picture_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>

namespace vx {
namespace {

QString Failure(const QString& path, const QString& reason) {
    return QStringLiteral("cannot write %1: %2").arg(path, reason.isEmpty() ? QStringLiteral("unknown error") : reason);
}

} // namespace

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return Failure(path, QStringLiteral("no file name"));
    QSaveFile file(path);
    // Never fall back to writing the target itself: a failure must not
    // touch it.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return Failure(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Failure(path, reason);
    }
    if (!file.commit()) return Failure(path, file.errorString());
    return {};
}

QString WritePngFile(const QString& path, const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) return Failure(path, writer.errorString());
    return WriteWholeFile(path, bytes);
}

bool IsSvgPath(const QString& path) { return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive); }

} // namespace vx
