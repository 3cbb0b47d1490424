// The number boxes' key filter, character by character.
#include <gtest/gtest.h>

#include "gui/editors/key_filter.h"

namespace vx {
namespace {

TEST(KeyFilter, TakesDigitsAndOneMinusAndOneDot) {
    const KeyRules editor{true, EnterKey::MovesToClose};
    const KeyRules angle{false, EnterKey::DefaultButton};
    const KeyRules positions{true, EnterKey::Discard};
    const struct {
        char32_t ch;
        const char* text;
        KeyRules rules;
        KeyVerdict verdict;
    } cases[] = {
        {U'7', "1.5", editor, KeyVerdict::Accept},      {8, "1.5", editor, KeyVerdict::Accept},
        {U'.', "1.5", editor, KeyVerdict::Discard},     {U'.', "15", editor, KeyVerdict::Accept},
        {U'-', "1-5", editor, KeyVerdict::Discard},     {U'-', "15", editor, KeyVerdict::Accept},
        {U'-', "15", angle, KeyVerdict::Discard},       {U'a', "", editor, KeyVerdict::Discard},
        {U'e', "1", editor, KeyVerdict::Discard},       {U'٣', "", editor, KeyVerdict::Discard},
        {13, "1", editor, KeyVerdict::Enter},           {13, "1", angle, KeyVerdict::PassOn},
        {13, "1", positions, KeyVerdict::Discard},      {U' ', "1", positions, KeyVerdict::Discard},
        // A comma is the decimal point under the same one-point rule.
        {U',', "7", editor, KeyVerdict::Accept},        {U',', "7.5", editor, KeyVerdict::Discard},
        {U',', "", angle, KeyVerdict::Accept},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterKey(c.ch, c.text, c.rules), c.verdict) << static_cast<unsigned>(c.ch) << " in " << c.text;
}

} // namespace
} // namespace vx
