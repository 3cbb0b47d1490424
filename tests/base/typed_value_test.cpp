// Typed numbers and the w:d format of the dialogs' boxes.
#include <gtest/gtest.h>

#include <limits>

#include "base/typed_value.h"

namespace vx {
namespace {

TEST(TypedNumber, DecimalTextsAndEverythingElse) {
    const struct {
        const char* text;
        float value;
    } cases[] = {
        {"3.25", 3.25f}, {" 7.500", 7.5f}, {"-90", -90.0f}, {"1e3", 1000.0f}, {"+2", 2.0f}, {".5", 0.5f},
        {"", 0}, {"-", 0}, {".", 0}, {"1-2", 0}, {"nan", 0}, {"12abc", 0}, {"-.", 0},
        {"1e999", std::numeric_limits<float>::max()}, {"-1e39", -std::numeric_limits<float>::max()},
        {"1e-999", 0},
        // A decimal comma is the decimal point, one point or comma at most.
        {"7,5", 7.5f}, {"-0,25", -0.25f}, {",5", 0.5f}, {"1,2,3", 0}, {"1.2,3", 0}, {"1,", 1.0f},
        {"0x10", 0}, {"inf", 0}, // not decimal: not a number
    };
    for (const auto& c : cases) EXPECT_EQ(TypedNumber(c.text), c.value) << c.text;
    EXPECT_EQ(TypedNumber(std::string(500, '9')), 0.0f); // beyond any typed length
}

// Every box reads by one rule: a comma is the decimal point; what is not a
// plain decimal number is not a number.
TEST(ReadTypedNumber, OneRuleForEveryBox) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"1.3", 1.3},       {"1,3", 1.3},        {" 0,08 ", 0.08},   {"-2,5e1", -25.0}, {"+4", 4.0},
        {",5", 0.5},        {"1,", 1.0},         {"7", 7.0},         {"", std::nullopt}, {" ", std::nullopt},
        {"-", std::nullopt}, {".", std::nullopt}, {"1,2,3", std::nullopt}, {"1.2,3", std::nullopt},
        {"1 000", std::nullopt}, {"0x10", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt},
        {"1.3abc", std::nullopt}, {"1e999", std::numeric_limits<double>::infinity()},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadTypedNumber(c.text), c.value) << c.text;
}

TEST(FormatWD, WidthDecimalsAndTheCut) {
    EXPECT_EQ(FormatWD(1.5, 5, 3), "1.500");
    EXPECT_EQ(FormatWD(7.5, 4, 2), "7.50");
    EXPECT_EQ(FormatWD(0.5, 7, 3), "  0.500");
    EXPECT_EQ(FormatWD(1000000.0, 5, 3), "1000000.00");
    EXPECT_EQ(FormatWD(-3.4e38, 5, 3).size(), 10u);
}

} // namespace
} // namespace vx
