// Every number the program shows or writes, and every number it reads back,
// goes through here: one decimal point ("."), no grouping, whatever the
// process locale (Qt sets the C library's locale from the environment, so
// printf and strtod would write and read "3,000" under a decimal-comma
// locale). Writers fill a caller's buffer and never allocate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

// Large enough for any float in any w:d format used by the program.
constexpr std::size_t kNumberBuffer = 64;

// The w:d format: v right-aligned in at least `width` characters with
// `decimals` decimals; a longer number is written in full (as far as the
// buffer holds). NaN is written "nan", the infinities "inf" and "-inf".
std::string_view FormatFixed(char (&buf)[kNumberBuffer], double v, int width, int decimals);

// The same, cut to at most `cut` characters.
inline std::string_view FormatFixedCut(char (&buf)[kNumberBuffer], double v, int width, int decimals,
                                       std::size_t cut) {
    return FormatFixed(buf, v, width, decimals).substr(0, cut);
}

// v with 9 significant digits, trailing zeros dropped, in the fixed form or,
// for very large and small values, the exponent form ("1e-05",
// "3.40282347e+38"), as "%.9g" writes them in the C locale.
std::string_view FormatGeneral9(char (&buf)[kNumberBuffer], double v);

// v for a table column `width` characters wide: the w:d format when it
// leaves at least one blank before the value, else the exponent form
// ("-1.174e+05") so that it does, so a value never runs into the column
// before it. Right-aligned in `width`.
std::string_view FormatColumn(char (&buf)[kNumberBuffer], double v, int width, int decimals);

// A 32-bit value in the shortest text that reads back as the same bits:
// "3.3" (not "3.29999995"), "0.1", "1e-05", "9.184851e-17"; "nan", "inf"
// and "-inf". The form (fixed or exponent) is whichever is shorter.
std::string_view FormatShortest(char (&buf)[kNumberBuffer], float v);

// A double in the shortest text that reads back as the same double:
// "69.08", "0.1", "1e-05", "-3.0000000000000004"; "nan", "inf" and "-inf".
// The form (fixed or exponent) is whichever is shorter.
std::string_view FormatRoundTrip(char (&buf)[kNumberBuffer], double v);

// How the analyses write a figure: with the decimals of its column
// (Fixed, the default), or every digit (Full: FormatRoundTrip).
enum class Digits : std::uint8_t { Fixed, Full };

// A figure with `decimals` decimals as FormatFixed writes it (Fixed), or in
// the shortest round-trip form (Full); right-aligned in at least `width`
// characters. A full figure given a width of 2 or more has at least one
// blank before it, so that it never runs into the column before.
std::string_view FormatFigure(char (&buf)[kNumberBuffer], double v, int width, int decimals, Digits digits);

// A figure for a table column `width` characters wide: FormatColumn
// (Fixed), or FormatFigure (Full).
std::string_view FormatColumnFigure(char (&buf)[kNumberBuffer], double v, int width, int decimals, Digits digits);

// Appends FormatFigure.
void AppendFigure(std::string& out, double v, int decimals, Digits digits, int width = 0);

// Appends v in fixed notation with `decimals` decimals, right-aligned in
// at least `width` characters (FormatFixed).
void AppendFixed(std::string& out, double v, int decimals, int width = 0);

// FormatFixed (no width) and FormatShortest as strings, for texts built up
// from several numbers.
inline std::string FixedString(double v, int decimals) {
    char buf[kNumberBuffer];
    return std::string(FormatFixed(buf, v, 0, decimals));
}
inline std::string ShortestString(float v) {
    char buf[kNumberBuffer];
    return std::string(FormatShortest(buf, v));
}

// v in the exponent form with `decimals` decimals ("1.235e+12").
std::string_view FormatExponent(char (&buf)[kNumberBuffer], double v, int decimals);

// An integer right-aligned in at least `width` characters.
std::string_view FormatInt(char (&buf)[kNumberBuffer], long long v, int width);

// A whole text as a number: an optional sign, then a decimal number (digits
// with an optional point and fraction, an optional exponent "e"/"E"), a
// hexadecimal one ("0x" digits, optional "p" exponent), "inf", "infinity"
// or "nan" in any case. Nothing else may stand before or after it (no
// blanks: callers that allow them trim first). A value beyond the double
// range is an infinity of its sign, one too small for it a zero.
std::optional<double> ReadNumber(std::string_view text);

// A double as a model float: values beyond the float range become
// +-infinity, NaN stays NaN.
float ToModelFloat(double v);

} // namespace vx
