// Brent's method on a bracketed crossing, for the exact solve and what
// stands on it.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace vx {

constexpr int kBrentIterations = 100;

// Brent's method on a crossing of zero between a and b (f > 0 on one side,
// f <= 0 on the other) until the bracket is within `tol`. Returns the root
// (NaN when a value is not a number); `slope` receives the slope of the
// last bracket.
template <class Fn>
inline double Brent(Fn& f, double a, double fa, double b, double fb, double tol, double& slope) {
    double c = a, fc = fa, d = b - a, e = d;
    for (int it = 0; it < kBrentIterations; ++it) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol1 = 2 * std::numeric_limits<double>::epsilon() * std::fabs(b) + 0.5 * tol;
        const double xm = 0.5 * (c - b);
        if (c != b && fc != fb) slope = (fc - fb) / (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0) return b;
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2 * xm * s;
                q = 1 - s;
            } else {
                const double qq = fa / fc, r = fb / fc;
                p = s * (2 * xm * qq * (qq - r) - (b - a) * (r - 1));
                q = (qq - 1) * (r - 1) * (s - 1);
            }
            if (p > 0) q = -q;
            p = std::fabs(p);
            if (2 * p < std::min(3 * xm * q - std::fabs(tol1 * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol1 ? d : (xm > 0 ? tol1 : -tol1);
        fb = f(b);
        if (!std::isfinite(fb)) return std::numeric_limits<double>::quiet_NaN();
    }
    return b;
}

} // namespace vx
