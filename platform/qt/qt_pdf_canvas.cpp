#include "platform/qt/qt_pdf_canvas.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace vx {
namespace {

// The writer's resolution: ten device dots per page unit.
constexpr int kDotsPerUnit = 10;
constexpr int kMaxPenWidth = 32;
constexpr int kMaxPixelSize = 512;
// Coordinates are clamped to this distance from the page: anything beyond
// is off the paper anyway, and the painter never sees absurd numbers.
constexpr double kFar = 1e5;

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }
double Near(double v) { return std::clamp(v, -kFar, kFar); }

} // namespace

struct PdfCanvas::Impl {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    PaperSize size{};
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    bool open = false;
    int pages = 1;
    QPen pen{Qt::black};
    int curX = 0, curY = 0;
    // The placed picture, or the page.
    bool inPicture = false;
    int srcLeft = 0, srcTop = 0, srcWidth = 0, srcHeight = 0;

    void ResetTransform() {
        painter.resetTransform();
        painter.scale(kDotsPerUnit, kDotsPerUnit);
        painter.setClipping(false);
        inPicture = false;
    }
};

PdfCanvas::PdfCanvas(Paper paper, const QString& title)
    : PdfCanvas(SizeOf(paper), title, paper == Paper::Letter ? QPageSize(QPageSize::Letter) : QPageSize(QPageSize::A4)) {}

PdfCanvas::PdfCanvas(PaperSize page, const QString& title)
    : PdfCanvas(PaperSize{std::max(page.width, 1), std::max(page.height, 1)}, title,
                QPageSize(QSizeF(std::max(page.width, 1) / double(kPageUnitsPerInch),
                                 std::max(page.height, 1) / double(kPageUnitsPerInch)),
                          QPageSize::Inch, QString(), QPageSize::ExactMatch)) {}

PdfCanvas::PdfCanvas(PaperSize size, const QString& title, const QPageSize& pageSize)
    : d_(std::make_unique<Impl>()) {
    Impl& d = *d_;
    d.size = size;
    d.buffer.open(QIODevice::WriteOnly);
    d.writer = std::make_unique<QPdfWriter>(&d.buffer);
    d.writer->setTitle(title);
    d.writer->setCreator(QStringLiteral("Vexlin"));
    d.writer->setResolution(kPageUnitsPerInch * kDotsPerUnit);
    d.writer->setPageSize(pageSize);
    d.writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    d.open = d.painter.begin(d.writer.get());
    if (d.open) {
        d.painter.setRenderHint(QPainter::Antialiasing, true);
        d.ResetTransform();
        d.pen.setCapStyle(Qt::SquareCap);
        d.pen.setJoinStyle(Qt::MiterJoin);
        d.pen.setWidthF(1);
    }
}

PdfCanvas::~PdfCanvas() {
    if (d_->painter.isActive()) d_->painter.end();
}

int PdfCanvas::PageCount() const { return d_->pages; }

QByteArray PdfCanvas::Finish() {
    Impl& d = *d_;
    const bool ended = d.open && d.painter.end();
    d.open = false;
    d.buffer.close();
    return ended ? d.bytes : QByteArray();
}

int PdfCanvas::Width() const { return d_->inPicture ? d_->srcLeft + d_->srcWidth : d_->size.width; }
int PdfCanvas::Height() const { return d_->inPicture ? d_->srcTop + d_->srcHeight : d_->size.height; }

void PdfCanvas::Clear(Rgb fill) {
    Impl& d = *d_;
    if (!d.open) return;
    if (d.inPicture) d.painter.fillRect(QRectF(d.srcLeft, d.srcTop, d.srcWidth, d.srcHeight), ToQColor(fill));
    else d.painter.fillRect(QRectF(0, 0, d.size.width, d.size.height), ToQColor(fill));
    d.pen.setColor(Qt::black);
    d.pen.setWidthF(1);
    d.curX = d.curY = 0;
}

void PdfCanvas::SetPen(Rgb color, int width) {
    d_->pen.setColor(ToQColor(color));
    d_->pen.setWidthF(std::clamp(width, 1, kMaxPenWidth));
}

void PdfCanvas::MoveTo(int x, int y) {
    d_->curX = x;
    d_->curY = y;
}

void PdfCanvas::LineTo(int x, int y) {
    Impl& d = *d_;
    const QPointF a(Near(d.curX + 0.5), Near(d.curY + 0.5)), b(Near(x + 0.5), Near(y + 0.5));
    d.curX = x;
    d.curY = y;
    if (!d.open || a == b) return;
    d.painter.setPen(d.pen);
    d.painter.drawLine(a, b);
}

void PdfCanvas::Ellipse(int left, int top, int right, int bottom) { Arc(left, top, right, bottom, 0, 0, 0, 0); }

void PdfCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
    Impl& d = *d_;
    if (!d.open) return;
    // The box rule of the other canvases: columns left .. right-1, rows
    // top .. bottom-1, at least one of each.
    const double l = std::min(left, right), r = std::max(left, right), t = std::min(top, bottom),
                 b = std::max(top, bottom);
    const double px0 = l, px1 = std::max(l, r - 1), py0 = t, py1 = std::max(t, b - 1);
    if (px1 < -kFar || py1 < -kFar || px0 > kFar || py0 > kFar) return;
    const double cx = 0.5 * (px0 + px1) + 0.5, cy = 0.5 * (py0 + py1) + 0.5;
    const double rx = std::max(0.5 * (px1 - px0), 0.5), ry = std::max(0.5 * (py1 - py0), 0.5);
    const QRectF box(cx - rx, cy - ry, 2 * rx, 2 * ry);
    const auto angle = [&](int x, int y) { return std::atan2(-(y + 0.5 - cy) / ry, (x + 0.5 - cx) / rx); };
    constexpr double kTurn = 2 * std::numbers::pi;
    const double start = angle(x1, y1);
    const double span = std::fmod(angle(x2, y2) - start + 2 * kTurn, kTurn);
    d.painter.setPen(d.pen);
    d.painter.setBrush(Qt::NoBrush);
    if (span < 1e-12) {
        d.painter.drawEllipse(box);
        return;
    }
    // Parametric angles to the painter's: on a circle they are the same;
    // the painter takes sixteenths of a degree, counter-clockwise.
    QPainterPath path;
    path.arcMoveTo(box, start * 180 / std::numbers::pi);
    path.arcTo(box, start * 180 / std::numbers::pi, span * 180 / std::numbers::pi);
    d.painter.drawPath(path);
}

void PdfCanvas::SetPixel(int x, int y, Rgb color) {
    Impl& d = *d_;
    if (!d.open) return;
    d.painter.fillRect(QRectF(Near(x), Near(y), 1, 1), ToQColor(color));
}

void PdfCanvas::Text(int x, int y, std::string_view utf8, const TextStyle& style) {
    Impl& d = *d_;
    if (!d.open || utf8.empty() || std::fabs(double(x)) > kFar || std::fabs(double(y)) > kFar) return;
    auto fontOf = [&](FontFace face) {
        const std::string_view family = FontFamily(face);
        QFont font(QString::fromLatin1(family.data(), static_cast<qsizetype>(family.size())));
        font.setPixelSize(std::clamp(style.pixelSize, 1, kMaxPixelSize));
        font.setBold(style.bold);
        font.setUnderline(style.underline);
        // Metrics at the page's scale, so that the layout is the screen's.
        font.setHintingPreference(QFont::PreferNoHinting);
        return font;
    };
    // A narrow text's numbers are runs in the sans (canvas.h), each set
    // where the one before ends, on the text's baseline.
    const QFontMetricsF fm(fontOf(style.face));
    if (style.opaque) {
        double advance = 0;
        ForEachFaceRun(utf8, style.face, [&](std::string_view run, FontFace face) {
            advance += QFontMetricsF(fontOf(face))
                           .horizontalAdvance(QString::fromUtf8(run.data(), static_cast<qsizetype>(run.size())));
        });
        d.painter.fillRect(QRectF(x, y, advance, fm.height()), ToQColor(style.background));
    }
    d.painter.setPen(ToQColor(style.color));
    double pen = x;
    ForEachFaceRun(utf8, style.face, [&](std::string_view run, FontFace face) {
        const QFont font = fontOf(face);
        const QString text = QString::fromUtf8(run.data(), static_cast<qsizetype>(run.size()));
        d.painter.setFont(font);
        d.painter.drawText(QPointF(pen, y + fm.ascent()), text);
        pen += QFontMetricsF(font).horizontalAdvance(text);
    });
}

void PdfCanvas::NewPage() {
    Impl& d = *d_;
    if (!d.open) return;
    d.writer->newPage();
    ++d.pages;
    d.ResetTransform();
}

void PdfCanvas::BeginPicture(int left, int top, double scale, int srcLeft, int srcTop, int srcWidth, int srcHeight) {
    Impl& d = *d_;
    if (!d.open) return;
    d.ResetTransform();
    if (!std::isfinite(scale) || scale <= 0) scale = 1;
    d.painter.translate(left, top);
    d.painter.scale(scale, scale);
    d.painter.translate(-srcLeft, -srcTop);
    d.painter.setClipRect(QRectF(srcLeft, srcTop, srcWidth, srcHeight));
    d.inPicture = true;
    d.srcLeft = srcLeft;
    d.srcTop = srcTop;
    d.srcWidth = std::max(srcWidth, 0);
    d.srcHeight = std::max(srcHeight, 0);
}

void PdfCanvas::EndPicture() {
    if (d_->open) d_->ResetTransform();
}

} // namespace vx
