#include "model/gear/reverse_arm.h"

#include <charconv>
#include <cmath>

namespace vx {
namespace {

// v to `digits` significant decimal digits.
double Significant(double v, int digits) {
    char buf[40];
    const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, digits - 1);
    double r = v;
    std::from_chars(buf, written.ptr, r);
    return r;
}

} // namespace

float OffsetFromMidGear(float centre, float position) {
    const double exact = static_cast<double>(position) - static_cast<double>(centre);
    if (!std::isfinite(exact)) return ToModelFloat(exact);
    for (int digits = 1; digits <= 9; ++digits) {
        const double d = Significant(exact, digits);
        if (ToModelFloat(static_cast<double>(centre) + d) == position) return ToModelFloat(d);
    }
    return ToModelFloat(exact);
}

} // namespace vx
