// The two roundings every formula of the gear spells out: a double held as
// a 32-bit float (F), and a float taken into double arithmetic (D). The
// classic figures round to float at the places the formulas say, so the
// formulas write each one.
#pragma once

namespace vx {

inline float F(double v) { return static_cast<float>(v); }
inline double D(float v) { return static_cast<double>(v); }

} // namespace vx
