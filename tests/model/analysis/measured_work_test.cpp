// The work of a measured engine: the textbook card (admission at 0 %,
// release at 100 %, no compression, n = 1) gives the classic mean pressure
// MEP = p1 (k + (k + c) ln((1 + c) / (k + c))) - pb, checked against a few
// rows of the table of mean pressure factors worked by hand; an end whose
// events are not all measured is named and has no card.
#include <gtest/gtest.h>

#include <vector>

#include "model/analysis/measured_work.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

Measurement Row(double offset, bool rear, MeasuredEvent e, double percent) {
    Measurement m;
    m.offset = offset;
    m.rear = rear;
    m.event = e;
    m.unit = MeasureUnit::Percent;
    m.value = percent;
    return m;
}

TEST(MeasuredWork, TextbookCardsGiveTheTableOfMeanPressureFactors) {
    const auto g = test::StartedDesign();
    // Cut-off k and clearance c; the factor k + (k + c) ln((1 + c) / (k + c)),
    // worked by hand: e.g. k = 1/4, c = 0: 0.25 (1 + ln 4) = 0.25 x 2.386294 = 0.596574.
    struct Row {
        double k, c, factor;
    };
    const Row table[] = {
        {0.25, 0.00, 0.596574}, {0.50, 0.00, 0.846574}, {0.75, 0.00, 0.965762},
        {0.25, 0.08, 0.641256}, {0.50, 0.08, 0.860579}, {0.25, 0.10, 0.650796},
    };
    for (const auto& row : table) {
        WorkSettings s;
        s.admissionPressure = 200;
        s.backPressure = 18;
        s.clearance = static_cast<float>(row.c);
        s.exponent = 1;
        std::vector<Measurement> rows;
        for (const bool rear : {false, true}) {
            rows.push_back(vx::Row(-1, rear, MeasuredEvent::Admission, 0));
            rows.push_back(vx::Row(-1, rear, MeasuredEvent::CutOff, 100 * row.k));
            rows.push_back(vx::Row(-1, rear, MeasuredEvent::Release, 100));
            rows.push_back(vx::Row(-1, rear, MeasuredEvent::Compression, 0));
        }
        const auto w = MeasuredWork(*g, rows, s);
        ASSERT_EQ(w.size(), 1u);
        EXPECT_EQ(w[0].missing, "");
        for (const bool rear : {false, true}) {
            const IndicatorCard& card = w[0].work.End(rear);
            ASSERT_TRUE(card.hasCard) << row.k << " " << row.c;
            EXPECT_NEAR(card.mep, 200 * row.factor - 18, 2e-3) << "k " << row.k << ", c " << row.c;
        }
    }
}

TEST(MeasuredWork, AnEndNotFullyMeasuredIsNamedNotGuessed) {
    const auto g = test::StartedDesign();
    std::vector<Measurement> rows = {
        Row(-0.5, false, MeasuredEvent::Admission, 0.4), Row(-0.5, false, MeasuredEvent::CutOff, 42.5),
        Row(-0.5, false, MeasuredEvent::Release, 79.4),  Row(-0.5, false, MeasuredEvent::Compression, 23.8),
        Row(-0.5, true, MeasuredEvent::CutOff, 33.4),    Row(0.5, true, MeasuredEvent::Release, 70),
    };
    // A crosshead distance counts as its percentage of the stroke.
    rows[4].unit = MeasureUnit::Length;
    rows[4].value = 0.334 * g->frame.stroke;
    const auto w = MeasuredWork(*g, rows, WorkSettings{});
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].missing, "rear admission, rear release, rear compression");
    EXPECT_TRUE(w[0].work.front.hasCard);
    EXPECT_FALSE(w[0].work.rear.hasCard);
    EXPECT_NEAR(*w[0].events.rear.cutOff, 33.4, 1e-4);
    EXPECT_TRUE(w[0].events.forward);
    EXPECT_FALSE(w[1].events.forward); // above mid gear: reverse
    EXPECT_FALSE(w[1].work.front.hasCard);
}

} // namespace
} // namespace vx
