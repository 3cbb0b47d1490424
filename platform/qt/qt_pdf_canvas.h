// A paged canvas that writes a vector PDF through QPdfWriter: A4 or Letter
// pages of 1/96-inch units, fonts embedded, the same raster rules as the
// other canvases expressed as vector shapes (coordinates are pixel
// centres, x + 0.5).
#pragma once

#include <QString>
#include <memory>

#include "platform/paged_canvas.h"
#include "platform/paper_size.h"

namespace vx {

class PdfCanvas final : public PagedCanvas {
public:
    PdfCanvas(const QString& path, Paper paper, const QString& title);
    ~PdfCanvas() override;

    // Whether the file could be opened for writing.
    bool IsOpen() const;
    // Finishes the document. On failure returns false and sets *error to a
    // message naming the file and the reason.
    bool Finish(QString* error);
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
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace vx
