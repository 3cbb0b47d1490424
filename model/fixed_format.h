// Numbers written as text for fixed layouts, whatever the process locale:
// w:d is the value right-aligned in at least w characters with d decimals
// (a longer number is written in full). Into a caller's buffer, no
// allocation.
#pragma once

#include <cstddef>
#include <string_view>

namespace vx {

// Large enough for any float in any w:d format used by the program.
constexpr std::size_t kNumberBuffer = 64;

// v as w:d into buf; NaN and infinities as "nan", "inf", "-inf".
std::string_view FormatFixed(char (&buf)[kNumberBuffer], double v, int width, int decimals);

// The same, cut to at most `cut` characters.
inline std::string_view FormatFixedCut(char (&buf)[kNumberBuffer], double v, int width, int decimals,
                                       std::size_t cut) {
    return FormatFixed(buf, v, width, decimals).substr(0, cut);
}

// v with 9 significant digits, as printf's "%.9g" writes it in the C locale.
std::string_view FormatGeneral9(char (&buf)[kNumberBuffer], double v);

} // namespace vx
