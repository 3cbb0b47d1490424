#include "export/animation_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

#include "export/picture_file.h"
#include "platform/qt/qt_image_canvas.h"
#include "platform/qt/qt_picture_file.h"
#include "platform/random.h"
#include "platform/safe_file.h"

namespace vx {
namespace {

PixelRows RowsOf(const QImageCanvas& canvas) {
    const QImage& image = canvas.Image();
    return PixelRows{reinterpret_cast<const std::uint32_t*>(image.constBits()),
                     static_cast<std::ptrdiff_t>(image.bytesPerLine() / 4)};
}

int FrameDigits(long long total) {
    return std::max(4, static_cast<int>(std::to_string(std::max(total - 1, 0LL)).size()));
}

// The files of the folder named like frames that a run of `total` frames
// does not write.
QStringList OtherFrameFiles(const QString& folder, long long total) {
    static const QRegularExpression kFrame(QStringLiteral("^frame-[0-9]+\\.png$"));
    QStringList others;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        if (!kFrame.match(name).hasMatch()) continue;
        const qsizetype digits = name.size() - 10; // "frame-" and ".png"
        bool ok = false;
        const long long k = name.mid(6, digits).toLongLong(&ok);
        if (ok && k >= 0 && k < total && name == FrameFileName(k, total)) continue;
        others.push_back(name);
    }
    return others;
}

} // namespace

std::optional<AnimationKind> AnimationKindOf(const QString& path) {
    if (path.endsWith(QLatin1Char('/')) || QFileInfo(path).isDir()) return AnimationKind::Frames;
    const QByteArray name = QFile::encodeName(path);
    const std::string_view suffix = FileSuffix(std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
    if (suffix.empty() || QString::fromLatin1(suffix.data(), static_cast<qsizetype>(suffix.size()))
                                  .compare(QStringLiteral(".gif"), Qt::CaseInsensitive) == 0)
        return AnimationKind::Gif;
    return std::nullopt;
}

std::string_view AnimationKindNames() { return "GIF (.gif), or a folder (ending in \"/\") for PNG frames"; }

QString FrameFileName(long long k, long long total) {
    return QStringLiteral("frame-%1.png").arg(k, FrameDigits(total), 10, QLatin1Char('0'));
}

AnimationOutcome WriteAnimationGif(const GearState& g, const AnimationSettings& a, const QString& path,
                                   const AnimationProgress& progress) {
    AnimationOutcome outcome;
    QImageCanvas canvas(kFrameWidth, kFrameHeight);
    LcgRandom random(1);
    const FrameServices services{&random};
    std::vector<std::uint8_t> bytes;
    std::string error;
    bool cancelled = false;
    const auto tracked = [&](long long done, long long total) {
        if (!progress || progress(done, total)) return true;
        cancelled = true;
        return false;
    };
    if (!EncodeRevolutionGif(g, a, canvas, [&canvas] { return RowsOf(canvas); }, services, tracked, bytes, error)) {
        outcome.cancelled = cancelled;
        if (!cancelled) outcome.message = QStringLiteral("cannot write %1: %2").arg(path, QString::fromStdString(error));
        return outcome;
    }
    outcome.message = WriteWholeFile(
        path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    outcome.written = outcome.message.isEmpty();
    return outcome;
}

AnimationOutcome WriteAnimationFrames(const GearState& g, const AnimationSettings& a, const QString& folder,
                                      OtherFrames others) {
    AnimationOutcome outcome;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()), ec);
    if (ec || !QFileInfo(folder).isDir()) {
        const std::string reason = ec ? ec.message() : ErrnoText(ENOTDIR);
        outcome.message = QStringLiteral("cannot make the folder %1: %2").arg(folder, QString::fromStdString(reason));
        return outcome;
    }
    const long long total = TicksPerRevolution(a.step);
    const QStringList stray = OtherFrameFiles(folder, total);
    if (!stray.isEmpty() && others == OtherFrames::Refuse) {
        outcome.otherFrames = stray;
        // A few of the files name the kind; a long list would bury the message.
        constexpr qsizetype kNamed = 3;
        QString named = stray.mid(0, kNamed).join(QStringLiteral(", "));
        if (stray.size() > kNamed) named += QStringLiteral(", ... (%1 more)").arg(stray.size() - kNamed);
        outcome.message = QStringLiteral("%1 holds %2 frame file(s) this animation would not write over: %3")
                              .arg(folder)
                              .arg(stray.size())
                              .arg(named);
        return outcome;
    }
    QImageCanvas canvas(kFrameWidth, kFrameHeight);
    LcgRandom random(1);
    const FrameServices services{&random};
    const int width = std::clamp(a.width, 1, kFrameWidth), height = std::clamp(a.height, 1, kFrameHeight);
    const QDir dir(folder);
    DrawRevolution(g, a.step, canvas, services, [&](long long k, float) {
        outcome.message = WritePngFile(dir.filePath(FrameFileName(k, total)),
                                       std::as_const(canvas).Image().copy(0, 0, width, height));
        return outcome.message.isEmpty();
    });
    if (!outcome.message.isEmpty()) return outcome;
    for (const QString& name : stray) {
        const QString file = dir.filePath(name);
        std::filesystem::remove(std::filesystem::path(QFile::encodeName(file).toStdString()), ec);
        if (ec) {
            outcome.message = QStringLiteral("cannot remove %1: %2").arg(file, QString::fromStdString(ec.message()));
            return outcome;
        }
    }
    outcome.written = true;
    return outcome;
}

} // namespace vx
