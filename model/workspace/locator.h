// The dimension locator's cases: for each dimension id, its name, the view
// that shows it and the shape of its thick line, each point given by how its
// x and its y are found (a screen point of a pivot or of the cylinder and
// valve outlines, a midpoint, or a world position through the locator's
// view). Data only; the frame's advance applies the view and the main
// picture draws the line.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vx {

// The locator's view and name for a dimension id.
struct LocatorView {
    std::string_view name;
    float n;          // zoom with the default graphic zoom factor 7.5
    bool setsPan;     // false: the user's pan is kept
    float panHorz, panVert;
};

enum class LocatorSet : std::uint8_t { P, C, V }; // pivots, cylinder outline, valve outline

// One screen coordinate (an x or a y; which one is known from where it stands).
struct LocatorCoord {
    enum class Kind : std::uint8_t { Screen, Mid, HalfSum, World } kind = Kind::Screen;
    LocatorSet set = LocatorSet::P;
    std::int8_t a = 0, b = 0; // point numbers (Screen: a; Mid, HalfSum: a and b)
    std::int8_t offset = 0;   // pixels added (Screen)
    // World: ka * W(pivot a) + kb * W(pivot b) + kd * dimension, along this axis.
    float ka = 0, kb = 0, kd = 0;
    std::int16_t dim = 0;
};

struct LocatorPoint {
    LocatorCoord x, y;
};

enum class LocatorShape : std::uint8_t { Line, Polyline3, Travel };

struct LocatorCase {
    int id;
    LocatorView view;
    LocatorShape shape;
    std::array<LocatorPoint, 3> pts;
};

// Null for an id the locator does not know.
const LocatorCase* FindLocatorCase(int id);
const LocatorView* FindLocatorView(int id);
// Every id the locator knows, in table order.
std::span<const int> LocatorIds();

} // namespace vx
