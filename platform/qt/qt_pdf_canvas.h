// A paged canvas that makes a vector PDF through QPdfWriter: A4 or Letter
// pages, or pages of a picture's size, of 1/96-inch units; the faces of the
// other canvases (FontFamily), embedded; the same raster rules as the other
// canvases expressed as vector shapes (coordinates are pixel centres,
// x + 0.5). The document is made in memory: the caller writes its bytes
// (through the one safe file writer), so that a failed write never leaves a
// cut-short PDF behind.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "platform/paged_canvas.h"
#include "platform/paper_size.h"

class QPageSize;

namespace vx {

class PdfCanvas final : public PagedCanvas {
public:
    PdfCanvas(Paper paper, const QString& title);
    // Pages of `page` units (a picture's pixels), at least 1 x 1.
    PdfCanvas(PaperSize page, const QString& title);
    ~PdfCanvas() override;

    // Finishes the document and gives its bytes; nothing is drawn after it.
    // Empty when the document could not be made.
    QByteArray Finish();
    int PageCount() const;

    int Width() const override;
    int Height() const override;
    void Clear(Rgb fill) override;
    void SetPen(Rgb color, int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override;
    void SetPixel(int x, int y, Rgb color) override;
    void Text(int x, int y, std::string_view utf8, const TextStyle& style) override;

    void NewPage() override;
    void BeginPicture(int left, int top, double scale, int srcLeft, int srcTop, int srcWidth, int srcHeight) override;
    void EndPicture() override;

private:
    PdfCanvas(PaperSize size, const QString& title, const QPageSize& pageSize);

    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace vx
