#include "platform/qt_picture_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vx {
namespace {

QString ErrnoText(int e) { return QString::fromLocal8Bit(std::strerror(e != 0 ? e : EIO)); }

QString Failure(const QString& path, const QString& reason) {
    return QStringLiteral("cannot write %1: %2").arg(path, reason.isEmpty() ? QStringLiteral("unknown error") : reason);
}

} // namespace

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return Failure(path, QStringLiteral("no file name"));
    // A link is followed: its target is replaced and the link stays.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    const QByteArray name = QFile::encodeName(target);
    struct stat st {};
    const bool exists = ::stat(name.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return Failure(path, ErrnoText(EISDIR));

    // A fresh temporary file beside the target.
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = name + ".tmp" + QByteArray::number(attempt);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return Failure(path, ErrnoText(errno));
    // The new file gets the permissions of the one it replaces.
    if (exists) ::fchmod(fd, st.st_mode & 07777);
    int error = 0;
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0 && error == 0) {
        const ssize_t n = ::write(fd, data, static_cast<std::size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) error = n < 0 ? errno : EIO;
        else data += n, left -= n;
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.constData(), name.constData()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.constData());
        return Failure(path, ErrnoText(error));
    }
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
