// Numbers typed into the dialogs' boxes and numbers shown in them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx {

// The one rule for a number typed into any box of the program: blanks
// around it allowed, an optional sign, digits with one decimal point or
// one decimal comma (the comma stands for the point, whatever the locale),
// an optional exponent. Anything else (empty, "-", ".", "1,2,3", "1.2,3",
// hexadecimal, "inf", "nan") is not a number. A value beyond the double
// range reads as an infinity of its sign: callers check their range.
std::optional<double> ReadTypedNumber(std::string_view text);

// The value of a typed text as the dimension boxes take it: ReadTypedNumber,
// and a text that is not a number gives 0; a number beyond the float range
// gives the largest float of its sign, so a typed value is always a finite
// float.
float TypedNumber(std::string_view text);

// The w:d format: v right-aligned in at least `width` characters with
// `decimals` decimals, then cut to its first `cut` characters.
std::string FormatWD(double v, int width, int decimals, std::size_t cut = 10);

} // namespace vx
