#include "base/typed_value.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/fixed_format.h"

namespace vx {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::optional<double> ReadTypedNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.empty() || text.size() > 400) return std::nullopt;
    // Decimal digits only: no hexadecimal, no infinity or nan spelt out.
    const bool decimal = std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '+' || c == '-' || c == 'e' || c == 'E';
    });
    if (!decimal) return std::nullopt;
    // A decimal comma (typed on a keypad that has one, or by habit) is the
    // decimal point, under the same rule: one point or one comma, not both.
    char buf[401];
    if (text.find(',') != std::string_view::npos) {
        const auto commas = std::count(text.begin(), text.end(), ',');
        if (commas > 1 || text.find('.') != std::string_view::npos) return std::nullopt;
        std::copy(text.begin(), text.end(), buf);
        std::replace(buf, buf + text.size(), ',', '.');
        text = std::string_view(buf, text.size());
    }
    const std::optional<double> read = ReadNumber(text);
    if (!read || std::isnan(*read)) return std::nullopt;
    return read;
}

float TypedNumber(std::string_view text) {
    const std::optional<double> read = ReadTypedNumber(text);
    if (!read) return 0.0f;
    const double v = *read;
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::max();
    if (v < -kMax) return -std::numeric_limits<float>::max();
    return static_cast<float>(v);
}

std::string FormatWD(double v, int width, int decimals, std::size_t cut) {
    char buf[kNumberBuffer];
    return std::string(FormatFixedCut(buf, v, width, decimals, cut));
}

} // namespace vx
