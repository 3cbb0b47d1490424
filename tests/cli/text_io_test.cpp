// Number reading and writing of the command line.
#include "cli/text_io.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace vx::cli {
namespace {

TEST(CliText, NumbersAreReadWhole) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        double value;
    } good[] = {
        {"1.5", 1.5},    {"-2", -2},         {"+3", 3},       {"0", 0},         {"7.633", 7.633},
        {".5", 0.5},     {"1e3", 1000},      {"-1E-2", -0.01}, {"inf", kInf},    {"-inf", -kInf},
        {"Infinity", kInf}, {"1e400", kInf}, {"-1e400", -kInf},
    };
    for (const auto& c : good) {
        const auto v = ParseNumber(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(*v, c.value) << c.text;
    }
    for (const char* nan : {"nan", "NaN", "-nan"}) {
        const auto v = ParseNumber(nan);
        ASSERT_TRUE(v.has_value()) << nan;
        EXPECT_TRUE(std::isnan(*v)) << nan;
    }
    const char* bad[] = {"", " 1", "1 ", "1,5", "abc", "1.5x", "--1", "1..2", "e5", "+", "-", "nanx", "0x", "0x10"}; // hexadecimal is refused
    for (const char* text : bad) EXPECT_FALSE(ParseNumber(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(ParseNumber(std::string("1\0" "2", 3)).has_value());
}

TEST(CliText, NumbersIgnoreTheProcessLocale) {
    // Qt sets the process locale from the environment; a decimal comma
    // there must not change what the command line reads or writes.
    const char* saved = std::setlocale(LC_NUMERIC, nullptr);
    const std::string restore = saved ? saved : "C";
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            switched = true;
            break;
        }
    EXPECT_EQ(ParseNumber("2.5").value_or(0), 2.5);
    EXPECT_FALSE(ParseNumber("2,5").has_value());
    std::string s;
    AppendNumber(s, 2.5);
    EXPECT_EQ(s, "2.5");
    std::setlocale(LC_NUMERIC, restore.c_str());
    if (!switched) std::printf("note: no decimal-comma locale installed; checked in the current locale\n");
}

TEST(CliText, NumbersAreWrittenInTheirShortestForm) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const struct {
        float v;
        const char* text;
    } cases[] = {
        {0.0f, "0"},       {-0.0f, "-0"},      {1.0f, "1"},          {-1.5f, "-1.5"},
        {0.1f, "0.1"},     {3.3f, "3.3"},      {7.633f, "7.633"},    {0.01f, "0.01"},
        {1e-5f, "1e-05"},  {360.0f, "360"},    {0.3125f, "0.3125"},  {1e-45f, "1e-45"},
        {3.4028235e38f, "3.4028235e+38"},      {kInf, "inf"},        {-kInf, "-inf"},
        {std::numeric_limits<float>::quiet_NaN(), "nan"},
    };
    for (const auto& c : cases) {
        std::string s = "x";
        AppendNumber(s, c.v);
        EXPECT_EQ(s, std::string("x") + c.text) << c.text;
    }
}

TEST(CliText, DoublesBecomeModelFloats) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(ToModelFloat(1e300), kInf);
    EXPECT_EQ(ToModelFloat(-1e300), -kInf);
    EXPECT_EQ(ToModelFloat(1.5), 1.5f);
    EXPECT_EQ(ToModelFloat(0.01), 0.01f);
    EXPECT_EQ(ToModelFloat(std::numeric_limits<double>::infinity()), kInf);
    EXPECT_TRUE(std::isnan(ToModelFloat(std::nan(""))));
    EXPECT_EQ(ToModelFloat(1e-300), 0.0f);
}

TEST(CliText, CsvFieldsAreQuotedOnlyWhenNeeded) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"Driver Dia", "Driver Dia"},
        {"Exhaust Port  Width", "Exhaust Port  Width"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string s;
        AppendCsvField(s, c.text);
        EXPECT_EQ(s, c.field);
    }
}

} // namespace
} // namespace vx::cli
