// The paper of a printout: Letter only for a paper 8.5 inches wide.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/paper_size.h"

namespace vx {
namespace {

TEST(PaperSize, LetterOnlyForItsWidth) {
    EXPECT_EQ(PaperOfWidth(216), Paper::Letter);
    for (const int mm : {210, 0, -1, 297, 215, 217}) EXPECT_EQ(PaperOfWidth(mm), Paper::A4) << mm;
    EXPECT_EQ(SizeOf(Paper::A4).width, 794);
    EXPECT_EQ(SizeOf(Paper::A4).height, 1123);
    EXPECT_EQ(SizeOf(Paper::Letter).width, 816);
    EXPECT_EQ(SizeOf(Paper::Letter).height, 1056);
}

TEST(PaperSize, TheCLocalesPaperIsA4) {
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old ? old : "";
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(LocalePaper(), Paper::A4);
    if (old) setenv("LC_ALL", saved.c_str(), 1);
    else unsetenv("LC_ALL");
}

} // namespace
} // namespace vx
