// Numbers typed into the dialogs' boxes and numbers shown in them.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// The value of a typed text: a decimal number (optional sign, digits,
// optional fraction, optional exponent), blanks around it allowed; a comma
// stands for the decimal point (one point or one comma at most). A text
// that is not a number (empty, "-", ".", "1-2", "nan") gives 0; a number
// beyond the float range gives the largest float of its sign, so a typed
// value is always a finite float.
float TypedNumber(std::string_view text);

// The w:d format: v right-aligned in at least `width` characters with
// `decimals` decimals, then cut to its first `cut` characters.
std::string FormatWD(double v, int width, int decimals, std::size_t cut = 10);

} // namespace vx
