#include "base/fixed_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace vx {
namespace {

// Right-aligns the len characters at the start of buf in at least width
// characters; returns the text.
std::string_view PadLeft(char (&buf)[kNumberBuffer], std::size_t len, int width) {
    const std::size_t w = width > 0 ? std::min(static_cast<std::size_t>(width), kNumberBuffer) : 0;
    if (len >= w) return {buf, len};
    const std::size_t pad = w - len;
    std::memmove(buf + pad, buf, len);
    std::memset(buf, ' ', pad);
    return {buf, w};
}

std::size_t Special(char (&buf)[kNumberBuffer], double v) {
    const char* text = std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf";
    const std::size_t len = std::strlen(text);
    std::memcpy(buf, text, len);
    return len;
}

bool IsDigit(char c, bool hex) {
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

// Whether a well-formed number that does not fit a double is too large
// (rather than too small): its leading digit's place plus its exponent.
bool BeyondTheTop(std::string_view digits, bool hex) {
    const char expChar = hex ? 'p' : 'e';
    const int placeBits = hex ? 4 : 1;
    long long order = 0;
    bool seenPoint = false, seenNonZero = false;
    std::size_t i = 0;
    for (; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c == '.') {
            seenPoint = true;
        } else if (IsDigit(c, hex)) {
            if (c != '0') seenNonZero = true;
            if (!seenPoint && seenNonZero) order += placeBits;
            if (seenPoint && !seenNonZero) order -= placeBits;
        } else {
            break;
        }
    }
    if (!seenNonZero) return false;
    if (i < digits.size() && (digits[i] | 0x20) == expChar) {
        ++i;
        bool negative = false;
        if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) negative = digits[i++] == '-';
        long long e = 0;
        for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i)
            e = std::min(e * 10 + (digits[i] - '0'), 1'000'000'000LL);
        order += negative ? -e : e;
    }
    return order > 0;
}

} // namespace

std::string_view FormatFixed(char (&buf)[kNumberBuffer], double v, int width, int decimals) {
    if (!std::isfinite(v)) return PadLeft(buf, Special(buf, v), width);
    decimals = std::clamp(decimals, 0, 20);
    auto [end, ec] = std::to_chars(buf, buf + kNumberBuffer, v, std::chars_format::fixed, decimals);
    if (ec != std::errc()) {
        // Only a value beyond any float could need more room.
        end = std::to_chars(buf, buf + kNumberBuffer, v, std::chars_format::scientific, decimals).ptr;
    }
    return PadLeft(buf, static_cast<std::size_t>(end - buf), width);
}

std::string_view FormatGeneral9(char (&buf)[kNumberBuffer], double v) {
    if (std::isnan(v)) return {buf, Special(buf, v)};
    const auto r = std::to_chars(buf, buf + kNumberBuffer, v, std::chars_format::general, 9);
    return {buf, static_cast<std::size_t>(r.ptr - buf)};
}

std::string_view FormatColumn(char (&buf)[kNumberBuffer], double v, int width, int decimals) {
    const std::string_view fixed = FormatFixed(buf, v, width, decimals);
    if (width <= 1 || fixed.size() < static_cast<std::size_t>(width) || fixed.front() == ' ') return fixed;
    // Too wide: the exponent form with as many decimals as fit, at least 0.
    for (int d = std::min(decimals, 6); d >= 0; --d) {
        char e[kNumberBuffer];
        const std::string_view text = FormatExponent(e, v, d);
        if (text.size() < static_cast<std::size_t>(width) || d == 0) {
            const std::size_t pad = text.size() < static_cast<std::size_t>(width) ? width - text.size() : 1;
            std::memset(buf, ' ', pad);
            std::memcpy(buf + pad, text.data(), std::min(text.size(), kNumberBuffer - pad));
            return {buf, std::min(pad + text.size(), kNumberBuffer)};
        }
    }
    return fixed;
}

std::string_view FormatShortest(char (&buf)[kNumberBuffer], float v) {
    if (!std::isfinite(v)) return {buf, Special(buf, v)};
    const auto r = std::to_chars(buf, buf + kNumberBuffer, v);
    return {buf, static_cast<std::size_t>(r.ptr - buf)};
}

std::string_view FormatRoundTrip(char (&buf)[kNumberBuffer], double v) {
    if (!std::isfinite(v)) return {buf, Special(buf, v)};
    const auto r = std::to_chars(buf, buf + kNumberBuffer, v);
    return {buf, static_cast<std::size_t>(r.ptr - buf)};
}

std::string_view FormatFigure(char (&buf)[kNumberBuffer], double v, int width, int decimals, Digits digits) {
    if (digits == Digits::Fixed) return FormatFixed(buf, v, width, decimals);
    const std::size_t len = FormatRoundTrip(buf, v).size();
    if (width <= 1 || len < static_cast<std::size_t>(width)) return PadLeft(buf, len, width);
    // The shortest double is at most 24 characters: room for the blank.
    std::memmove(buf + 1, buf, len);
    buf[0] = ' ';
    return {buf, len + 1};
}

std::string_view FormatColumnFigure(char (&buf)[kNumberBuffer], double v, int width, int decimals, Digits digits) {
    if (digits == Digits::Fixed) return FormatColumn(buf, v, width, decimals);
    return FormatFigure(buf, v, width, decimals, digits);
}

void AppendFigure(std::string& out, double v, int decimals, Digits digits, int width) {
    char buf[kNumberBuffer];
    out += FormatFigure(buf, v, width, decimals, digits);
}

std::string_view FormatExponent(char (&buf)[kNumberBuffer], double v, int decimals) {
    if (!std::isfinite(v)) return {buf, Special(buf, v)};
    const auto r = std::to_chars(buf, buf + kNumberBuffer, v, std::chars_format::scientific, std::clamp(decimals, 0, 20));
    return {buf, static_cast<std::size_t>(r.ptr - buf)};
}

std::string_view FormatInt(char (&buf)[kNumberBuffer], long long v, int width) {
    const auto r = std::to_chars(buf, buf + kNumberBuffer, v);
    return PadLeft(buf, static_cast<std::size_t>(r.ptr - buf), width);
}

std::optional<double> ReadNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    const bool hex = text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex) {
        text.remove_prefix(2);
        if (text.empty() || !(IsDigit(text.front(), true) || text.front() == '.')) return std::nullopt;
    }
    double v = 0;
    const char* last = text.data() + text.size();
    const auto r = std::from_chars(text.data(), last, v, hex ? std::chars_format::hex : std::chars_format::general);
    if (r.ptr != last || r.ptr == text.data()) return std::nullopt;
    if (r.ec == std::errc::result_out_of_range)
        v = BeyondTheTop(text, hex) ? std::numeric_limits<double>::infinity() : 0.0;
    else if (r.ec != std::errc())
        return std::nullopt;
    return negative ? -v : v;
}

float ToModelFloat(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isfinite(v) && std::fabs(v) > kMax) return std::signbit(v) ? -std::numeric_limits<float>::infinity()
                                                                         : std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

void AppendFixed(std::string& out, double v, int decimals, int width) {
    char buf[kNumberBuffer];
    out += FormatFixed(buf, v, width, decimals);
}

} // namespace vx
