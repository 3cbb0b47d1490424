#include "export/picture_file.h"

#include <QByteArray>

#include <memory>

#include "platform/qt/qt_image_canvas.h"
#include "platform/qt/qt_pdf_canvas.h"
#include "platform/qt/qt_picture_file.h"
#include "platform/qt/qt_svg_canvas.h"
#include "platform/random.h"
#include "scene/frame/frame_renderer.h"

namespace vx {
namespace {

bool SameLetters(std::string_view a, std::string_view lower) {
    if (a.size() != lower.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char ch = a[i];
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != lower[i]) return false;
    }
    return true;
}

} // namespace

std::string_view FileSuffix(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    return name.substr(dot);
}

std::optional<PictureKind> PictureKindOf(std::string_view path) {
    const std::string_view suffix = FileSuffix(path);
    if (suffix.empty() || SameLetters(suffix, ".png")) return PictureKind::Png;
    if (SameLetters(suffix, ".svg")) return PictureKind::Svg;
    if (SameLetters(suffix, ".pdf")) return PictureKind::Pdf;
    return std::nullopt;
}

std::optional<PictureKind> PictureKindOf(const QString& path) {
    const QByteArray name = path.toUtf8();
    return PictureKindOf(std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
}

std::string_view PictureKindNames() { return "PNG (.png), SVG (.svg) and PDF (.pdf)"; }

PictureSource MainWindowPicture(const GearState& g) {
    auto copy = std::make_shared<GearState>(g);
    return {kFrameWidth, kFrameHeight, [copy](Canvas& c) {
                LcgRandom random(1);
                ComposeFrame(*copy, c, FrameServices{&random});
            }};
}

PictureSource DiagramPicture(const GearState& g, const DiagramEntry& diagram, const DiagramRequest& request) {
    auto copy = std::make_shared<GearState>(g);
    const DiagramEntry* entry = &diagram;
    return {entry->width, entry->height, [copy, entry, request](Canvas& c) {
                c.Clear(colors::kWhite);
                entry->draw(*copy, c, request);
            }};
}

PictureSource DiagramPicture(const GearState& g, std::string_view name, const DiagramRequest& request) {
    const DiagramEntry* entry = FindDiagram(name);
    if (entry == nullptr) return {};
    return DiagramPicture(g, *entry, request);
}

QString WritePicture(const QString& path, PictureKind kind, const PictureSource& picture) {
    if (!picture.draw || picture.width <= 0 || picture.height <= 0)
        return QStringLiteral("cannot write %1: there is no picture to export").arg(path);
    switch (kind) {
    case PictureKind::Svg: {
        SvgCanvas canvas(picture.width, picture.height);
        picture.draw(canvas);
        QString failure;
        canvas.Save(path, &failure); // the message names the file and the reason
        return failure;
    }
    case PictureKind::Pdf: {
        PdfCanvas canvas(PaperSize{picture.width, picture.height}, QString());
        picture.draw(canvas);
        const QByteArray bytes = canvas.Finish();
        if (bytes.isEmpty()) return QStringLiteral("cannot write %1: the PDF could not be made").arg(path);
        return WriteWholeFile(path, bytes);
    }
    case PictureKind::Png: break;
    }
    QImageCanvas canvas(picture.width, picture.height);
    picture.draw(canvas);
    return WritePngFile(path, canvas.Image());
}

} // namespace vx
