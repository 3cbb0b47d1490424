// Canvas on a QImage (RGB32), without antialiasing, honouring the classic
// raster rules of canvas.h. The image is allocated once and reused.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/canvas.h"

namespace vx {

class QImageCanvas final : public Canvas {
public:
    QImageCanvas(int width = 1280, int height = 1024);

    // Writing through the non-const image makes the next Clear fill it all.
    QImage& Image() {
        allDirty_ = true;
        return image_;
    }
    const QImage& Image() const { return image_; }

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

private:
    const QFontMetrics& FontFor(const TextStyle& style); // sets font_

    // The printable ASCII glyphs of one font, drawn once and then copied
    // pixel by pixel: texts of that font need no painter and no allocation.
    struct Glyph {
        double advance = 0; // fractional, as the painter sets glyphs
        std::vector<std::pair<std::int16_t, std::int16_t>> ink; // from the text's top-left corner
    };
    struct GlyphFont {
        FontFace face = FontFace::Sans;
        int size = 0;
        bool bold = false, underline = false;
        int height = 0;
        int ascent = 0;
        int maxWidth = 0;
        std::array<Glyph, 95> glyphs; // ' ' .. '~'
    };
    const GlyphFont* GlyphsFor(const TextStyle& style); // null: not kept
    // The glyphs of the style's font if they are kept already; needs no
    // font, so that texts of alternating faces make no QFont per text.
    const GlyphFont* KeptGlyphs(const TextStyle& style) const;

    // Drawn area since the last Clear (clipped to the image), so that the
    // next Clear with the same colour fills only that.
    void Touch(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);

    QImage image_;
    Rgb pen_ = colors::kBlack;
    int penWidth_ = 1;
    int curX_ = 0, curY_ = 0;
    // The font of the last text, kept while the style's font stays the same.
    QFont font_;
    std::optional<QFontMetrics> metrics_;
    FontFace fontFace_ = FontFace::Sans;
    int fontSize_ = 0;
    bool fontBold_ = false, fontUnderline_ = false;
    std::vector<GlyphFont> glyphFonts_;

    bool allDirty_ = true;
    Rgb clearedWith_;
    int dirtyX0_ = 0, dirtyY0_ = 0, dirtyX1_ = -1, dirtyY1_ = -1; // inclusive; empty when x1 < x0
};

} // namespace vx
