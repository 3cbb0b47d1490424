#include "model/fixed_format.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace vx {

std::string_view FormatFixed(char (&buf)[kNumberBuffer], double v, int width, int decimals) {
    char digits[kNumberBuffer];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, decimals);
    if (ec != std::errc()) {
        // Only a value beyond any float could need more room.
        end = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::scientific, decimals).ptr;
    }
    const auto len = static_cast<std::size_t>(end - digits);
    const std::size_t pad = width > 0 ? std::min(static_cast<std::size_t>(width), kNumberBuffer) : 0;
    const std::size_t lead = pad > len ? std::min(pad - len, kNumberBuffer - len) : 0;
    std::memset(buf, ' ', lead);
    std::memcpy(buf + lead, digits, len);
    return {buf, lead + len};
}

std::string_view FormatGeneral9(char (&buf)[kNumberBuffer], double v) {
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 9);
    return {buf, static_cast<std::size_t>(r.ptr - buf)};
}

} // namespace vx
