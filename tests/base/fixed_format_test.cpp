// Numbers written and read back: the texts, the round trip, and the same
// texts under a decimal-comma locale (Qt sets the process locale from the
// user's environment, so these must not follow it).
#include "base/fixed_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "base/typed_value.h"
#include "tests/kit/decimal_comma_locale.h"

namespace vx {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr float kFloatMax = std::numeric_limits<float>::max();

std::string Fixed(double v, int w, int d) {
    char buf[kNumberBuffer];
    return std::string(FormatFixed(buf, v, w, d));
}
std::string General9(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatGeneral9(buf, v));
}
std::string Int(long long v, int w) {
    char buf[kNumberBuffer];
    return std::string(FormatInt(buf, v, w));
}

// Every text the writers produce and the reader's verdicts, checked in
// whatever locale the process has when called.
void CheckWritersAndReader() {
    const struct {
        double v;
        int w, d;
        const char* text;
    } fixed[] = {
        {3.0, 5, 3, "3.000"},      {7.622, 6, 3, " 7.622"},   {-2.0, 5, 3, "-2.000"},  {0.5, 7, 3, "  0.500"},
        {302.0, 5, 3, "302.000"},  {2.0005, 0, 3, "2.001"},   {0.125, 0, 2, "0.12"},   {-0.0001, 5, 3, "-0.000"},
        {1.5, 4, 1, " 1.5"},       {34.95, 0, 2, "34.95"},    {1e6, 5, 3, "1000000.000"},
        {kFloatMax, 0, 0, "340282346638528859811704183484516925440"},
        {std::nan(""), 6, 3, "   nan"}, {-std::nan(""), 0, 3, "nan"}, {kInf, 0, 1, "inf"}, {-kInf, 5, 3, " -inf"},
    };
    for (const auto& c : fixed) {
        EXPECT_EQ(Fixed(c.v, c.w, c.d), c.text) << c.v << " " << c.w << ":" << c.d;
        EXPECT_EQ(FormatWD(c.v, c.w, c.d), std::string(c.text).substr(0, 10)) << c.v;
    }
    char buf[kNumberBuffer];
    EXPECT_EQ(FormatFixedCut(buf, 1e6, 5, 3, 10), "1000000.00");
    EXPECT_EQ(FormatFixed(buf, 1e300, 0, 3), "1.000e+300"); // beyond the buffer's fixed form
    EXPECT_EQ(FormatExponent(buf, 1234567890123.0, 3), "1.235e+12");

    const struct {
        double v;
        const char* text;
    } general[] = {{0.0, "0"},        {1.0, "1"},         {-1.5, "-1.5"},       {7.633f, "7.6329999"},
                   {1e-5, "1e-05"},   {0.0001, "0.0001"}, {123456789.0, "123456789"},
                   {1234567890.0, "1.23456789e+09"},      {3.4028234663852886e38, "3.40282347e+38"},
                   {kInf, "inf"},     {std::nan(""), "nan"}};
    for (const auto& c : general) EXPECT_EQ(General9(c.v), c.text) << c.v;
    EXPECT_EQ(Int(7, 2), " 7");
    EXPECT_EQ(Int(-12345, 0), "-12345");

    const struct {
        const char* text;
        double value;
    } good[] = {{"1.5", 1.5},   {"-2", -2},      {"+3", 3},          {".5", 0.5},        {"5.", 5},
                {"1e3", 1000},  {"-1E-2", -0.01}, {"1.5e+3", 1500},  {"0x10", 16},       {"0x1.8p1", 3},
                {"inf", kInf},  {"-Infinity", -kInf}, {"1e400", kInf}, {"-1e400", -kInf}, {"0.0001e999999", kInf},
                {"1e-400", 0},  {"-1e-999", 0},  {"1000e-330", 1e-327}, {"0e99999", 0},  {"0x1p99999", kInf}};
    for (const auto& c : good) {
        const auto v = ReadNumber(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(*v, c.value) << c.text;
    }
    EXPECT_TRUE(std::isnan(ReadNumber("nan").value_or(0)));
    const char* bad[] = {"", " 1", "1 ", "1,5", "3,000", "abc", "1.5x", "--1", "+-1", "-+1", "1..2", "e5",
                         "+", "-", ".", "1e", "0x", "0x-1", "0xinf", "nanx", "1-2"};
    for (const char* text : bad) EXPECT_FALSE(ReadNumber(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(ReadNumber(std::string_view("1\0" "2", 3)).has_value());

    // What is written reads back: nine digits give back every float, and a
    // w:d text gives back the value rounded to d decimals.
    const float floats[] = {0.0f, 3.0f, 7.622f, -2.0f, 0.001f, 1e-7f, 123456.78f, -kFloatMax, 1.0e-45f, 302.0f};
    for (float f : floats) {
        EXPECT_EQ(static_cast<float>(ReadNumber(General9(f)).value_or(-1)), f) << General9(f);
        EXPECT_EQ(TypedNumber(Fixed(f, 5, 3)), static_cast<float>(std::round(double{f} * 1000) / 1000))
            << Fixed(f, 5, 3);
    }
}

TEST(NumberText, WrittenAndReadOneWay) { CheckWritersAndReader(); }

// The shortest form reads back as the same 32-bit value, over a spread of
// bit patterns of every magnitude and sign, subnormals included.
TEST(NumberText, ShortestFormReadsBackBitForBit) {
    char buf[kNumberBuffer];
    long long checked = 0;
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFull; bits += 99991) {
        const float v = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        const std::string_view text = FormatShortest(buf, v);
        const auto back = ReadNumber(text);
        ASSERT_TRUE(back.has_value()) << text;
        if (std::isnan(v)) {
            EXPECT_TRUE(std::isnan(*back));
            continue;
        }
        ASSERT_EQ(std::bit_cast<std::uint32_t>(static_cast<float>(*back)), static_cast<std::uint32_t>(bits)) << text;
        // Never longer than the nine digits that always round-trip.
        EXPECT_LE(text.size(), std::string_view(FormatGeneral9(buf, v)).size() + 1) << text;
        ++checked;
    }
    EXPECT_GT(checked, 40000);
    EXPECT_EQ(FormatShortest(buf, 3.3f), "3.3");
    EXPECT_EQ(FormatShortest(buf, 0.1f), "0.1");
}

// Every digit of a double: the shortest text that reads back as the same
// double, and the figures the analyses write with it (fixed decimals by
// default, every digit with Digits::Full, a blank always before a column).
void CheckRoundTripAndFigures() {
    char buf[kNumberBuffer];
    const struct {
        double v;
        const char* text;
    } shortest[] = {{69.08, "69.08"}, {0.1, "0.1"}, {0.1 + 0.2, "0.30000000000000004"}, {1e-5, "1e-05"},
                    {-3.0, "-3"},     {1e22, "1e+22"}, {static_cast<double>(7.622f), "7.622000217437744"},
                    {-0.0, "-0"},     {5e-324, "5e-324"}, {1.7976931348623157e308, "1.7976931348623157e+308"},
                    {kInf, "inf"},    {-kInf, "-inf"}, {std::nan(""), "nan"}};
    for (const auto& c : shortest) EXPECT_EQ(FormatRoundTrip(buf, c.v), c.text) << c.text;

    const struct {
        double v;
        int width, decimals;
        Digits digits;
        const char* figure; // FormatFigure
        const char* column; // FormatColumnFigure
    } figures[] = {
        {69.0786, 12, 4, Digits::Fixed, "     69.0786", "     69.0786"},
        {69.07860565185547, 12, 4, Digits::Full, " 69.07860565185547", " 69.07860565185547"},
        {0.25, 12, 5, Digits::Full, "        0.25", "        0.25"},
        {1.2345678901, 0, 4, Digits::Full, "1.2345678901", "1.2345678901"},
        {1.2345678901, 0, 4, Digits::Fixed, "1.2346", "1.2346"},
        {123456789.0, 8, 2, Digits::Fixed, "123456789.00", " 1.2e+08"},
        {123456789.0, 8, 2, Digits::Full, " 123456789", " 123456789"},
        {std::nan(""), 6, 4, Digits::Full, "   nan", "   nan"},
    };
    for (const auto& c : figures) {
        EXPECT_EQ(FormatFigure(buf, c.v, c.width, c.decimals, c.digits), c.figure) << c.figure;
        EXPECT_EQ(FormatColumnFigure(buf, c.v, c.width, c.decimals, c.digits), c.column) << c.column;
        std::string appended = "x";
        AppendFigure(appended, c.v, c.decimals, c.digits, c.width);
        EXPECT_EQ(appended, std::string("x") + c.figure);
    }
}

TEST(NumberText, EveryDigitOfADoubleAndTheFigures) { CheckRoundTripAndFigures(); }

// The shortest double text reads back as the same bits, over a spread of
// bit patterns of every magnitude and sign, and no shorter text of the
// same value does: one digit fewer gives another double.
TEST(NumberText, RoundTripFormReadsBackBitForBit) {
    char buf[kNumberBuffer];
    long long checked = 0;
    for (std::uint64_t bits = 1; bits != 0 && checked < 60000; bits += 0x0000C3A1F9D27B15ull) {
        const double v = std::bit_cast<double>(bits);
        if (!std::isfinite(v)) continue;
        const std::string text(FormatRoundTrip(buf, v));
        const auto back = ReadNumber(text);
        ASSERT_TRUE(back.has_value()) << text;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(*back), bits) << text;
        EXPECT_LE(text.size(), 24u) << text;
        ++checked;
    }
    EXPECT_GT(checked, 50000);
    // 17 significant digits always round-trip; the shortest is never longer.
    EXPECT_EQ(FormatRoundTrip(buf, 2.0 / 3.0), "0.6666666666666666");
}

TEST(NumberText, TheSameUnderADecimalCommaLocale) {
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Active()) << test::DecimalCommaLocale::kWhy;
    CheckWritersAndReader();
    CheckRoundTripAndFigures();
}

} // namespace
} // namespace vx
