#include "platform/qt/qt_picture_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <string>

#include "platform/safe_file.h"

namespace vx {
namespace {

QString Failure(const QString& path, const QString& reason) {
    return QStringLiteral("cannot write %1: %2").arg(path, reason.isEmpty() ? QStringLiteral("unknown error") : reason);
}

} // namespace

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return Failure(path, QStringLiteral("no file name"));
    const std::string reason =
        ReplaceFileContents(QFile::encodeName(path).toStdString(), reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                            static_cast<std::size_t>(bytes.size()));
    return reason.empty() ? QString() : Failure(path, QString::fromLocal8Bit(reason.c_str()));
}

QString WritePngFile(const QString& path, const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) return Failure(path, writer.errorString());
    return WriteWholeFile(path, bytes);
}

} // namespace vx
