#include "model/state/geometry_error.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/fixed_format.h"

namespace vx {
namespace {

struct CauseText {
    std::string_view name;
    const char* words; // followed by " at <angle>°"
};

constexpr CauseText kTexts[] = {
    {"none", "The linkage closes"},
    {"main-rod", "The main rod cannot reach the crosshead"},
    {"reverse-arm", "The reverse arm cannot reach its set position"},
    {"link-lifting-link", "The expansion link's lifting link cannot hold the link"},
    {"radius-rod-lifting-link", "The radius rod's lifting link cannot hold the radius rod"},
    {"eccentric-rod", "The eccentric rods cannot reach the expansion link"},
    {"guard", "A rod or arm stands in a dead position (a near-zero divisor was guarded)"},
    {"mid-gear", "The mid-gear search did not settle"},
    {"reverse-arm-level", "The reverse arm lies level with the lift shaft, at a dead angle"},
    {"eccentric-rods-dead", "The eccentric rods meet at a dead angle at the link"},
    {"link-level", "The expansion link's rod ends stand at one height"},
    {"radius-rod-upright", "The radius rod stands straight up"},
    {"rocker-lower-arm", "The rocker's lower arm lies level with its pivot"},
    {"rocker-upper-arm", "The rocker's upper arm lies level with its pivot"},
    {"eccentric-fwd-rod", "The forward eccentric rod has no length"},
    {"eccentric-rev-rod", "The reverse eccentric rod has no length"},
    {"stroke", "The stroke is zero"},
    {"not-finite", "A figure of the solved gear is not a finite number"},
    {"dimension", "A length the gear needs is not above zero"},
    {"solved-exactly", "Solved exactly: the design is larger than the classic searches reach, first"},
};

const CauseText& TextOf(GeometryCause cause) {
    const auto i = static_cast<std::size_t>(cause);
    return i < std::size(kTexts) ? kTexts[i] : kTexts[static_cast<std::size_t>(GeometryCause::Guard)];
}

} // namespace

std::string_view GeometryCauseName(GeometryCause cause) { return TextOf(cause).name; }

std::size_t FormatGeometryCause(GeometryCause cause, float driverAngle, char* buf, std::size_t size) {
    if (buf == nullptr || size == 0) return 0;
    // Any float prints safely: the angle is kept to a sane range first.
    double a = static_cast<double>(driverAngle);
    if (!std::isfinite(a) || std::fabs(a) > 1e9) a = 0;
    // The angle through the program's formatter: the C library's follows
    // the process locale ("212,0" under a comma locale).
    char number[kNumberBuffer];
    const std::string_view angle = FormatFixed(number, a, 0, 1);
    const std::string_view parts[] = {TextOf(cause).words, " at ", angle, "\xC2\xB0"};
    std::size_t n = 0;
    for (const std::string_view part : parts) {
        const std::size_t take = std::min(part.size(), size - 1 - n);
        std::memcpy(buf + n, part.data(), take);
        n += take;
    }
    buf[n] = '\0';
    return n;
}

} // namespace vx
