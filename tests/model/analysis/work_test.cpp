// The work of the cylinder ends: each card's MEP against the card integrated
// by hand, the named degenerate cases, the refused settings, and the figures
// of the default design at full forward.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/analysis/valve_events.h"
#include "model/analysis/work.h"
#include "model/analysis/work_text.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

// The card as the textbook draws it, worked independently of the program:
// the pressure of each stroke from its pieces, integrated numerically.
struct HandCard {
    double a, k, r, p; // fractions of the stroke
    double p1, pb, c, n;

    double Outward(double x) const {
        if (k < r) { // admission, expansion, release
            if (x <= k) return p1;
            if (x <= r) return p1 * std::pow((c + k) / (c + x), n);
            const double pr = p1 * std::pow((c + k) / (c + r), n);
            return pr + (pb - pr) * (x - r) / (1 - r);
        }
        if (x <= r) return p1; // no expansion: admission up to release
        return p1 + (pb - p1) * (x - r) / (1 - r);
    }
    double Return(double x) const {
        if (p > a) { // exhaust, compression, pre-admission
            if (x >= p) return pb;
            if (x >= a) return pb * std::pow((c + p) / (c + x), n);
            const double pa = pb * std::pow((c + p) / (c + a), n);
            return p1 + (pa - p1) * x / a;
        }
        if (x >= a) return pb; // no compression: exhaust down to admission
        return p1 + (pb - p1) * x / a;
    }
    // Simpson's rule on each smooth piece.
    template <class P>
    static double Integrate(P f, std::vector<double> cuts) {
        double sum = 0;
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            const double lo = cuts[i], hi = cuts[i + 1];
            if (!(hi > lo)) continue;
            constexpr int kN = 2000;
            const double h = (hi - lo) / kN;
            double s = f(lo + 1e-15) + f(hi - 1e-15);
            for (int j = 1; j < kN; ++j) s += (j % 2 ? 4 : 2) * f(lo + j * h);
            sum += s * h / 3;
        }
        return sum;
    }
    double Mep() const {
        const double out = Integrate([this](double x) { return Outward(x); }, {0, std::min(k, r), std::max(k, r), 1});
        const double ret = Integrate([this](double x) { return Return(x); }, {0, std::min(a, p), std::max(a, p), 1});
        return out - ret;
    }
    double Steam() const { return (c + k) - pb / p1 * (c + p); }
};

// Front end, running forward: admission before dead centre, cut-off and
// release on the outward stroke, compression on the return.
EndEvents FrontEvents(double a, double k, double r, double p) {
    EndEvents e;
    e.admission = static_cast<float>(a * 100);
    e.cutOff = static_cast<float>(k * 100);
    e.release = static_cast<float>(r * 100);
    e.compression = static_cast<float>(p * 100);
    e.admissionAngle = 355.0f;
    e.cutOffAngle = 90.0f;
    e.releaseAngle = 160.0f;
    e.compressionAngle = 300.0f;
    return e;
}

WorkSettings Settings(double p1, double pb, double c, double n) {
    WorkSettings s;
    s.admissionPressure = static_cast<float>(p1);
    s.backPressure = static_cast<float>(pb);
    s.clearance = static_cast<float>(c);
    s.exponent = static_cast<float>(n);
    return s;
}

struct CardCaseRow {
    const char* name;
    double a, k, r, p;
    double p1, pb, c, n;
    std::uint32_t cases;
};

TEST(WorkCard, MepAndSteamAgreeWithTheCardWorkedByHand) {
    static const CardCaseRow kRows[] = {
        {"hyperbolic", 0.01, 0.25, 0.8, 0.2, 200, 18, 0.08, 1.0, 0},
        {"n 1.3", 0.01, 0.25, 0.8, 0.2, 200, 18, 0.08, 1.3, 0},
        {"n 0.7", 0.02, 0.6, 0.9, 0.1, 150, 15, 0.1, 0.7, 0},
        {"long cut-off", 0.005, 0.85, 0.95, 0.05, 220, 20, 0.07, 1.0, 0},
        {"no clearance", 0.01, 0.3, 0.85, 0.2, 200, 18, 0.0, 1.2, 0},
        {"cut-off at dead centre", 0.01, 0.0, 0.8, 0.2, 200, 18, 0.08, 1.0, 0},
        {"release at the end", 0.01, 0.3, 1.0, 0.2, 200, 18, 0.08, 1.0, 0},
        {"no expansion (r = k)", 0.01, 0.5, 0.5, 0.2, 200, 18, 0.08, 1.0, kCardNoExpansion},
        {"no expansion (r < k)", 0.01, 0.7, 0.6, 0.2, 200, 18, 0.08, 1.3, kCardNoExpansion},
        {"no compression (p = a)", 0.05, 0.3, 0.8, 0.05, 200, 18, 0.08, 1.0, kCardNoCompression},
        {"no compression (p < a)", 0.06, 0.3, 0.8, 0.02, 200, 18, 0.08, 1.3, kCardNoCompression},
        {"both", 0.06, 0.7, 0.6, 0.02, 200, 18, 0.08, 1.0, kCardNoExpansion | kCardNoCompression},
    };
    for (const CardCaseRow& row : kRows) {
        SCOPED_TRACE(row.name);
        const WorkSettings s = Settings(row.p1, row.pb, row.c, row.n);
        ASSERT_EQ(CheckWorkSettings(s), "");
        const EndEvents e = FrontEvents(row.a, row.k, row.r, row.p);
        const IndicatorCard card = ComputeIndicatorCard(e, false, true, s);
        ASSERT_TRUE(card.hasCard);
        EXPECT_EQ(card.cases & ~kCardNoWork, row.cases) << CardCasesText(card.cases);
        // The hand card from the events as stored (floats).
        const HandCard hand{*e.admission / 100.0, *e.cutOff / 100.0, *e.release / 100.0, *e.compression / 100.0,
                            s.admissionPressure, s.backPressure, s.clearance, s.exponent};
        const double mep = hand.Mep();
        EXPECT_NEAR(card.mep, mep, 1e-5 * std::fabs(mep) + 1e-4);
        EXPECT_NEAR(card.mepRatio, mep / row.p1, 1e-5);
        EXPECT_NEAR(card.steamPerStroke, hand.Steam(), 1e-6);
        ASSERT_EQ(card.steamPerWork.has_value(), mep > 0);
        if (mep > 0) {
            EXPECT_NEAR(*card.steamPerWork, hand.Steam() * row.p1 / mep, 1e-4 * *card.steamPerWork);
        }
        // The drawn pressures are the hand card's.
        for (double x = 0.0; x <= 1.0; x += 0.0625) {
            EXPECT_NEAR(CardPressure(card, s, true, static_cast<float>(x)), hand.Outward(x), 1e-3) << x;
            if (x > 0) {
                EXPECT_NEAR(CardPressure(card, s, false, static_cast<float>(x)), hand.Return(x), 1e-3) << x;
            }
        }
    }
}

TEST(WorkCard, MissingEventGivesNoCardAndNoNumbers) {
    const WorkSettings s;
    for (int missing = 0; missing < 4; ++missing) {
        SCOPED_TRACE(missing);
        EndEvents e = FrontEvents(0.01, 0.25, 0.8, 0.2);
        std::optional<double>* ev[] = {&e.admission, &e.cutOff, &e.release, &e.compression};
        ev[missing]->reset();
        const IndicatorCard card = ComputeIndicatorCard(e, false, true, s);
        EXPECT_FALSE(card.hasCard);
        EXPECT_TRUE(card.Has(kCardMissingEvent));
        EXPECT_EQ(card.mep, 0.0f);
        EXPECT_FALSE(card.steamPerWork);
        EXPECT_EQ(CardPressure(card, s, true, 0.5f), 0.0f);
        // Both ends missing one: no tractive effort, empty CSV figures.
        PositionEvents pe;
        pe.front = e;
        pe.rear = e;
        const PositionWork w = ComputeWork(pe, s, {2.125f, 3.25f, 7.0f});
        EXPECT_FALSE(w.tractiveEffort);
        const std::string csv = WorkCsv(std::span(&w, 1), std::span(&pe, 1));
        EXPECT_NE(csv.find(",,,,,\n"), std::string::npos) << csv;
        EXPECT_EQ(csv.find("nan"), std::string::npos);
    }
}

TEST(WorkCard, EventsBeyondADeadCentreAreTakenAtIt) {
    const WorkSettings s;
    struct Row {
        const char* name;
        float adm, cut, rel, comp; // crank angles of the front end, running forward
        std::uint32_t cases;
        float a, k, r, p;          // the fractions the card uses
    };
    static const Row kRows[] = {
        {"negative lead", 5, 90, 160, 300, kCardLateAdmission, 0, 0.25f, 0.8f, 0.2f},
        {"cut-off past the far dead centre", 355, 190, 160, 300, kCardLateCutOff | kCardNoExpansion, 0.01f, 1, 0.8f,
         0.2f},
        {"release past the far dead centre", 355, 90, 185, 300, kCardLateRelease, 0.01f, 0.25f, 1, 0.2f},
        {"compression before the far dead centre", 355, 90, 160, 170, kCardEarlyCompression, 0.01f, 0.25f, 0.8f, 1},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        EndEvents e = FrontEvents(0.01, 0.25, 0.8, 0.2);
        e.admissionAngle = row.adm;
        e.cutOffAngle = row.cut;
        e.releaseAngle = row.rel;
        e.compressionAngle = row.comp;
        const IndicatorCard card = ComputeIndicatorCard(e, false, true, s);
        ASSERT_TRUE(card.hasCard);
        EXPECT_EQ(card.cases & ~kCardNoWork, row.cases) << CardCasesText(card.cases);
        EXPECT_FLOAT_EQ(card.admission, row.a);
        EXPECT_FLOAT_EQ(card.cutOff, row.k);
        EXPECT_FLOAT_EQ(card.release, row.r);
        EXPECT_FLOAT_EQ(card.compression, row.p);
        EXPECT_TRUE(std::isfinite(card.mep));
    }
    // The same angles mirrored: the rear end (dead centre at 180) in reverse.
    EndEvents e = FrontEvents(0.01, 0.25, 0.8, 0.2);
    e.admissionAngle = 185.0f; // 5 degrees before 180 running in reverse
    e.cutOffAngle = 90.0f;
    e.releaseAngle = 20.0f;
    e.compressionAngle = 240.0f;
    const IndicatorCard rear = ComputeIndicatorCard(e, true, false, s);
    EXPECT_EQ(rear.cases & ~kCardNoWork, 0u) << CardCasesText(rear.cases);
    const IndicatorCard wrong = ComputeIndicatorCard(e, true, true, s);
    EXPECT_NE(wrong.cases, 0u);
}

TEST(WorkCard, CompressionIntoNoVolumeHasNoFiguresAndNoPositiveWorkNoSteamPerWork) {
    // No clearance and admission taken at dead centre: the cushion is
    // squeezed into nothing.
    EndEvents e = FrontEvents(0.01, 0.25, 0.8, 0.2);
    e.admissionAngle = 5.0f;
    const IndicatorCard card = ComputeIndicatorCard(e, false, true, Settings(200, 18, 0, 1.3));
    EXPECT_FALSE(card.hasCard);
    EXPECT_TRUE(card.Has(kCardUnbounded));
    EXPECT_EQ(card.mep, 0.0f);
    // A huge exponent over a small clearance: beyond any float.
    const IndicatorCard huge = ComputeIndicatorCard(FrontEvents(0.0001, 0.25, 0.8, 0.9), false, true,
                                                    Settings(1e7, 1e6, 0.0001, 10));
    EXPECT_TRUE(huge.Has(kCardUnbounded));
    EXPECT_FALSE(huge.hasCard);

    // Early cut-off against a late, strong compression: the card does no work.
    const IndicatorCard none = ComputeIndicatorCard(FrontEvents(0.01, 0.02, 0.3, 0.9), false, true, Settings(200, 100, 0.08, 1));
    ASSERT_TRUE(none.hasCard);
    EXPECT_LE(none.mep, 0.0f);
    EXPECT_TRUE(none.Has(kCardNoWork));
    EXPECT_FALSE(none.steamPerWork);
}

TEST(WorkCard, ExtremeButValidSettingsGiveFiniteFiguresOrANamedCase) {
    const WorkSettings settings[] = {
        Settings(kMaxWorkPressure, 0, 0, 0.01), Settings(kMaxWorkPressure, 0, kMaxWorkClearance, kMaxWorkExponent),
        Settings(1e-30, 0, 0, 1), Settings(200, 199.99, 1e-30, 1e-6), Settings(200, 18, 0, kMaxWorkExponent),
    };
    const double fractions[] = {0, 1e-7, 0.01, 0.5, 0.99, 1};
    for (const WorkSettings& s : settings) {
        ASSERT_EQ(CheckWorkSettings(s), "");
        for (const double a : fractions)
            for (const double k : fractions)
                for (const double p : fractions) {
                    const IndicatorCard c = ComputeIndicatorCard(FrontEvents(a, k, 0.9, p), false, true, s);
                    if (!c.hasCard) {
                        EXPECT_TRUE(c.Has(kCardUnbounded));
                        continue;
                    }
                    for (const float v : {c.mep, c.mepRatio, c.steamPerStroke, c.releasePressure,
                                          c.compressionPressure, c.outwardIntegral, c.returnIntegral})
                        EXPECT_TRUE(std::isfinite(v)) << a << ' ' << k << ' ' << p;
                    if (c.steamPerWork) {
                        EXPECT_TRUE(std::isfinite(*c.steamPerWork));
                    }
                    for (double x = 0; x <= 1; x += 0.125) {
                        EXPECT_TRUE(std::isfinite(CardPressure(c, s, true, static_cast<float>(x))));
                        EXPECT_TRUE(std::isfinite(CardPressure(c, s, false, static_cast<float>(x))));
                    }
                }
    }
}

TEST(WorkSettingsCheck, RefusesEachBadSettingByName) {
    struct Row {
        const char* name;
        WorkSettings s;
        const char* names;
    };
    const float nan = std::nanf(""), inf = INFINITY;
    const Row kRows[] = {
        {"p1 = pb", Settings(18, 18, 0.08, 1), "admission pressure"},
        {"p1 < pb", Settings(10, 18, 0.08, 1), "admission pressure"},
        {"p1 NaN", Settings(nan, 18, 0.08, 1), "admission pressure"},
        {"p1 infinite", Settings(inf, 18, 0.08, 1), "admission pressure"},
        {"p1 huge", Settings(1e20, 18, 0.08, 1), "admission pressure"},
        {"pb NaN", Settings(200, nan, 0.08, 1), "back pressure"},
        {"pb negative", Settings(200, -1, 0.08, 1), "back pressure"},
        {"pb infinite", Settings(200, -inf, 0.08, 1), "back pressure"},
        {"c negative", Settings(200, 18, -0.01, 1), "clearance"},
        {"c NaN", Settings(200, 18, nan, 1), "clearance"},
        {"c infinite", Settings(200, 18, inf, 1), "clearance"},
        {"n zero", Settings(200, 18, 0.08, 0), "exponent"},
        {"n negative", Settings(200, 18, 0.08, -1), "exponent"},
        {"n NaN", Settings(200, 18, 0.08, nan), "exponent"},
        {"n infinite", Settings(200, 18, 0.08, inf), "exponent"},
        {"cylinders 0", [] { WorkSettings s; s.cylinders = 0; return s; }(), "cylinders"},
        {"cylinders negative", [] { WorkSettings s; s.cylinders = -3; return s; }(), "cylinders"},
    };
    for (const Row& r : kRows) {
        const std::string m = CheckWorkSettings(r.s);
        EXPECT_NE(m.find(r.names), std::string::npos) << r.name << ": " << m;
    }
    EXPECT_EQ(CheckWorkSettings(WorkSettings{}), "");
    EXPECT_EQ(CheckWorkSettings(Settings(200, 0, 0, 1.3)), "");
}

// The default design at full forward (mid gear - 1): each end's MEP is the
// card integrated by hand from that end's events.
TEST_F(StartedGear, FullForwardMepIsTheCardWorkedByHand) {
    const float position = static_cast<float>(static_cast<double>(g.revArm.centre) - 1.0);
    const PositionEvents e = ComputeValveEvents(g, position);
    ASSERT_TRUE(e.Closes());
    const WorkSettings s;
    const PositionWork w = ComputeWork(e, s, WorkDimensionsOf(g));
    ASSERT_TRUE(w.HasCards());
    double meps[2];
    for (const bool rear : {false, true}) {
        SCOPED_TRACE(rear ? "rear" : "front");
        const EndEvents& x = e.End(rear);
        const IndicatorCard& c = w.End(rear);
        EXPECT_EQ(c.cases, 0u) << CardCasesText(c.cases);
        const HandCard hand{*x.admission / 100.0, *x.cutOff / 100.0, *x.release / 100.0, *x.compression / 100.0,
                            200, 18, 0.08, 1.0};
        const double mep = hand.Mep();
        meps[rear] = mep;
        EXPECT_GT(mep, 50);
        EXPECT_NEAR(c.mep, mep, 1e-4 * mep);
        EXPECT_NEAR(c.steamPerStroke, hand.Steam(), 1e-6);
    }
    // The whole engine: two cylinders, both ends, the design's bore, stroke
    // and driving wheel.
    const double d = g.cyl.boreDia(), stroke = g.frame.stroke, wheel = g.frame.driverDia;
    const double te = 2 * (meps[0] + meps[1]) * d * d * stroke / (4 * wheel);
    ASSERT_TRUE(w.tractiveEffort);
    EXPECT_NEAR(*w.tractiveEffort, te, 1e-4 * te);
}

TEST(WorkText, CsvColumnsAndTable) {
    PositionEvents pe;
    pe.position = 1.5f;
    pe.front = FrontEvents(0.01, 0.25, 0.8, 0.2);
    pe.rear = pe.front;
    pe.rear.admissionAngle = 175.0f;
    pe.rear.cutOffAngle = 270.0f;
    pe.rear.releaseAngle = 340.0f;
    pe.rear.compressionAngle = 120.0f;
    const PositionWork w = ComputeWork(pe, WorkSettings{}, {2.125f, 3.25f, 7.0f});
    const std::string csv = WorkCsv(std::span(&w, 1), std::span(&pe, 1));
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), kWorkCsvHeader);
    const std::string row = csv.substr(kWorkCsvHeader.size(), csv.find('\n', kWorkCsvHeader.size()) - kWorkCsvHeader.size());
    EXPECT_EQ(std::count(row.begin(), row.end(), ','), 11) << row;
    EXPECT_EQ(row.substr(0, 38), "1.500000,forward,front,1.0000,25.0000,") << row;
    std::string table;
    AppendWorkTable(table, w, 1.0f);
    EXPECT_NE(table.find("MEP"), std::string::npos);
    EXPECT_NE(table.find("front-rear"), std::string::npos);
    EXPECT_NE(table.find("tractive effort"), std::string::npos);
}

} // namespace
} // namespace vx

namespace vx {
namespace {

// The window's table: the listed positions that are notches are solved
// once and give the notches' figures; the others are solved on their own.
// On the classic solve, whose notches are the design's own.
TEST_F(StartedGear, WorkTableOfTheListAndTheNotches) {
    const auto notches = NotchPositions(g);
    g.revArm.position[1] = notches[2];
    g.revArm.position[2] = notches[2] + 0.01f;
    g.revArm.positionCount = 2;
    GearState scratch;
    WorkTable t;
    ComputeWorkTable(scratch, g, WorkSettings{}, t, SolveMode::Classic);
    ASSERT_EQ(t.List().size(), 2u);
    EXPECT_EQ(t.list[0].front.mep, t.notches[2].front.mep);
    const PositionWork own = ComputeWork(ComputeValveEvents(g, notches[2] + 0.01f, EventDirection::Auto, SolveMode::Classic), WorkSettings{}, WorkDimensionsOf(g));
    EXPECT_EQ(t.list[1].front.mep, own.front.mep);
    EXPECT_EQ(t.list[1].rear.mep, own.rear.mep);
    for (std::size_t i = 0; i < notches.size(); ++i) EXPECT_EQ(t.notches[i].position, notches[i]);
    g.revArm.positionCount = 99; // beyond the list: held to it
    ComputeWorkTable(scratch, g, WorkSettings{}, t, SolveMode::Classic);
    EXPECT_EQ(t.count, kRevArmPositions);
}

} // namespace
} // namespace vx

#include "model/analysis/balance.h"
#include "model/gear/dimensions.h"

namespace vx {
namespace {

// The balance's work weight prices the cards' MEP front minus rear, in
// points of p1, squared; its settings are checked when it weighs anything.
TEST_F(StartedGear, BalanceWorkWeightPricesTheMepDifference) {
    BalanceProblem p = DefaultBalanceProblem(g);
    p.vary.push_back(DefaultBalanceBound(g, 122));
    p.positions = {-0.5};
    p.weights = {0, 0, 0, 0, 1};
    ASSERT_EQ(CheckBalanceProblem(g, p), "");
    const BalanceEvaluation e = EvaluateBalance(g, p);
    ASSERT_EQ(e.positions.size(), 1u);
    const PositionWork w = ComputeWork(e.positions[0].events, p.workSettings, WorkDimensionsOf(g));
    ASSERT_TRUE(w.HasCards());
    const double d = 100.0 * (static_cast<double>(w.front.mep) - w.rear.mep) / 200.0;
    EXPECT_NEAR(e.objective, d * d, 1e-3 * d * d);
    EXPECT_GT(e.objective, 1.0); // the default design's ends differ at half gear
    EXPECT_NEAR(e.worstMepDifference, std::fabs(static_cast<double>(w.front.mep) - w.rear.mep), 1e-3);

    p.workSettings.clearance = -1;
    EXPECT_NE(CheckBalanceProblem(g, p).find("work: the clearance"), std::string::npos);
    p.weights.work = 0;
    p.weights.cutOff = 1;
    EXPECT_EQ(CheckBalanceProblem(g, p), ""); // unweighed, the settings do not matter
    p.weights.work = -1;
    EXPECT_NE(CheckBalanceProblem(g, p), "");
    p.weights = {0, 0, 0, 0, 0};
    EXPECT_NE(CheckBalanceProblem(g, p).find("every weight is 0"), std::string::npos);
}

} // namespace
} // namespace vx
