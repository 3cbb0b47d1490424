#include "model/workspace/jog.h"

#include <cstdlib>

namespace vx {

double JogStep(JogMemory& m, int p, const JogRule& rule) {
    const double up = p / rule.divisor;
    double d = 0;
    // A drag moves by the distance from the middle, signed by the direction
    // the thumb moved since the event before.
    if (p > 0 && p > m.before) d = up;
    if (p < 0 && p > m.before) d = -up;
    if (p < 0 && p < m.before) d = up;
    if (p > 0 && p < m.before) d = -up;
    // Arrow and trough clicks step by their own size.
    const long long change = std::llabs(static_cast<long long>(p) - m.last);
    if (change == 1 || change == rule.troughStep) d = up;
    m.before = m.last;
    m.last = p;
    return d;
}

} // namespace vx
