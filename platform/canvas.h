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

// The narrow face's digits fill their advance: at small sizes its decimal
// point touches the digit beside it and "8.3" reads as "83". In a text in
// the narrow face, each decimal point is therefore drawn in the sans with
// the digit on either side of it: the sans digits' side bearings keep the
// point clear at any size and any place between pixels, and the text grows
// by about three pixels per number only. Every canvas draws through this
// one split, so that the screen and the files agree.
constexpr bool IsDigitChar(char ch) { return ch >= '0' && ch <= '9'; }

// Calls run(text, face) for each run of `text` drawn in `face`, in order;
// once with the whole text when it needs no split.
template <class Run>
constexpr void ForEachFaceRun(std::string_view text, FontFace face, Run&& run) {
    if (face != FontFace::SansNarrow) {
        run(text, face);
        return;
    }
    std::size_t start = 0; // of the narrow text not yet drawn
    std::size_t i = 0;
    while (i < text.size()) {
        const bool before = i > 0 && IsDigitChar(text[i - 1]);
        const bool after = i + 1 < text.size() && IsDigitChar(text[i + 1]);
        if (text[i] != '.' || !(before || after)) {
            ++i;
            continue;
        }
        // The point with its digits, and any point right after them ("1.2.3").
        std::size_t s = before && i - 1 >= start ? i - 1 : i;
        std::size_t e = i + 1 + (after ? 1 : 0);
        while (e + 1 < text.size() && text[e] == '.' && IsDigitChar(text[e + 1])) e += 2;
        if (s > start) run(text.substr(start, s - start), face);
        run(text.substr(s, e - s), FontFace::Sans);
        start = i = e;
    }
    if (start < text.size() || text.empty()) run(text.substr(start), face);
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
    // The box [left, right) x [top, bottom) filled in `color`, one line per
    // pixel row; leaves the pen in `color`, width 1.
    virtual void FillRect(int left, int top, int right, int bottom, Rgb color) {
        SetPen(color, 1);
        for (int y = top; y < bottom; ++y) {
            MoveTo(left, y);
            LineTo(right, y);
        }
    }

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
