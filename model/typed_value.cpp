#include "model/typed_value.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include <locale.h>

namespace vx {
namespace {

// strtod in the C locale: the program's own locale may use a decimal comma.
locale_t CLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

float TypedNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.empty() || text.size() > 400) return 0.0f;
    char buf[401];
    text.copy(buf, text.size());
    buf[text.size()] = '\0';
    for (std::size_t i = 0; i < text.size(); ++i)
        if (buf[i] == '\0') return 0.0f;
    char* end = nullptr;
    const double v = strtod_l(buf, &end, CLocale());
    if (end != buf + text.size() || std::isnan(v)) return 0.0f;
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::max();
    if (v < -kMax) return -std::numeric_limits<float>::max();
    return static_cast<float>(v);
}

std::string FormatWD(double v, int width, int decimals, std::size_t cut) {
    char buf[512];
    const int n = std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
    std::string s(buf, n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buf - 1));
    if (s.size() > cut) s.resize(cut);
    return s;
}

} // namespace vx
