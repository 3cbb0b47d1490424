// The small drawing surface every picture of the program is drawn through.
// Classic raster rules: a line includes its start pixel and excludes its end
// pixel; an ellipse or arc is given by its bounding box with the left and top
// edges inclusive and the right and bottom edges exclusive. Coordinates are
// any 32-bit ints; implementations clip what lies outside their surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vx {

// A colour as red, green, blue.
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
    // From the classic 0x00BBGGRR colour number.
    static constexpr Rgb FromColorRef(std::uint32_t c) {
        return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
                static_cast<std::uint8_t>((c >> 16) & 0xFF)};
    }
};

namespace colors {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kLime{0, 255, 0};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kFuchsia{255, 0, 255};
inline constexpr Rgb kAqua{0, 255, 255};
inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kPurple{128, 0, 128};
inline constexpr Rgb kTeal{0, 128, 128};
inline constexpr Rgb kMaroon{128, 0, 0};
} // namespace colors

// Sans and Serif stand for the classic faces; SansNarrow is the narrow sans
// for texts whose place is too small for the sans.
enum class FontFace { Sans, Serif, SansNarrow };

// The family a face is drawn in.
constexpr std::string_view FontFamily(FontFace face) {
    switch (face) {
    case FontFace::Serif: return "Liberation Serif";
    case FontFace::SansNarrow: return "Liberation Sans Narrow";
    case FontFace::Sans: break;
    }
    return "Liberation Sans";
}

// The face a text is drawn in. The narrow face leaves no clear pixel beside
// a decimal point at the pictures' sizes, so "8.3" would read as "83": a text
// holding a number's point (a digit followed by '.') is drawn in the regular
// sans instead, which is a little wider. Every canvas draws through this.
constexpr FontFace TextFace(FontFace face, std::string_view text) {
    if (face != FontFace::SansNarrow) return face;
    for (std::size_t i = 1; i < text.size(); ++i)
        if (text[i] == '.' && text[i - 1] >= '0' && text[i - 1] <= '9') return FontFace::Sans;
    return face;
}

struct TextStyle {
    FontFace face = FontFace::Sans;
    int pixelSize = 11;
    bool bold = false;
    bool underline = false;
    Rgb color = colors::kBlack;
    bool opaque = false; // fill the text's box with `background`
    Rgb background = colors::kWhite;
};

struct CanvasPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Fills the whole surface and resets pen (black, width 1) and position.
    virtual void Clear(Rgb fill) = 0;

    virtual void SetPen(Rgb color, int width) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // Line from the current position to (x, y), end pixel excluded; the
    // current position becomes (x, y).
    virtual void LineTo(int x, int y) = 0;
    // Ellipse outline inside the box (left, top) .. (right, bottom).
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    // Arc of the ellipse in the box, counter-clockwise on the screen from the
    // radial through (x1, y1) to the radial through (x2, y2).
    virtual void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) = 0;
    virtual void SetPixel(int x, int y, Rgb color) = 0;
    // Text with its top-left corner at (x, y).
    virtual void Text(int x, int y, std::string_view utf8, const TextStyle& style) = 0;

    // Convenience: a polyline through the points (each segment as LineTo).
    void Polyline(const CanvasPoint* pts, int count) {
        if (count <= 0) return;
        MoveTo(pts[0].x, pts[0].y);
        for (int i = 1; i < count; ++i) LineTo(pts[i].x, pts[i].y);
    }
    void Line(int x1, int y1, int x2, int y2) {
        MoveTo(x1, y1);
        LineTo(x2, y2);
    }
};

} // namespace vx
