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
    };
    for (const auto& c : cases) EXPECT_EQ(TypedNumber(c.text), c.value) << c.text;
    EXPECT_EQ(TypedNumber(std::string(500, '9')), 0.0f); // beyond any typed length
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
